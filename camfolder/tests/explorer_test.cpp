// The camera folder in Wine's own explorer: started on a folder whose
// desktop.ini names the camera folder, browsed by double clicks from the
// drives into a picture folder, its list read from the explorer process.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "camapi.h"
#include "child_process.h"
#include "shell_fixture.h"
#include "win_raii.h"

namespace {

// A list view of another process, read through a block of that process's
// memory (its messages take pointers into the address space of the list).
class RemoteList {
 public:
  explicit RemoteList(HWND list) : list_(list) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    process_.reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    if (process_) block_ = VirtualAllocEx(process_.get(), nullptr, kBlockSize, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteList() {
    if (block_) VirtualFreeEx(process_.get(), block_, 0, MEM_RELEASE);
  }
  RemoteList(const RemoteList &) = delete;
  RemoteList &operator=(const RemoteList &) = delete;

  std::vector<std::string> Names() {
    std::vector<std::string> names;
    if (!block_) return names;
    const int count = static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
    char *remoteText = static_cast<char *>(block_) + kTextOffset;
    for (int i = 0; i < count; ++i) {
      LVITEMA item{};
      item.iSubItem = 0;
      item.pszText = remoteText;
      item.cchTextMax = kTextSize;
      char text[kTextSize] = "";
      if (!WriteProcessMemory(process_.get(), block_, &item, sizeof item, nullptr)) break;
      SendMessageA(list_, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(block_));
      if (!ReadProcessMemory(process_.get(), remoteText, text, sizeof text - 1, nullptr)) break;
      names.emplace_back(text);
    }
    return names;
  }

  RECT LabelRect(int row) {
    RECT box{};
    box.left = LVIR_LABEL;
    if (!block_ || !WriteProcessMemory(process_.get(), block_, &box, sizeof box, nullptr)) return box;
    SendMessageA(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(block_));
    ReadProcessMemory(process_.get(), block_, &box, sizeof box, nullptr);
    return box;
  }

 private:
  static constexpr SIZE_T kBlockSize = 4096;
  static constexpr SIZE_T kTextOffset = 512;
  static constexpr int kTextSize = 260;

  HWND list_;
  unique_handle process_;
  void *block_ = nullptr;
};

struct Search {
  DWORD pid;
  HWND found;
};

// Our view's list in a window of the process: list view 1000 in a dialog.
HWND FindViewList(DWORD pid) {
  Search search{pid, nullptr};
  EnumWindows(
      [](HWND top, LPARAM context) -> BOOL {
        auto *search = reinterpret_cast<Search *>(context);
        DWORD owner = 0;
        GetWindowThreadProcessId(top, &owner);
        if (owner != search->pid) return TRUE;
        EnumChildWindows(
            top,
            [](HWND window, LPARAM context) -> BOOL {
              char name[32] = "";
              char parent[32] = "";
              GetClassNameA(window, name, sizeof name);
              GetClassNameA(GetParent(window), parent, sizeof parent);
              if (lstrcmpiA(name, "SysListView32") || GetDlgCtrlID(window) != 1000 || lstrcmpA(parent, "#32770"))
                return TRUE;
              reinterpret_cast<Search *>(context)->found = window;
              return FALSE;
            },
            context);
        return search->found ? FALSE : TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Waits for the view to list a row with the name; its list, or null.
HWND WaitForRow(DWORD pid, const std::string &name, std::vector<std::string> *names = nullptr) {
  for (int i = 0; i < 400; ++i) {
    if (HWND list = FindViewList(pid)) {
      RemoteList remote(list);
      const auto shown = remote.Names();
      if (std::find(shown.begin(), shown.end(), name) != shown.end()) {
        if (names) *names = shown;
        return list;
      }
    }
    Sleep(50);
  }
  return nullptr;
}

// A double click on the row, after clicks until it is selected (a list just
// made may still be filled and lose an early click).
void OpenRow(HWND list, const std::string &name) {
  RemoteList remote(list);
  const auto names = remote.Names();
  const int row = static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
  const RECT box = remote.LabelRect(row);
  const LPARAM at = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  for (int i = 0; i < 40 && !SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_SELECTED); ++i) {
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    Sleep(100);
  }
  PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
}

bool ExtensionsShown() {
  SHELLFLAGSTATE state{};
  SHGetSettings(&state, SSF_SHOWEXTENSIONS);
  return state.fShowExtensions;
}

TEST(Explorer, BrowsesTheCameraFromItsDrivesIntoAPictureFolder) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  ASSERT_EQ(RunProgram("camreg.exe install"), 0u);
  CameraCard card;
  for (const char *folder : {"/d0", "/d0/DCIM", "/d0/DCIM/100LUMO1", "/d0/DCIM/100LUMO1/SUBA", "/d0/MISC", "/d1"})
    card.MakeFolder(folder);
  card.MakeFile("/d0/DCIM/100LUMO1/R0010001.JPG", std::string(3000, 'p'));
  card.MakeFile("/d0/DCIM/100LUMO1/R0010002.JPG", std::string(4000, 'q'));
  card.MakeFile("/d0/DCIM/100LUMO1/MEMO.TXT", "memo");
  CamsimProcess camsim;
  const std::string address = CamsimProcess::NextAddress();
  std::string error;
  ASSERT_TRUE(camsim.Start(address, {"--drive", "0=" + card.Unix("/d0"), "--drive", "1=" + card.Unix("/d1")}, error))
      << error;
  ASSERT_EQ(ZlxSetConnectionInfo("LAN", address.c_str()), 0u);

  // The folder explorer opens: its desktop.ini makes it the camera folder.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string junction = std::string(temp) + "LumoExplorer";
  CreateDirectoryA(junction.c_str(), nullptr);
  {
    unique_file ini(CreateFileA((junction + "\\desktop.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(ini);
    const char text[] = "[.ShellClassInfo]\r\nCLSID={5B7C0E21-4A93-4D6B-8F12-3C9A7E4D2B60}\r\n";
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(ini.get(), text, sizeof text - 1, &written, nullptr));
  }
  std::string line = "explorer.exe \"" + junction + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(StartProcess(line, FALSE, startup, started));
  CloseHandle(started.hThread);
  const unique_handle explorer(started.hProcess);
  const DWORD pid = started.dwProcessId;

  const std::string shown = ExtensionsShown() ? ".JPG" : "";
  std::vector<std::string> names;
  HWND list = WaitForRow(pid, "CF (1:)", &names);
  ASSERT_TRUE(list) << "no camera drives in explorer";
  ASSERT_EQ(names.size(), 2u);
  OpenRow(list, names[0]);
  list = WaitForRow(pid, "DCIM", &names);
  ASSERT_TRUE(list) << "drive 0 not opened";
  EXPECT_EQ(names, (std::vector<std::string>{"DCIM", "MISC"}));
  OpenRow(list, "DCIM");
  list = WaitForRow(pid, "100LUMO1");
  ASSERT_TRUE(list) << "DCIM not opened";
  OpenRow(list, "100LUMO1");
  list = WaitForRow(pid, "R0010001" + shown, &names);
  ASSERT_TRUE(list) << "the picture folder not opened";
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{ExtensionsShown() ? "MEMO.TXT" : "MEMO", "R0010001" + shown,
                                             "R0010002" + shown, "SUBA"}));
  ScreenshotForReview(GetAncestor(list, GA_ROOT), JapaneseSystem() ? "explorer-japanese" : "explorer");

  // Closed as a user closes it; whatever remains is ended.
  PostMessageA(GetAncestor(list, GA_ROOT), WM_CLOSE, 0, 0);
  if (WaitForSingleObject(explorer.get(), 10000) != WAIT_OBJECT_0) TerminateProcess(explorer.get(), 1);
  CloseLinkHosts();
  DeleteFileA((junction + "\\desktop.ini").c_str());
  RemoveDirectoryA(junction.c_str());
  RunProgram("camreg.exe uninstall");
  CoUninitialize();
}

}  // namespace
