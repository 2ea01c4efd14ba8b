#include "transfer/transfer_copy.h"

#include <cstring>
#include <map>

#include "core/camera_messages.h"
#include "core/camera_path.h"
#include "core/item_names.h"
#include "core/local_names.h"
#include "items/camera_connection.h"
#include "items/camera_contents.h"
#include "items/camera_error.h"
#include "items/module_state.h"
#include "items/working_folder.h"
#include "transfer/fetched_copy.h"
#include "transfer/transfer_receive.h"

namespace camfolder {

namespace {

// The camera lets a copy settle before its source is erased.
constexpr DWORD kSettleMs = 1000;

HRESULT Failure(HWND owner, ZLXRESULT result) {
  ShowCameraError(owner, result);
  CheckConnection(result);
  return E_UNEXPECTED;
}

// One entry of a camera folder tree, named from the tree's top ("SUB/",
// "SUB/A.JPG").
struct TreeEntry {
  std::string relative;
  bool folder;
  uint32_t size;
};

// The tree under the camera folder, each folder before what it holds. An
// entry no path can address, or one beyond the camera's path limit, makes
// the tree one that cannot be transferred.
HRESULT ListTree(HZLXCAMERA camera, const std::string &top, const std::string &relative, HWND owner,
                 std::vector<TreeEntry> &tree) {
  std::vector<tagZLXFILEINFO> entries;
  if (FAILED(ListDirectory(camera, (top + relative).c_str(), 3, entries))) return E_UNEXPECTED;
  for (const tagZLXFILEINFO &entry : entries) {
    const std::string name(entry.name, strnlen(entry.name, sizeof entry.name));
    const bool folder = (entry.attributes & ZLX_ATTR_DIRECTORY) != 0;
    if (name.size() == sizeof entry.name || !IsUsableEntryName(name)) return Failure(owner, ZLX_E_NOT_TRANSFERABLE);
    const std::string child = relative + name + (folder ? "/" : "");
    if (top.size() + child.size() > kCameraPathMax) return Failure(owner, ZLX_E_TOO_DEEP);
    tree.push_back({child, folder, folder ? 0u : entry.size});
    if (folder) {
      if (const HRESULT hr = ListTree(camera, top, child, owner, tree); FAILED(hr)) return hr;
    }
  }
  return S_OK;
}

// Whether every entry expected is found, of the same kind and size: by its
// exact name, or by a name the camera may have stored in another case.
bool Holds(const std::vector<TreeEntry> &found, const std::vector<TreeEntry> &expected) {
  std::map<std::string, const TreeEntry *> exact, folded;
  for (const TreeEntry &entry : found) {
    exact.emplace(entry.relative, &entry);
    folded.emplace(FoldedCameraText(entry.relative), &entry);
  }
  for (const TreeEntry &entry : expected) {
    auto at = exact.find(entry.relative);
    const TreeEntry *match = at != exact.end() ? at->second : nullptr;
    if (!match) {
      const auto other = folded.find(FoldedCameraText(entry.relative));
      match = other != folded.end() ? other->second : nullptr;
    }
    if (!match || match->folder != entry.folder || match->size != entry.size) return false;
  }
  return true;
}

// Receives the camera file into a local copy of its own (a fresh folder of
// this process's part of the working folder) and sends it on as it is.
HRESULT CopyThrough(HZLXCAMERA camera, const std::string &source, const std::string &targetFolder,
                    const tagZLXPROGRESSPARAM &progress, SendChoices &choices, DWORD &sent) {
  sent = 0;
  const HWND owner = WindowFrom32(progress.owner);
  const std::string name = LastComponent(source);
  const auto folder = NewLocalFolder('T');
  const auto localName = SafeLocalName(name);
  const auto local = folder && localName ? LocalCopyPath(*folder, *localName) : std::nullopt;
  if (!local || !CreateDirectoryA(folder->c_str(), nullptr)) {
    ShowCameraError(owner, kInternalErrorMessage);
    return E_UNEXPECTED;
  }
  HRESULT hr = ReceiveFile(camera, source.c_str(), local->c_str(), kTransferWithProgress, progress);
  if (SUCCEEDED(hr))
    hr = SendCameraCopy(camera, local->c_str(), name, targetFolder.c_str(), kTransferWithProgress, progress, choices,
                        sent);
  RemoveFolderTree(folder->c_str());
  return hr;
}

HRESULT EraseSource(HZLXCAMERA camera, const std::string &source, HWND owner) {
  Sleep(kSettleMs);
  ZLXRESULT erased;
  if (PathKindOf(source.c_str()) == kFolderPath) {
    char stoppedAt[ZLX_TEXT_FIELD] = "";
    LONG count = 0;
    erased = ZlxEraseDirectory(camera, source.c_str(), 1, stoppedAt, sizeof stoppedAt, &count);
  } else {
    erased = ZlxEraseFile(camera, source.c_str(), 1);
  }
  ForgetFetchedAt(source);
  return ZlxSucceeded(erased) ? S_OK : Failure(owner, erased);
}

HRESULT CopyOneFile(HZLXCAMERA camera, const std::string &source, const std::string &targetFolder, bool move,
                 HWND owner, DWORD index, DWORD total, SendChoices &choices, std::vector<std::string> &notMoved) {
  tagZLXFILEINFO listed{};
  if (const ZLXRESULT result = ZlxGetFileInfo(camera, source.c_str(), &listed); !ZlxSucceeded(result))
    return Failure(owner, result);
  const tagZLXPROGRESSPARAM progress{WindowTo32(owner), index, total};
  DWORD sent = 0;
  const HRESULT hr = CopyThrough(camera, source, targetFolder, progress, choices, sent);
  if (FAILED(hr)) return hr;
  if (!WasSent(hr, choices)) return S_FALSE;
  if (!move) return S_OK;
  const auto target = ChildPath(targetFolder, LastComponent(source), false);
  if (!target || sent != listed.size || !ArrivedWhole(camera, *target, sent, owner)) {
    notMoved.push_back(source);
    return E_UNEXPECTED;
  }
  return EraseSource(camera, source, owner);
}

HRESULT CopyOneFolder(HZLXCAMERA camera, const std::string &source, const std::string &targetFolder, bool move,
                   HWND owner, SendChoices &choices, std::vector<std::string> &notMoved) {
  const std::string name = LastComponent(source);
  const auto top = ChildPath(targetFolder, name, true);
  if (!top) return Failure(owner, ZLX_E_TOO_DEEP);
  std::vector<TreeEntry> listed;
  if (const HRESULT hr = ListTree(camera, source, "", owner, listed); FAILED(hr)) return hr;
  if (const ZLXRESULT made = ZlxCreateDirectory(camera, targetFolder.c_str(), name.c_str()); !ZlxSucceeded(made))
    return Failure(owner, made);

  const tagZLXPROGRESSPARAM progress{0, 1, 1};
  bool whole = true;
  for (const TreeEntry &entry : listed) {
    const std::string target = *top + entry.relative;
    if (entry.folder) {
      const std::string parent = ParentPath(target);
      const std::string folderName = LastComponent(target);
      if (const ZLXRESULT made = ZlxCreateDirectory(camera, parent.c_str(), folderName.c_str()); !ZlxSucceeded(made))
        return Failure(owner, made);
      continue;
    }
    choices.answer = kAnswerGoOn;
    DWORD sent = 0;
    const HRESULT hr = CopyThrough(camera, source + entry.relative, ParentPath(target), progress, choices, sent);
    if (FAILED(hr)) return hr;
    if (!WasSent(hr, choices)) whole = false;
    if (choices.answer == kAnswerCancel) return S_FALSE;
  }
  if (!move) return whole ? S_OK : S_FALSE;
  if (!whole) return S_FALSE;

  // Erased only when the copy holds everything listed before, and the
  // source still holds just that (nothing arrived there meanwhile).
  std::vector<TreeEntry> copied, now;
  const bool verified = SUCCEEDED(ListTree(camera, *top, "", owner, copied)) && Holds(copied, listed) &&
                        SUCCEEDED(ListTree(camera, source, "", owner, now)) && now.size() == listed.size() &&
                        Holds(now, listed);
  if (!verified) {
    notMoved.push_back(source);
    return E_UNEXPECTED;
  }
  return EraseSource(camera, source, owner);
}

}  // namespace

HRESULT CopyCameraItem(HZLXCAMERA camera, const std::string &source, const std::string &targetFolder, bool move,
                       HWND owner, DWORD index, DWORD total, SendChoices &choices,
                       std::vector<std::string> &notMoved) {
  // Never into itself, and never a move onto the folder that holds it: its
  // copy would be its own source.
  if (CameraDropDefault({source}, targetFolder) == 0) return Failure(owner, ZLX_E_NOT_TRANSFERABLE);
  switch (PathKindOf(source.c_str())) {
    case kFolderPath:
      return CopyOneFolder(camera, source, targetFolder, move, owner, choices, notMoved);
    case kFilePath:
      return CopyOneFile(camera, source, targetFolder, move, owner, index, total, choices, notMoved);
    default:
      return Failure(owner, ZLX_E_NOT_TRANSFERABLE);  // drives stay where they are
  }
}

}  // namespace camfolder
