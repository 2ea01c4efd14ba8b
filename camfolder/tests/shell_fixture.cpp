#include "shell_fixture.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cstdlib>
#include <cstring>

#include "child_process.h"
#include "unix_paths.h"
#include "window_text.h"

ComPtr<IShellFolder> BindCameraRoot() {
  PIDLIST_ABSOLUTE list = nullptr;
  if (FAILED(SHParseDisplayName(kCameraRootName, nullptr, &list, 0, nullptr))) return nullptr;
  const unique_cotaskmem owned(list);
  ComPtr<IShellFolder> desktop;
  ComPtr<IShellFolder> root;
  if (FAILED(SHGetDesktopFolder(&desktop)) || FAILED(desktop->BindToObject(list, nullptr, IID_PPV_ARGS(&root))))
    return nullptr;
  return root;
}

ComPtr<IShellFolder> BindChild(IShellFolder *parent, PCUITEMID_CHILD child) {
  ComPtr<IShellFolder> folder;
  if (!parent || FAILED(parent->BindToObject(child, nullptr, IID_PPV_ARGS(&folder)))) return nullptr;
  return folder;
}

ComPtr<IShellFolder> BindPath(IShellFolder *root, const std::vector<std::string> &names) {
  ComPtr<IShellFolder> folder = root;
  for (const std::string &name : names) {
    const Child child = Find(folder.Get(), name);
    if (!child.list) return nullptr;
    folder = BindChild(folder.Get(), child.get());
  }
  return folder;
}

std::vector<Child> Enumerate(IShellFolder *folder, SHCONTF flags) {
  std::vector<Child> children;
  ComPtr<IEnumIDList> items;
  if (!folder || folder->EnumObjects(nullptr, flags, &items) != S_OK) return children;
  for (;;) {
    PITEMID_CHILD list = nullptr;
    if (items->Next(1, &list, nullptr) != S_OK) break;
    Child child{unique_cotaskmem(list), ""};
    child.name = NameOf(folder, list, SHGDN_INFOLDER);
    children.push_back(std::move(child));
  }
  return children;
}

Child Find(IShellFolder *folder, const std::string &name) {
  for (Child &child : Enumerate(folder))
    if (child.name == name || NameOf(folder, child.get(), SHGDN_FORPARSING | SHGDN_INFOLDER) == name)
      return std::move(child);
  return Child{};
}

std::string NameOf(IShellFolder *folder, PCUITEMID_CHILD child, SHGDNF flags) {
  STRRET name{};
  const HRESULT hr = folder->GetDisplayNameOf(child, flags, &name);
  char text[MAX_PATH] = "";
  if (FAILED(hr) || FAILED(StrRetToBufA(&name, child, text, sizeof text))) {
    char error[32];
    std::snprintf(error, sizeof error, "error 0x%08lX", static_cast<unsigned long>(hr));
    return error;
  }
  return text;
}

std::vector<uint8_t> ListBytes(PCUITEMID_CHILD child) {
  const auto *bytes = reinterpret_cast<const uint8_t *>(child);
  return std::vector<uint8_t>(bytes, bytes + ILGetSize(child));
}

unique_cotaskmem TaskCopy(const std::vector<uint8_t> &bytes) {
  void *copy = CoTaskMemAlloc(bytes.size());
  std::memcpy(copy, bytes.data(), bytes.size());
  return unique_cotaskmem(copy);
}

std::string CameraFolderString(unsigned id) {
  const wchar_t *stored = nullptr;
  const int length = LoadStringW(GetModuleHandleA("camfolder.dll"), id, reinterpret_cast<LPWSTR>(&stored), 0);
  return length > 0 && stored ? Utf8(std::wstring_view(stored, static_cast<size_t>(length))) : std::string();
}

std::string Ansi(const char *utf8) {
  wchar_t wide[1024];
  char ansi[2048];
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 1024);
  WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr);
  return ansi;
}

bool JapaneseSystem() { return GetACP() == 932; }

DWORD RunProgram(const std::string &commandLine, DWORD timeoutMs) {
  ChildProcess program(commandLine);
  return program.Wait(timeoutMs);
}

void ScreenshotForReview(HWND window, const std::string &name) {
  const char *folder = std::getenv("LUMO_SCREENSHOT_DIR");
  if (!folder || !*folder) return;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(500);
  // RunShell returns when the picture is taken, so the window stays as it was until then.
  RunShell("import -window root '" + std::string(folder) + "/" + name + ".png'");
}

std::string LocalWorkingFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + "Lumo";
}

void CloseLinkHosts(const std::string &address) {
  const std::string title = "ZL1_ZLtpProxyServer - " + address;
  for (HWND host = nullptr;
       (host = FindWindowExA(nullptr, host, "ZL1_ZLtpProxyServer", address.empty() ? nullptr : title.c_str()));)
    PostMessageA(host, WM_CLOSE, 0, 0);
}

CameraCard::CameraCard()
    : folder_("/tmp/lumo-camfolder-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount())) {
  MakeFolder("");
}

CameraCard::~CameraCard() { RunShell("rm -rf " + folder_); }

std::string CameraCard::Windows(const std::string &sub) const { return WindowsPath(folder_ + sub); }

void CameraCard::MakeFolder(const std::string &sub) const { CreateDirectoryA(Windows(sub).c_str(), nullptr); }

void CameraCard::MakeFile(const std::string &sub, const std::string &bytes) const {
  WriteFileBytes(Windows(sub), bytes);
}

void MarkDropMade(IDataObject *data) {
  const CLIPFORMAT dragLoop = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("InShellDragLoop"));
  FORMATETC loop{dragLoop, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM zero{};
  zero.tymed = TYMED_HGLOBAL;
  zero.hGlobal = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4);
  if (FAILED(data->SetData(&loop, &zero, TRUE))) GlobalFree(zero.hGlobal);
}

std::vector<std::string> HandedOutFiles(IDataObject *data, HRESULT *result) {
  FORMATETC hdrop{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  const HRESULT hr = data->GetData(&hdrop, &medium);
  if (result) *result = hr;
  std::vector<std::string> files;
  if (FAILED(hr)) return files;
  const auto drop = static_cast<HDROP>(medium.hGlobal);
  for (UINT i = 0, count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0); i < count; ++i) {
    char path[MAX_PATH] = "";
    DragQueryFileA(drop, i, path, MAX_PATH);
    files.push_back(path);
  }
  ReleaseStgMedium(&medium);
  return files;
}

std::string ReadRawFile(const std::string &windowsPath) {
  const unique_file file(CreateFileA(("\\\\?\\" + windowsPath).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (file && ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  return bytes;
}

void CameraCard::MakeExactFile(const std::string &sub, const std::string &bytes) const {
  MakeFile("/exact.tmp", bytes);
  RunShell("mv '" + Unix("/exact.tmp") + "' '" + Unix(sub) + "'");
}

std::string Pattern(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + seed * 7 + (i >> 8)) & 0xFF);
  return bytes;
}

ComPtr<IDataObject> PcFilesObject(const std::string &folder, const std::vector<std::string> &names) {
  const auto wide = [](const std::string &text) {
    std::wstring result(text.size() + 1, L'\0');
    result.resize(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, result.data(), static_cast<int>(result.size())) - 1);
    return result;
  };
  ComPtr<IShellFolder> desktop, shellFolder;
  PIDLIST_RELATIVE folderList = nullptr;
  std::wstring path = wide(folder);
  if (FAILED(SHGetDesktopFolder(&desktop)) ||
      FAILED(desktop->ParseDisplayName(nullptr, nullptr, path.data(), nullptr, &folderList, nullptr)))
    return nullptr;
  const unique_cotaskmem owned(folderList);
  if (FAILED(desktop->BindToObject(folderList, nullptr, IID_PPV_ARGS(&shellFolder)))) return nullptr;
  std::vector<unique_cotaskmem> children;
  std::vector<PCUITEMID_CHILD> lists;
  for (const std::string &name : names) {
    PIDLIST_RELATIVE child = nullptr;
    std::wstring wideName = wide(name);
    if (FAILED(shellFolder->ParseDisplayName(nullptr, nullptr, wideName.data(), nullptr, &child, nullptr)))
      return nullptr;
    children.emplace_back(child);
    lists.push_back(static_cast<PCUITEMID_CHILD>(child));
  }
  ComPtr<IDataObject> data;
  if (FAILED(shellFolder->GetUIObjectOf(nullptr, UINT(lists.size()), lists.data(), IID_IDataObject, nullptr, &data)))
    return nullptr;
  return data;
}
