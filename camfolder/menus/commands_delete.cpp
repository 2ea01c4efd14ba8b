// Delete: the questions, the camera's erase calls, and the entries the
// camera protects met on the way.
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "camapi.h"
#include "core/camera_messages.h"
#include "core/camera_path.h"
#include "core/command_rules.h"
#include "items/camera_connection.h"
#include "items/camera_contents.h"
#include "items/camera_error.h"
#include "items/module_state.h"
#include "menus/camera_commands.h"
#include "menus/delete_dialogs.h"
#include "resource_ids.h"
#include "transfer/fetched_copy.h"

namespace camfolder {

namespace {

// Erase options: one folder with everything in it, one file, several items,
// and an entry the user agreed to erase although it is protected.
constexpr DWORD kOneFolderFlag = 0x20000000;
constexpr DWORD kOneFileFlag = 1;
constexpr DWORD kSeveralFlag = 2;
constexpr DWORD kUnprotectedFlag = 1;
constexpr uint32_t kReadOnly = 0x01;
constexpr int kNotFoundMessage = 20007;

enum class Outcome { kErased, kSkipped, kCancelled, kFailed };

// A read-only entry of a folder's tree.
struct ProtectedEntry {
  std::string path;
  bool folder;
  uint32_t attributes;
};

class Deletion {
 public:
  Deletion(HWND owner, HZLXCAMERA camera, bool several, bool eraseProtected)
      : owner_(owner),
        camera_(camera),
        folderFlag_(several ? kSeveralFlag : kOneFolderFlag),
        fileFlag_(several ? kSeveralFlag : kOneFileFlag),
        eraseProtected_(eraseProtected) {}

  Outcome EraseFolder(const std::string &path);
  // confirmed: the user agreed to erase this file knowing it is read-only.
  Outcome EraseFile(const std::string &path, bool confirmed);

 private:
  enum class Unprotected { kGone, kRemains, kFailed };

  Outcome Fail(ZLXRESULT result);
  int Ask(DeleteSubject subject, const std::string &name);
  std::optional<ProtectedEntry> FindProtected(const std::string &folder, uint32_t attributes, bool &failed);
  Unprotected Unprotect(const ProtectedEntry &entry);
  ZLXRESULT SetAttributes(const ProtectedEntry &entry, uint32_t attributes);
  void Protect(const std::vector<ProtectedEntry> &entries);

  HWND owner_;
  HZLXCAMERA camera_;
  DWORD folderFlag_;
  DWORD fileFlag_;
  bool eraseProtected_;  // the user chose to erase everything
};

Outcome Deletion::Fail(ZLXRESULT result) {
  // A vanished item shows nothing by itself, yet the delete stops there.
  if (ShowCameraError(owner_, result) == kNotFoundMessage && ZlxCode(result) == ZLX_E_NOT_FOUND)
    ShowCameraError(owner_, kNotFoundMessage);
  CheckConnection(result);
  return Outcome::kFailed;
}

int Deletion::Ask(DeleteSubject subject, const std::string &name) {
  if (eraseProtected_) return IDYES;
  const int answer = AskDeleteEntry(owner_, subject, name, true);
  if (answer != IDC_DELETE_ALL) return answer;
  eraseProtected_ = true;
  folderFlag_ = fileFlag_ = kUnprotectedFlag;
  return IDYES;
}

// The camera does not say which entry it protects: it is the first
// read-only one in the order the erase meets them, the folder itself, its
// sub-folders' trees, then its files.
std::optional<ProtectedEntry> Deletion::FindProtected(const std::string &folder, uint32_t attributes, bool &failed) {
  if (attributes & kReadOnly) return ProtectedEntry{folder, true, attributes};
  std::vector<tagZLXFILEINFO> entries;
  if (FAILED(ListDirectory(camera_, folder.c_str(), 3, entries))) {
    failed = true;
    return std::nullopt;
  }
  for (const bool folders : {true, false}) {
    for (const tagZLXFILEINFO &entry : entries) {
      const bool isFolder = (entry.attributes & ZLX_ATTR_DIRECTORY) != 0;
      if (isFolder != folders || !IsUsableEntryName(entry.name)) continue;
      const auto path = ChildPath(folder, entry.name, isFolder);
      if (!path) continue;
      if (!isFolder) {
        if (entry.attributes & kReadOnly) return ProtectedEntry{*path, false, entry.attributes};
        continue;
      }
      auto found = FindProtected(*path, entry.attributes, failed);
      if (found || failed) return found;
    }
  }
  return std::nullopt;
}

ZLXRESULT Deletion::SetAttributes(const ProtectedEntry &entry, uint32_t attributes) {
  attributes &= ~ZLX_ATTR_DIRECTORY;
  return entry.folder ? ZlxSetDirectoryAttribute(camera_, entry.path.c_str(), attributes)
                      : ZlxSetFileAttribute(camera_, entry.path.c_str(), attributes);
}

// Sets the read-only bit back on entries that were cleared for an erase
// that did not happen; entries gone meanwhile are left alone.
void Deletion::Protect(const std::vector<ProtectedEntry> &entries) {
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) SetAttributes(*entry, entry->attributes);
}

// Clears the entry's read-only bit right before it is erased, and sets it
// back when the erase fails.
Deletion::Unprotected Deletion::Unprotect(const ProtectedEntry &entry) {
  ZLXRESULT result = SetAttributes(entry, entry.attributes & ~kReadOnly);
  if (!ZlxSucceeded(result)) {
    Fail(result);
    return Unprotected::kFailed;
  }
  if (entry.folder) {
    char stoppedAt[MAX_PATH] = "";
    LONG count = 0;
    result = ZlxEraseDirectory(camera_, entry.path.c_str(), kUnprotectedFlag, stoppedAt, sizeof stoppedAt, &count);
    // More protected entries inside: the next round finds them.
    if (ZlxCode(result) == ZLX_E_REFUSED) return Unprotected::kRemains;
  } else {
    result = ZlxEraseFile(camera_, entry.path.c_str(), kUnprotectedFlag);
  }
  if (!ZlxSucceeded(result)) {
    SetAttributes(entry, entry.attributes);
    Fail(result);
    return Unprotected::kFailed;
  }
  ForgetFetchedAt(entry.path);
  return Unprotected::kGone;
}

Outcome Deletion::EraseFolder(const std::string &path) {
  std::set<std::string> unprotected;
  // Folders cleared whose erase met more protected entries inside: they get
  // their bit back unless the folder goes after all.
  std::vector<ProtectedEntry> cleared;
  const auto keep = [&](Outcome outcome) {
    Protect(cleared);
    return outcome;
  };
  for (;;) {
    char stoppedAt[MAX_PATH] = "";
    LONG count = 0;
    const ZLXRESULT result = ZlxEraseDirectory(camera_, path.c_str(), folderFlag_, stoppedAt, sizeof stoppedAt, &count);
    if (ZlxSucceeded(result)) {
      ForgetFetchedAt(path);
      return Outcome::kErased;
    }
    if (ZlxCode(result) != ZLX_E_REFUSED) return keep(Fail(result));
    tagZLXDIRINFO info{};
    const ZLXRESULT asked = ZlxGetDirectoryInfo(camera_, path.c_str(), &info);
    if (!ZlxSucceeded(asked)) return keep(Fail(asked));
    bool failed = false;
    const auto entry = FindProtected(path, info.attributes, failed);
    if (failed) return keep(Outcome::kFailed);
    // Refused with nothing protected, or refused again after the entry was
    // cleared: the camera will not erase it.
    if (!entry || !unprotected.insert(entry->path).second) return keep(Fail(result));
    const int answer = Ask(DeleteSubject::kFolder, ProtectedEntryText(entry->path));
    if (answer == IDCANCEL) return keep(Outcome::kCancelled);
    if (answer == IDNO) return keep(Outcome::kSkipped);
    const Unprotected outcome = Unprotect(*entry);
    if (outcome == Unprotected::kFailed) return keep(Outcome::kFailed);
    if (outcome == Unprotected::kRemains) cleared.push_back(*entry);
    if (outcome == Unprotected::kGone && entry->path == path) return Outcome::kErased;
  }
}

Outcome Deletion::EraseFile(const std::string &path, bool confirmed) {
  const ZLXRESULT result = ZlxEraseFile(camera_, path.c_str(), fileFlag_);
  if (ZlxSucceeded(result)) {
    ForgetFetchedAt(path);
    return Outcome::kErased;
  }
  if (ZlxCode(result) != ZLX_E_REFUSED) return Fail(result);
  if (!confirmed) {
    const int answer = Ask(DeleteSubject::kFile, LastComponent(path));
    if (answer == IDCANCEL) return Outcome::kCancelled;
    if (answer == IDNO) return Outcome::kSkipped;
  }
  tagZLXFILEINFO info{};
  const ZLXRESULT asked = ZlxGetFileInfo(camera_, path.c_str(), &info);
  if (!ZlxSucceeded(asked)) return Fail(asked);
  // Refused although not read-only: the camera will not erase it.
  if (!(info.attributes & kReadOnly)) return Fail(result);
  return Unprotect({path, false, info.attributes}) == Unprotected::kGone ? Outcome::kErased : Outcome::kFailed;
}

// The first question: about the one item with its name and attributes, or
// about how many. confirmed tells that a read-only file was named as such.
HRESULT AskFirst(HWND owner, HZLXCAMERA camera, const std::vector<CameraItem> &items, int &answer, bool &confirmed) {
  confirmed = false;
  if (items.size() > 1) {
    answer = AskDeleteSeveral(owner, items.size());
    return S_OK;
  }
  const CameraItem &item = items.front();
  uint32_t attributes = 0;
  ZLXRESULT result = 0;
  if (PathKindOf(item.path) == kFolderPath) {
    tagZLXDIRINFO info{};
    result = ZlxGetDirectoryInfo(camera, item.path, &info);
    attributes = info.attributes;
  } else {
    tagZLXFILEINFO info{};
    result = ZlxGetFileInfo(camera, item.path, &info);
    attributes = info.attributes;
  }
  // Nothing is asked about an item the camera cannot describe.
  if (!ZlxSucceeded(result)) {
    ShowCameraError(owner, result);
    CheckConnection(result);
    return E_UNEXPECTED;
  }
  const bool folder = PathKindOf(item.path) == kFolderPath;
  const bool readOnly = (attributes & kReadOnly) != 0;
  answer = AskDeleteEntry(owner, folder ? DeleteSubject::kFolder : DeleteSubject::kFile, LastComponent(item.path),
                          readOnly);
  confirmed = !folder && readOnly;
  return S_OK;
}

}  // namespace

HRESULT DeleteItems(HWND owner, const std::vector<CameraItem> &items) {
  if (items.empty()) return E_INVALIDARG;
  for (const CameraItem &item : items) {
    const PathKind kind = PathKindOf(item.path);
    if (kind != kFolderPath && kind != kFilePath) return E_INVALIDARG;
  }
  ProgressCounters &progress = CurrentProgress();
  progress = {1, 1};
  HZLXCAMERA camera = nullptr;
  if (const HRESULT hr = GetCamera(camera); FAILED(hr)) return hr;
  int answer = IDNO;
  bool confirmed = false;
  if (const HRESULT hr = AskFirst(owner, camera, items, answer, confirmed); FAILED(hr)) return hr;
  if (answer != IDYES && answer != IDC_DELETE_ALL) return S_FALSE;

  Deletion deletion(owner, camera, items.size() > 1, answer == IDC_DELETE_ALL);
  HRESULT hr = S_OK;
  for (size_t i = 0; i < items.size(); ++i) {
    progress = {static_cast<DWORD>(i + 1), static_cast<DWORD>(items.size())};
    const std::string path = items[i].path;
    const Outcome outcome =
        PathKindOf(path.c_str()) == kFolderPath ? deletion.EraseFolder(path) : deletion.EraseFile(path, confirmed);
    if (outcome == Outcome::kCancelled) break;
    // What was erased before the failure is gone; the rest stays, and the
    // command says it failed.
    if (outcome == Outcome::kFailed) {
      hr = E_UNEXPECTED;
      break;
    }
  }
  RefreshOwner(owner);
  return hr;
}

}  // namespace camfolder
