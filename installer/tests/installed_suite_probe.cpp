// installed_suite_probe: what the installer test asks of an installed suite
// from inside Windows, run from a folder of its own so that nothing of the
// build tree is loaded beside it.
//   walk                 browse the camera folder through the shell (the
//                        connection settings name camsim) and print what
//                        was seen and which files served it
//   shortcut LINK        print an advertised shortcut's target and icon
//   start PROGRAM        start it, print its first window's title, end it
//   versions FILE...     print each file's version resource
#include <windows.h>
#include <msi.h>
#include <psapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "child_process.h"
#include "shell_fixture.h"

namespace {

std::string ModulePath(const char *name) {
  char path[MAX_PATH] = "";
  const HMODULE module = GetModuleHandleA(name);
  if (module) GetModuleFileNameA(module, path, MAX_PATH);
  return module ? path : "(not loaded)";
}

std::string ProcessImage(DWORD processId) {
  char path[MAX_PATH] = "";
  DWORD size = MAX_PATH;
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return "(unknown)";
  QueryFullProcessImageNameA(process, 0, path, &size);
  CloseHandle(process);
  return path;
}

int Walk() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const ComPtr<IShellFolder> root = BindCameraRoot();
  if (!root) {
    std::printf("no camera root\n");
    return 1;
  }
  std::printf("camfolder: %s\ncamapi: %s\n", ModulePath("camfolder.dll").c_str(), ModulePath("camapi.dll").c_str());
  for (const Child &drive : Enumerate(root.Get())) std::printf("drive: %s\n", drive.name.c_str());
  const ComPtr<IShellFolder> pictures = BindPath(root.Get(), {"0:/", "DCIM/", "100LUMO01/"});
  for (const Child &item : Enumerate(pictures.Get())) std::printf("item: %s\n", item.name.c_str());
  const HWND host = FindWindowA("ZL1_ZLtpProxyServer", nullptr);
  if (host) {
    DWORD processId = 0;
    GetWindowThreadProcessId(host, &processId);
    std::printf("link host: %s\n", ProcessImage(processId).c_str());
  }
  CloseLinkHosts();
  return 0;
}

// A shortcut Windows Installer advertised names its product's component;
// Wine's names the file itself.
int Shortcut(const char *link) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ComPtr<IShellLinkA> shellLink;
  ComPtr<IPersistFile> file;
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, link, -1, wide, MAX_PATH);
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&shellLink))) ||
      FAILED(shellLink.As(&file)) || FAILED(file->Load(wide, STGM_READ))) {
    std::printf("cannot read %s\n", link);
    return 1;
  }
  char target[MAX_PATH] = "";
  char product[39] = "", feature[MAX_FEATURE_CHARS + 1] = "", component[39] = "";
  DWORD size = MAX_PATH;
  if (MsiGetShortcutTargetA(link, product, feature, component) == ERROR_SUCCESS)
    MsiGetComponentPathA(product, component, target, &size);
  else
    shellLink->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
  char icon[MAX_PATH] = "";
  int index = 0;
  shellLink->GetIconLocation(icon, MAX_PATH, &index);
  std::printf("target: %s\nicon: %s\n", target, icon);
  return 0;
}

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindShown(HWND window, LPARAM data) {
  auto *search = reinterpret_cast<WindowSearch *>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

int Start(const char *program) {
  std::string line = std::string("\"") + program + "\"";
  STARTUPINFOA startup{sizeof startup};
  PROCESS_INFORMATION process{};
  if (!StartProcess(line, FALSE, startup, process)) {
    std::printf("cannot start %s\n", program);
    return 1;
  }
  WindowSearch search{process.dwProcessId, nullptr};
  for (int i = 0; i < 600 && !search.found && WaitForSingleObject(process.hProcess, 100) == WAIT_TIMEOUT; ++i)
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
  char title[256] = "";
  if (search.found) GetWindowTextA(search.found, title, sizeof title);
  std::printf("window: %s\n", search.found ? title : "(none)");
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return search.found ? 0 : 1;
}

std::string VersionString(const std::vector<char> &block, const char *name) {
  char *value = nullptr;
  UINT length = 0;
  const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void **>(&value), &length) || !value) return "";
  return value;
}

int Versions(int count, char **files) {
  for (int i = 0; i < count; ++i) {
    const DWORD size = GetFileVersionInfoSizeA(files[i], nullptr);
    std::vector<char> block(size ? size : 1);
    if (!size || !GetFileVersionInfoA(files[i], 0, size, block.data())) {
      std::printf("%s: no version\n", files[i]);
      continue;
    }
    std::printf("%s: %s|%s|%s|%s|%s\n", files[i], VersionString(block, "CompanyName").c_str(),
                VersionString(block, "ProductName").c_str(), VersionString(block, "FileVersion").c_str(),
                VersionString(block, "ProductVersion").c_str(),
                VersionString(block, "FileDescription").empty() ? "" : "described");
  }
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc == 2 && std::strcmp(argv[1], "walk") == 0) return Walk();
  if (argc == 3 && std::strcmp(argv[1], "shortcut") == 0) return Shortcut(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "start") == 0) return Start(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "versions") == 0) return Versions(argc - 2, argv + 2);
  std::fprintf(stderr, "usage: installed_suite_probe walk | shortcut LINK | start PROGRAM | versions FILE...\n");
  return 2;
}
