#include "transfer/transfer_send.h"

#include <cstring>
#include <string_view>

#include "core/camera_messages.h"
#include "core/camera_path.h"
#include "core/content_items.h"
#include "items/camera_connection.h"
#include "items/camera_error.h"
#include "items/module_state.h"
#include "items/working_folder.h"
#include "resource_ids.h"
#include "transfer/camera_image.h"
#include "transfer/fetched_copy.h"
#include "transfer/name_choice_dialog.h"
#include "transfer/overwrite_dialog.h"
#include "win_raii.h"

namespace camfolder {

namespace {

HWND Owner(const tagZLXPROGRESSPARAM &progress) { return WindowFrom32(progress.owner); }

HRESULT CameraFailure(const tagZLXPROGRESSPARAM &progress, ZLXRESULT result, HRESULT hr) {
  ShowCameraError(Owner(progress), result);
  CheckConnection(result);
  return hr;
}

std::string NamePart(std::string_view path) {
  return std::string(path.substr(path.find_last_of("\\/") + 1));
}

HRESULT ReadFailure(const tagZLXPROGRESSPARAM &progress, HRESULT hr) {
  if (hr == E_OUTOFMEMORY) {
    ShowCameraError(Owner(progress), kOutOfMemoryMessage);
    return hr;
  }
  if (hr != E_ABORT) ShowCameraError(Owner(progress), kInternalErrorMessage);
  return E_UNEXPECTED;
}

// The bytes to send: a camera picture for picture folders, the file as it is
// elsewhere. Read failures are shown.
HRESULT ContentsToSend(const tagZLXPROGRESSPARAM &progress, const char *localPath, const char *cameraFolder,
                       std::string &name, unique_hglobal &data, DWORD &size, bool &madeAnew) {
  madeAnew = false;
  const HRESULT hr = IsDcfFolder(cameraFolder)
                         ? PrepareCameraImage(Owner(progress), localPath, name, data, size, madeAnew)
                         : LoadLocalFile(localPath, data, size);
  return FAILED(hr) ? ReadFailure(progress, hr) : hr;
}

ZLXRESULT Send(HZLXCAMERA camera, const std::string &path, HGLOBAL data, DWORD size, WORD mode,
               const tagZLXPROGRESSPARAM &progress, uint32_t overwrite) {
  tagZLXDATAINFO info{};
  lstrcpynA(info.path, path.c_str(), sizeof info.path);
  info.data = data;
  info.length = size;
  tagZLXPROGRESSPARAM record = progress;
  // Whatever happens to the camera file now, a copy fetched of it is old.
  ForgetFetchedAt(path);
  return ZlxSendFile(camera, &info, mode, &record, overwrite);
}

// Sends the bytes to the camera path, asking before a camera file of that
// name is replaced. S_OK when sent or declined (the answer tells which).
HRESULT SendAsking(HZLXCAMERA camera, const std::string &path, const std::string &name, const char *localPath,
                   HGLOBAL data, DWORD size, WORD mode, const tagZLXPROGRESSPARAM &progress, SendChoices &choices) {
  ZLXRESULT result = Send(camera, path, data, size, mode, progress, choices.overwrite);
  if (ZlxCode(result) == ZLX_E_NAME_EXISTS) {
    tagZLXFILEINFO existing{};
    const ZLXRESULT infoResult = ZlxGetFileInfo(camera, path.c_str(), &existing);
    if (!ZlxSucceeded(infoResult)) return CameraFailure(progress, infoResult, E_FAIL);
    const CameraTime time = ToCameraTime(existing.time);
    OverwriteFacts facts{name, existing.size, {}, localPath, size};
    std::memcpy(&facts.cameraTime, &time, sizeof time);
    const int choice = AskOverwrite(Owner(progress), facts);
    if (choice == IDNO || choice == IDCANCEL) {
      choices.answer = choice == IDNO ? kAnswerNo : kAnswerCancel;
      return S_OK;
    }
    if (choice == IDC_OVERWRITE_ALL) choices.overwrite = kReplaceExisting;
    choices.answer = choice == IDC_OVERWRITE_ALL ? kAnswerAll : kAnswerYes;
    result = Send(camera, path, data, size, mode, progress, kReplaceExisting);
  }
  if (!ZlxSucceeded(result)) return CameraFailure(progress, result, E_UNEXPECTED);
  return S_OK;
}

}  // namespace

bool WasSent(HRESULT hr, const SendChoices &choices) {
  return hr == S_OK && (choices.answer == kAnswerYes || choices.answer == kAnswerAll);
}

bool ArrivedWhole(HZLXCAMERA camera, const std::string &path, DWORD size, HWND owner) {
  tagZLXFILEINFO info{};
  const ZLXRESULT result = ZlxGetFileInfo(camera, path.c_str(), &info);
  if (!ZlxSucceeded(result)) {
    ShowCameraError(owner, result);
    CheckConnection(result);
    return false;
  }
  return info.size == size && !(info.attributes & ZLX_ATTR_DIRECTORY);
}

HRESULT SendFile(HZLXCAMERA camera, const char *localPath, const char *cameraFolder, WORD mode,
                 const tagZLXPROGRESSPARAM &progress, bool move, SendChoices &choices, MoveOutcome *outcome) {
  if (outcome) *outcome = MoveOutcome::kStays;
  choices.answer = choices.answer == kAnswerGoOn ? kAnswerYes : kAnswerCancel;
  if (!camera) {
    if (const HRESULT hr = GetCamera(camera); FAILED(hr)) return hr;
  }
  std::string name = NamePart(localPath);
  if (!IsValidFileName(name)) {
    const int choice = ChooseCameraName(Owner(progress), localPath, cameraFolder, name);
    if (choice != IDOK) {
      choices.answer = choice == IDNO ? kAnswerYes : kAnswerCancel;
      return S_FALSE;
    }
  }
  unique_hglobal data;
  DWORD size = 0;
  bool madeAnew = false;
  if (const HRESULT hr = ContentsToSend(progress, localPath, cameraFolder, name, data, size, madeAnew); FAILED(hr))
    return hr;
  const auto path = ChildPath(cameraFolder, name, false);
  if (!path) return CameraFailure(progress, ZLX_E_TOO_DEEP, E_UNEXPECTED);
  const HRESULT hr = SendAsking(camera, *path, name, localPath, data.get(), size, mode, progress, choices);
  if (!move || !WasSent(hr, choices)) return hr;

  // A move erases the PC's file only when the camera holds its very bytes.
  if (madeAnew) {
    if (outcome) *outcome = MoveOutcome::kKeptConverted;
    return S_OK;
  }
  if (!ArrivedWhole(camera, *path, size, Owner(progress))) {
    if (outcome) *outcome = MoveOutcome::kNotVerified;
    return E_UNEXPECTED;
  }
  if (!DeleteFileA(localPath)) return E_UNEXPECTED;
  if (outcome) *outcome = MoveOutcome::kMoved;
  return S_OK;
}

HRESULT SendCameraCopy(HZLXCAMERA camera, const char *localPath, const std::string &cameraName,
                       const char *cameraFolder, WORD mode, const tagZLXPROGRESSPARAM &progress,
                       SendChoices &choices, DWORD &sentSize) {
  sentSize = 0;
  choices.answer = choices.answer == kAnswerGoOn ? kAnswerYes : kAnswerCancel;
  unique_hglobal data;
  DWORD size = 0;
  if (const HRESULT hr = LoadLocalFile(localPath, data, size); FAILED(hr)) return ReadFailure(progress, hr);
  const auto path = ChildPath(cameraFolder, cameraName, false);
  if (!path) return CameraFailure(progress, ZLX_E_TOO_DEEP, E_UNEXPECTED);
  const HRESULT hr = SendAsking(camera, *path, cameraName, localPath, data.get(), size, mode, progress, choices);
  if (WasSent(hr, choices)) sentSize = size;
  return hr;
}

}  // namespace camfolder
