// How the camera folder's transfers grow with the size of a folder, run by
// hand (not a CTest test):
//   cd build/win64/bin && ../../../scripts/wine-run ../wine ./camfolder_transfer_bench.exe [N ...]
//
// For each N (default 100, 1000 and 9999) a camsim card holds a folder of N
// small pictures, and the shell's interfaces copy it inside the camera (a
// Control drop), move that copy (a Shift drop), fetch it to the PC (the data
// object's CF_HDROP, as a drop on a PC folder asks) and delete it (the item
// menu's verb). The baseline is the camera API itself: every picture
// received without the progress dialog, in this process. Each figure is
// printed with its time per picture and its ratio to the baseline, and every
// copy is checked whole; the run fails when one is not.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "camapi.h"
#include "card_bench.h"
#include "message_box_watcher.h"
#include "shell_fixture.h"
#include "unix_paths.h"

namespace {

// The shell's object of one item of a camera folder.
template <typename Interface>
ComPtr<Interface> ItemObject(const std::vector<std::string> &folder, const std::string &name) {
  const ComPtr<IShellFolder> parent = BindPath(BindCameraRoot().Get(), folder);
  const Child child = parent ? Find(parent.Get(), name) : Child{};
  PCUITEMID_CHILD list = child.get();
  ComPtr<Interface> object;
  if (list)
    parent->GetUIObjectOf(nullptr, 1, &list, __uuidof(Interface), nullptr,
                          reinterpret_cast<void **>(object.ReleaseAndGetAddressOf()));
  return object;
}

bool Drop(const std::vector<std::string> &from, const std::string &name, const std::string &onto, DWORD keys) {
  const ComPtr<IDataObject> data = ItemObject<IDataObject>(from, name);
  const ComPtr<IDropTarget> target = ItemObject<IDropTarget>({"0:/"}, onto);
  if (!data || !target) return false;
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  target->DragEnter(data.Get(), keys, POINTL{1, 1}, &effect);
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  return target->Drop(data.Get(), keys & ~MK_LBUTTON, POINTL{1, 1}, &effect) == S_OK;
}

struct Figure {
  const char *what;
  double seconds;
  bool whole;
};

bool RunSize(unsigned count) {
  CameraCard card;
  for (const char *folder : {"", "/d0", "/d0/SRC", "/d0/DST", "/d0/MOVED"}) card.MakeFolder(folder);
  for (unsigned i = 1; i <= count; ++i) card.MakeFile("/d0/SRC/" + Name(i), Pattern(kPictureSize, i));
  CamsimProcess camsim;
  const std::string address = CamsimProcess::NextAddress();
  std::string error;
  if (!camsim.Start(address, {"--drive", "0=" + card.Unix("/d0"), "--max-lifetime", "0"}, error) ||
      ZlxSetConnectionInfo("LAN", address.c_str()) != 0) {
    std::fprintf(stderr, "camsim: %s\n", error.c_str());
    return false;
  }

  std::vector<Figure> figures;
  // The baseline: each picture through the camera API, without the dialog.
  HZLXCAMERA camera = nullptr;
  tagZLXMODEL model{2, 0};
  bool received = ZlxInitialize(0x10000, 8) == 0 && ZlxOpenCamera(&camera, &model, 1, 1, nullptr, address.c_str()) == 0;
  figures.push_back({"API receive (baseline)", Seconds([&] {
                       for (unsigned i = 1; received && i <= count; ++i) {
                         tagZLXDATAINFO data{};
                         lstrcpynA(data.path, ("0:/SRC/" + Name(i)).c_str(), sizeof data.path);
                         tagZLXPROGRESSPARAM progress{};
                         received = ZlxReceiveFile(camera, &data, 0, &progress) == 0 && data.length == kPictureSize;
                         GlobalFree(static_cast<HGLOBAL>(data.data));
                       }
                     }),
                     received});
  if (camera) ZlxCloseCamera(camera);

  bool ok = false;
  figures.push_back({"copy inside the camera", Seconds([&] { ok = Drop({"0:/"}, "SRC/", "DST/", MK_LBUTTON | MK_CONTROL); }),
                     ok && Whole(card.Windows("/d0/DST/SRC"), count)});
  figures.push_back({"move inside the camera",
                     Seconds([&] { ok = Drop({"0:/", "DST/"}, "SRC/", "MOVED/", MK_LBUTTON | MK_SHIFT); }),
                     ok && Whole(card.Windows("/d0/MOVED/SRC"), count) &&
                         GetFileAttributesA(card.Windows("/d0/DST/SRC").c_str()) == INVALID_FILE_ATTRIBUTES});
  std::vector<std::string> fetched;
  figures.push_back({"fetch to the PC (CF_HDROP)", Seconds([&] {
                       const ComPtr<IDataObject> data = ItemObject<IDataObject>({"0:/"}, "SRC/");
                       if (!data) return;
                       MarkDropMade(data.Get());
                       fetched = HandedOutFiles(data.Get());
                     }),
                     fetched.size() == 1 && Whole(fetched.front(), count)});
  HRESULT deleted = E_FAIL;
  figures.push_back({"delete (item menu)", Seconds([&] {
                       const ComPtr<IContextMenu> menu = ItemObject<IContextMenu>({"0:/"}, "MOVED/");
                       if (!menu) return;
                       MessageBoxWatcher yes(IDYES);
                       CMINVOKECOMMANDINFO invoke{sizeof invoke};
                       invoke.lpVerb = "delete";
                       deleted = menu->InvokeCommand(&invoke);
                     }),
                     deleted == S_OK && GetFileAttributesA(card.Windows("/d0/MOVED/SRC").c_str()) ==
                                            INVALID_FILE_ATTRIBUTES});
  CloseLinkHosts(address);

  bool allWhole = true;
  const double baseline = figures.front().seconds;
  for (const Figure &figure : figures) {
    std::printf("N=%-5u %-28s %8.2f s %8.2f ms/picture %7.2f x baseline %s\n", count, figure.what, figure.seconds,
                1000 * figure.seconds / count, baseline > 0 ? figure.seconds / baseline : 0,
                figure.whole ? "" : "NOT WHOLE");
    allWhole = allWhole && figure.whole;
  }
  std::fflush(stdout);
  return allWhole;
}

}  // namespace

int main(int argc, char **argv) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) || RunProgram("camreg.exe install") != 0) {
    std::fprintf(stderr, "cannot register the camera folder\n");
    return 2;
  }
  std::vector<unsigned> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(static_cast<unsigned>(std::strtoul(argv[i], nullptr, 10)));
  if (sizes.empty()) sizes = {100, 1000, 9999};
  bool ok = true;
  for (const unsigned count : sizes) ok = RunSize(count) && ok;
  RunProgram("camreg.exe uninstall");
  CoUninitialize();
  return ok ? 0 : 1;
}
