// How the camera folder, the link host's dialog and camctl behave on cards
// of real sizes, run by hand (CI runs it at N = 20 as a smoke test):
//   cd build/win64/bin && ../../../scripts/wine-run ../wine ./camfolder_card_size_bench.exe [--all-sends] [N ...]
//
// For each N (default 100, 1000 and 9999) a camsim card holds a folder of N
// small pictures. Each figure is printed with its time per picture and its
// ratio to the baseline after the arrow, measured in the same run:
//   - the view's fill in a browser that hosts it as explorer does, in
//     details and in large icons → the shell's own enumeration of the folder
//     (EnumObjects, GetDisplayNameOf, GetAttributesOf);
//   - copy out through the data object (CF_HDROP) → camctl get;
//   - copy in, a drop of N PC files → camctl put (up to N = 1,000 unless
//     --all-sends);
//   - camctl get with the link host's dialog → without it;
//   - the folder's tree count (its property sheet) and its delete → the
//     enumeration.
// Then camctl get of one 50 MB file → the camera API's receive of it (what
// camapi_bench measures). Every copy is checked whole; the run fails when
// one is not.
#include <windows.h>
#include <shlobj.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "camapi.h"
#include "card_bench.h"
#include "message_box_watcher.h"
#include "sheets/tree_count.h"
#include "shell_fixture.h"
#include "test_browser.h"
#include "unix_paths.h"

namespace {

constexpr size_t kLargeFileSize = 50u << 20;
// Every send waits 300 ms before its body, as the camera requires: sending
// 9,999 pictures twice would take 100 minutes and show nothing new.
constexpr unsigned kLargestSend = 1000;

bool Gone(const std::string &windowsPath) { return GetFileAttributesA(windowsPath.c_str()) == INVALID_FILE_ATTRIBUTES; }

// A figure and the baseline it is compared with.
struct Figure {
  std::string what;
  double seconds;
  bool whole;
  const Figure *baseline;
};

void Print(const char *size, const Figure &figure, unsigned items) {
  if (figure.seconds < 0) {
    std::printf("%-7s %-34s skipped: 300 ms per picture sent (--all-sends)\n", size, figure.what.c_str());
    return;
  }
  std::printf("%-7s %-34s %8.2f s %9.3f ms/item", size, figure.what.c_str(), figure.seconds,
              1000 * figure.seconds / items);
  if (figure.baseline && figure.baseline->seconds > 0)
    std::printf(" %7.2f x %s", figure.seconds / figure.baseline->seconds, figure.baseline->what.c_str());
  std::printf("%s\n", figure.whole ? "" : "  NOT WHOLE");
  std::fflush(stdout);
}

// A folder of the camera by the names from its root ("0:/", "SRC/").
ComPtr<IShellFolder> CameraFolder(const std::vector<std::string> &names) {
  return BindPath(BindCameraRoot().Get(), names);
}

template <typename Interface>
ComPtr<Interface> ItemObject(IShellFolder *parent, std::vector<PCUITEMID_CHILD> items) {
  ComPtr<Interface> object;
  if (parent && !items.empty())
    parent->GetUIObjectOf(nullptr, static_cast<UINT>(items.size()), items.data(), __uuidof(Interface), nullptr,
                          reinterpret_cast<void **>(object.ReleaseAndGetAddressOf()));
  return object;
}

// The shell's enumeration of a folder, as a browser without a view of its
// own would walk it; the number of items it met.
unsigned ShellEnumeration(IShellFolder *folder) {
  ComPtr<IEnumIDList> items;
  if (!folder || folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &items) != S_OK) return 0;
  unsigned count = 0;
  for (PITEMID_CHILD child = nullptr; items->Next(1, &child, nullptr) == S_OK; ++count) {
    const unique_cotaskmem owned(child);
    STRRET name{};
    if (SUCCEEDED(folder->GetDisplayNameOf(child, SHGDN_INFOLDER, &name)) && name.uType == STRRET_WSTR)
      CoTaskMemFree(name.pOleStr);
    SFGAOF attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANMOVE;
    PCUITEMID_CHILD list = child;
    folder->GetAttributesOf(1, &list, &attributes);
  }
  return count;
}

// The view's fill in a browser window; whether it listed every item.
bool FillView(IShellFolder *folder, UINT mode, unsigned count) {
  TestBrowser browser({.statusBar = true});
  if (!browser.ShowView(folder, mode)) return false;
  const bool all = ListView_GetItemCount(browser.List()) == static_cast<int>(count);
  browser.CloseView();
  return all;
}

// A drop of the PC files onto a camera folder, as the shell makes it.
bool DropPcFiles(const std::string &pcFolder, unsigned count, IShellFolder *cameraParent, const std::string &onto) {
  std::vector<std::string> names;
  for (unsigned i = 1; i <= count; ++i) names.push_back(Name(i));
  const ComPtr<IDataObject> data = PcFilesObject(pcFolder, names);
  const Child target = Find(cameraParent, onto);
  const ComPtr<IDropTarget> drop = ItemObject<IDropTarget>(cameraParent, {target.get()});
  if (!data || !drop) return false;
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  drop->DragEnter(data.Get(), MK_LBUTTON, POINTL{1, 1}, &effect);
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  return drop->Drop(data.Get(), 0, POINTL{1, 1}, &effect) == S_OK && effect == DROPEFFECT_COPY;
}

// Runs camctl against the camera; whether it succeeded.
bool Camctl(const std::string &address, const std::string &arguments) {
  return RunProgram("camctl.exe --address " + address + " " + arguments, INFINITE) == 0;
}

bool RunSize(unsigned count, bool sends, const std::string &address, CameraCard &card) {
  for (const char *folder : {"/d0/SRC", "/d0/IN1", "/d0/IN2", "/up", "/pc", "/pc/get1", "/pc/get2"})
    card.MakeFolder(folder);
  for (unsigned i = 1; i <= count; ++i) {
    card.MakeFile("/d0/SRC/" + Name(i), Pattern(kPictureSize, i));
    card.MakeFile("/up/" + Name(i), Pattern(kPictureSize, i));
  }
  const std::vector<std::string> source = {"0:/", "SRC/"};
  const ComPtr<IShellFolder> drive = CameraFolder({"0:/"});
  const ComPtr<IShellFolder> pictures = CameraFolder(source);
  // One listing first, so no figure pays for starting the link host.
  unsigned listed = ShellEnumeration(pictures.Get());

  std::vector<Figure> figures;
  figures.reserve(16);
  figures.push_back({"shell enumeration", Seconds([&] { listed = ShellEnumeration(pictures.Get()); }),
                     listed == count, nullptr});
  const Figure *enumeration = &figures.back();
  bool ok = false;
  figures.push_back({"view fill, details", Seconds([&] { ok = FillView(pictures.Get(), FVM_DETAILS, count); }), ok,
                     enumeration});
  figures.push_back({"view fill, large icons", Seconds([&] { ok = FillView(pictures.Get(), FVM_ICON, count); }), ok,
                     enumeration});

  figures.push_back({"camctl get", Seconds([&] {
                       ok = Camctl(address, "get 0:/SRC/ " + card.Windows("/pc/get1"));
                     }),
                     ok && Whole(card.Windows("/pc/get1/SRC"), count), nullptr});
  const Figure *camctlGet = &figures.back();
  figures.push_back({"camctl get --progress", Seconds([&] {
                       ok = Camctl(address, "--progress get 0:/SRC/ " + card.Windows("/pc/get2"));
                     }),
                     ok && Whole(card.Windows("/pc/get2/SRC"), count), camctlGet});
  std::vector<std::string> fetched;
  figures.push_back({"copy out (CF_HDROP)", Seconds([&] {
                       const Child folder = Find(drive.Get(), "SRC/");
                       const ComPtr<IDataObject> data = ItemObject<IDataObject>(drive.Get(), {folder.get()});
                       if (!data) return;
                       MarkDropMade(data.Get());
                       fetched = HandedOutFiles(data.Get());
                     }),
                     fetched.size() == 1 && Whole(fetched.front(), count), camctlGet});

  if (!sends) {
    for (const char *what : {"camctl put", "copy in (drop of PC files)"}) figures.push_back({what, -1, true, nullptr});
    // The tree count and the delete take the pictures of the first copy in.
    card.MakeFolder("/d0/IN1/up");
    for (unsigned i = 1; i <= count; ++i) card.MakeFile("/d0/IN1/up/" + Name(i), Pattern(kPictureSize, i));
  } else {
  figures.push_back({"camctl put", Seconds([&] {
                       ok = Camctl(address, "put " + card.Windows("/up") + " 0:/IN1/");
                     }),
                     ok && Whole(card.Windows("/d0/IN1/up"), count), nullptr});
  const Figure *camctlPut = &figures.back();
  figures.push_back({"copy in (drop of PC files)",
                     Seconds([&] { ok = DropPcFiles(card.Windows("/up"), count, drive.Get(), "IN2/"); }),
                     ok && Whole(card.Windows("/d0/IN2"), count), camctlPut});
  }

  HZLXCAMERA camera = nullptr;
  tagZLXMODEL model{2, 0};
  tagZLXDIRINFO info{};
  TreeTotals totals;
  figures.push_back({"tree count (property sheet)", Seconds([&] {
                       ok = ZlxOpenCamera(&camera, &model, 1, 1, nullptr, address.c_str()) == 0 &&
                            camfolder::CountFolderTree(nullptr, camera, "0:/IN1/", info, totals) == S_OK;
                     }),
                     ok && totals.files == count && totals.size == count * kPictureSize, enumeration});
  if (camera) ZlxCloseCamera(camera);
  HRESULT deleted = E_FAIL;
  figures.push_back({"delete of the folder", Seconds([&] {
                       const Child folder = Find(drive.Get(), "IN1/");
                       const ComPtr<IContextMenu> menu = ItemObject<IContextMenu>(drive.Get(), {folder.get()});
                       if (!menu) return;
                       MessageBoxWatcher yes(IDYES);
                       CMINVOKECOMMANDINFO invoke{sizeof invoke};
                       invoke.lpVerb = "delete";
                       deleted = menu->InvokeCommand(&invoke);
                     }),
                     deleted == S_OK && Gone(card.Windows("/d0/IN1")), enumeration});

  char size[16];
  std::snprintf(size, sizeof size, "N=%u", count);
  bool allWhole = true;
  for (const Figure &figure : figures) {
    Print(size, figure, count);
    allWhole = allWhole && figure.whole;
  }
  return allWhole;
}

// One large file: camctl against the camera API's own receive.
bool RunLargeFile(const std::string &address, CameraCard &card) {
  card.MakeFolder("/d0/BIG");
  card.MakeFolder("/pc/big");
  const std::string bytes = Pattern(kLargeFileSize, 7);
  card.MakeFile("/d0/BIG/LARGE.MOV", bytes);
  std::vector<Figure> figures;
  figures.reserve(2);
  HZLXCAMERA camera = nullptr;
  tagZLXMODEL model{2, 0};
  bool ok = ZlxOpenCamera(&camera, &model, 1, 1, nullptr, address.c_str()) == 0;
  figures.push_back({"API receive of 50 MB", Seconds([&] {
                       tagZLXDATAINFO data{};
                       lstrcpynA(data.path, "0:/BIG/LARGE.MOV", sizeof data.path);
                       ok = ok && ZlxReceiveFile(camera, &data, 0, nullptr) == 0 && data.length == kLargeFileSize;
                       const unique_hglobal received(static_cast<HGLOBAL>(data.data));
                       const global_lock body(received.get());
                       ok = ok && body.get() && std::memcmp(body.get(), bytes.data(), kLargeFileSize) == 0;
                     }),
                     ok, nullptr});
  if (camera) ZlxCloseCamera(camera);
  figures.push_back({"camctl get of 50 MB", Seconds([&] {
                       ok = Camctl(address, "get 0:/BIG/LARGE.MOV " + card.Windows("/pc/big"));
                     }),
                     ok && ReadFileBytes(card.Windows("/pc/big/LARGE.MOV")) == bytes, &figures.front()});
  for (const Figure &figure : figures) {
    Print("50 MB", figure, 1);
    std::printf("%-7s %-34s %8.2f MB/s\n", "", "", kLargeFileSize / figure.seconds / 1e6);
  }
  return figures[0].whole && figures[1].whole;
}

}  // namespace

int main(int argc, char **argv) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) || RunProgram("camreg.exe install") != 0) {
    std::fprintf(stderr, "cannot register the camera folder\n");
    return 2;
  }
  std::vector<unsigned> sizes;
  bool allSends = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--all-sends") == 0)
      allSends = true;
    else
      sizes.push_back(static_cast<unsigned>(std::strtoul(argv[i], nullptr, 10)));
  }
  if (sizes.empty()) sizes = {100, 1000, 9999};
  InitCommonControls();
  bool ok = ZlxInitialize(0x10000, 8) == 0;
  for (const unsigned count : sizes) {
    // A card and a camera of their own for each size.
    CameraCard card;
    card.MakeFolder("/d0");
    CamsimProcess camsim;
    const std::string address = CamsimProcess::NextAddress();
    std::string error;
    if (!camsim.Start(address, {"--drive", "0=" + card.Unix("/d0"), "--max-lifetime", "0"}, error) ||
        ZlxSetConnectionInfo("LAN", address.c_str()) != 0) {
      std::fprintf(stderr, "camsim: %s\n", error.c_str());
      return 2;
    }
    // A shell thread of its own, whose camera folder opens this camsim.
    OnShellThread([&] {
      ok = RunSize(count, allSends || count <= kLargestSend, address, card) && ok;
      if (count == sizes.back()) ok = RunLargeFile(address, card) && ok;
    });
    CloseLinkHosts(address);
  }
  RunProgram("camreg.exe uninstall");
  CoUninitialize();
  return ok ? 0 : 1;
}
