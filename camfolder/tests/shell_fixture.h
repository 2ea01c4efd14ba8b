// The camera folder as the shell sees it: registered with camreg, bound
// through the desktop from its parsing name under My Computer, talking to a
// camsim started for the test.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <thread>
#include <vector>

#include "camsim_process.h"
#include "win_raii.h"

constexpr wchar_t kCameraRootName[] =
    L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\::{5B7C0E21-4A93-4D6B-8F12-3C9A7E4D2B60}";

// A child item of a folder with its names.
struct Child {
  unique_cotaskmem list;
  std::string name;     // SHGDN_INFOLDER
  PCUITEMID_CHILD get() const { return static_cast<PCUITEMID_CHILD>(list.get()); }
};

// The camera root folder, bound as the shell binds it.
ComPtr<IShellFolder> BindCameraRoot();
ComPtr<IShellFolder> BindChild(IShellFolder *parent, PCUITEMID_CHILD child);
// The folder reached from the root through the children with these names.
ComPtr<IShellFolder> BindPath(IShellFolder *root, const std::vector<std::string> &names);
std::vector<Child> Enumerate(IShellFolder *folder, SHCONTF flags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS);
// The child with this in-folder name or in-folder parsing name ("0:/",
// "DCIM/"); an empty list when there is none.
Child Find(IShellFolder *folder, const std::string &name);
// The display name, or the failure as text ("error 0x...").
std::string NameOf(IShellFolder *folder, PCUITEMID_CHILD child, SHGDNF flags);

// A copy of a one-item list (for crafting altered items).
std::vector<uint8_t> ListBytes(PCUITEMID_CHILD child);
// A task-memory copy of the bytes.
unique_cotaskmem TaskCopy(const std::vector<uint8_t> &bytes);

// A string of camfolder.dll's table as stored, in UTF-8.
std::string CameraFolderString(unsigned id);
// UTF-8 text in the ANSI code page (for comparing Japanese texts).
std::string Ansi(const char *utf8);
bool JapaneseSystem();

// Runs a program of the build's bin folder and returns its exit code, or
// STILL_ACTIVE when it has not ended within the time.
DWORD RunProgram(const std::string &commandLine, DWORD timeoutMs = 60000);

// With LUMO_SCREENSHOT_DIR set, the display as it is, into that folder as
// name.png, after the window has painted (for looking at dialogs).
void ScreenshotForReview(HWND window, const std::string &name);

// The camera folder's working folder ("...\Temp\Lumo").
std::string LocalWorkingFolder();

// Asks the link hosts to end: those of one camera address, or all.
void CloseLinkHosts(const std::string &address = "");

// Runs the body on a shell thread of its own: the camera folder opens a
// camera handle of its own there, from the settings of the moment.
template <typename Body>
void OnShellThread(Body &&body) {
  std::thread thread([&] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    body();
    CoUninitialize();
  });
  thread.join();
}

// The folders behind camsim's drives, made for a test and removed after it.
class CameraCard {
 public:
  CameraCard();
  ~CameraCard();
  std::string Unix(const std::string &sub) const { return folder_ + sub; }
  std::string Windows(const std::string &sub) const;
  void MakeFolder(const std::string &sub) const;
  void MakeFile(const std::string &sub, const std::string &bytes) const;
  // A file under exactly this name, made on the Unix side: Windows would
  // take "A.JPG" for an existing "a.jpg", drop a trailing dot, or open NUL.
  void MakeExactFile(const std::string &sub, const std::string &bytes) const;

 private:
  std::string folder_;
};

// Marks the drop as made ("InShellDragLoop" 0), as a drop source does
// before the target asks for files.
void MarkDropMade(IDataObject *data);
// The local paths the data object hands out as CF_HDROP; empty when it
// refuses them, with the result in `result` when asked for.
std::vector<std::string> HandedOutFiles(IDataObject *data, HRESULT *result = nullptr);

// The shell's data object of files in a PC folder, as a drag from it makes
// it; nullptr when one of them cannot be had.
ComPtr<IDataObject> PcFilesObject(const std::string &folder, const std::vector<std::string> &names);

// A file under a name that Windows would change (a trailing dot) or take
// for a device (NUL.JPG), read as it is ("\\?\" path).
std::string ReadRawFile(const std::string &windowsPath);

// Test data: a file body that differs byte by byte.
std::string Pattern(size_t size, unsigned seed);
