#include "transfer_copy.h"

#include <optional>
#include <string>

#include "camera_path.h"
#include "item_names.h"
#include "module_state.h"
#include "transfer_receive.h"
#include "transfer_rules.h"
#include "transfer_send.h"
#include "working_folder.h"

namespace camfolder {

namespace {

// The camera lets a copy settle before its source is erased.
constexpr DWORD kSettleMs = 1000;

// The local copy of a camera item in the working folder.
std::optional<std::string> LocalCopy(const char *path) {
  const std::string_view text(path);
  if (text.find('/') == std::string_view::npos) return std::nullopt;
  const std::string folder = WorkingFolder();
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return LocalCopyPath(folder, LastComponent(text));
}

// Receives and sends again; true when the file was sent and the user did
// not decline (the only case in which a move may erase its source).
bool CopyThrough(HZLXCAMERA camera, const char *path, const std::string &local, const char *targetFolder, HWND owner,
                 DWORD index, DWORD total, int &answer) {
  const tagZLXPROGRESSPARAM progress{WindowTo32(owner), index, total};
  if (FAILED(ReceiveFile(camera, path, local.c_str(), kTransferWithProgress, progress))) {
    answer = kAnswerStop;
    return false;
  }
  const HRESULT sent = SendFile(camera, local.c_str(), targetFolder, kTransferWithProgress, progress, false, answer);
  const bool confirmed = sent == S_OK && (answer == kAnswerYes || answer == kAnswerAll);
  answer = FAILED(sent) ? kAnswerStop : NormalisedCopyAnswer(answer);
  return confirmed;
}

}  // namespace

ZLXRESULT CopyCameraFile(HZLXCAMERA camera, const char *path, const char *targetFolder, HWND owner, DWORD index,
                         DWORD total, int &answer) {
  const auto local = LocalCopy(path);
  if (!local) return ZLX_E_NOT_FOUND;
  CopyThrough(camera, path, *local, targetFolder, owner, index, total, answer);
  return ZLX_OK;
}

ZLXRESULT MoveCameraFile(HZLXCAMERA camera, const char *path, const char *targetFolder, HWND owner, DWORD index,
                         DWORD total, int &answer) {
  const auto local = LocalCopy(path);
  if (!local) return ZLX_E_NOT_FOUND;
  if (!CopyThrough(camera, path, *local, targetFolder, owner, index, total, answer)) return ZLX_OK;
  Sleep(kSettleMs);
  const ZLXRESULT erased = ZlxEraseFile(camera, path, 1);
  if (!ZlxSucceeded(erased)) answer = kAnswerStop;
  ForgetFetchedAt(path);
  return erased;
}

namespace {

// Receives the tree and sends it again; true when every file went.
bool CopyTreeThrough(HZLXCAMERA camera, const char *path, const std::string &local, const char *targetPath) {
  std::string target(targetPath);
  if (target.empty() || target.back() != '/') target.push_back('/');
  const auto folder = ChildPath(target, LastComponent(path), true);
  if (!folder) return false;
  RemoveFolderTree(local.c_str());
  const tagZLXPROGRESSPARAM progress{0, 1, 1};
  if (FAILED(ReceiveFolder(camera, path, local.c_str(), kTransferWithProgress, progress))) return false;
  return SendFolder(camera, local.c_str(), folder->c_str(), kTransferWithProgress, progress) == S_OK;
}

}  // namespace

ZLXRESULT CopyCameraFolder(HZLXCAMERA camera, const char *path, const char *targetPath, HWND) {
  const auto local = LocalCopy(path);
  if (!local) return ZLX_E_NOT_FOUND;
  CopyTreeThrough(camera, path, *local, targetPath);
  return ZLX_OK;
}

ZLXRESULT MoveCameraFolder(HZLXCAMERA camera, const char *path, const char *targetPath, HWND) {
  const auto local = LocalCopy(path);
  if (!local) return ZLX_E_NOT_FOUND;
  if (!CopyTreeThrough(camera, path, *local, targetPath)) return ZLX_OK;
  Sleep(kSettleMs);
  char stoppedAt[ZLX_TEXT_FIELD] = "";
  LONG count = 0;
  const ZLXRESULT erased = ZlxEraseDirectory(camera, path, 1, stoppedAt, sizeof stoppedAt, &count);
  ForgetFetchedAt(path);
  return erased;
}

}  // namespace camfolder
