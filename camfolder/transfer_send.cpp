#include "transfer_send.h"

#include <cstring>
#include <string>
#include <string_view>

#include "camera_connection.h"
#include "camera_error.h"
#include "camera_image.h"
#include "camera_messages.h"
#include "camera_path.h"
#include "content_items.h"
#include "module_state.h"
#include "name_choice_dialog.h"
#include "overwrite_dialog.h"
#include "resource_ids.h"
#include "transfer_rules.h"
#include "win_raii.h"
#include "working_folder.h"

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

// The bytes to send: a camera picture for picture folders, the file as it is
// elsewhere. Read failures are shown.
HRESULT ContentsToSend(const tagZLXPROGRESSPARAM &progress, const char *localPath, const char *cameraFolder,
                       std::string &name, unique_hglobal &data, DWORD &size) {
  const HRESULT hr = IsDcfFolder(cameraFolder) ? PrepareCameraImage(Owner(progress), localPath, name, data, size)
                                               : LoadLocalFile(localPath, data, size);
  if (hr == E_OUTOFMEMORY) {
    ShowCameraError(Owner(progress), kOutOfMemoryMessage);
  } else if (FAILED(hr) && hr != E_ABORT) {
    ShowCameraError(Owner(progress), kInternalErrorMessage);
  }
  return FAILED(hr) && hr != E_OUTOFMEMORY ? E_UNEXPECTED : hr;
}

ZLXRESULT Send(HZLXCAMERA camera, const std::string &path, HGLOBAL data, DWORD size, WORD mode,
               const tagZLXPROGRESSPARAM &progress, uint32_t overwrite) {
  tagZLXDATAINFO info{};
  lstrcpynA(info.path, path.c_str(), sizeof info.path);
  info.data = data;
  info.length = size;
  tagZLXPROGRESSPARAM record = progress;
  return ZlxSendFile(camera, &info, mode, &record, overwrite);
}

}  // namespace

HRESULT SendFile(HZLXCAMERA camera, const char *localPath, const char *cameraFolder, WORD mode,
                 const tagZLXPROGRESSPARAM &progress, bool move, int &answer) {
  answer = answer == kAnswerGoOn ? kAnswerYes : kAnswerCancel;
  if (!camera) {
    if (const HRESULT hr = GetCamera(camera); FAILED(hr)) return hr;
  }
  std::string name = NamePart(localPath);
  if (!IsValidFileName(name)) {
    const int choice = ChooseCameraName(Owner(progress), localPath, cameraFolder, name);
    if (choice != IDOK) {
      answer = choice == IDNO ? kAnswerYes : kAnswerCancel;
      return S_FALSE;
    }
  }
  unique_hglobal data;
  DWORD size = 0;
  if (const HRESULT hr = ContentsToSend(progress, localPath, cameraFolder, name, data, size); FAILED(hr)) return hr;
  const auto path = ChildPath(cameraFolder, name, false);
  if (!path) return CameraFailure(progress, ZLX_E_TOO_DEEP, E_UNEXPECTED);

  ZLXRESULT result = Send(camera, *path, data.get(), size, mode, progress, SendOverwriteMode());
  if (ZlxCode(result) == ZLX_E_NAME_EXISTS) {
    tagZLXFILEINFO existing{};
    const ZLXRESULT infoResult = ZlxGetFileInfo(camera, path->c_str(), &existing);
    if (!ZlxSucceeded(infoResult)) return CameraFailure(progress, infoResult, E_FAIL);
    const CameraTime time = ToCameraTime(existing.time);
    OverwriteFacts facts{name, existing.size, {}, localPath, size};
    std::memcpy(&facts.cameraTime, &time, sizeof time);
    const int choice = AskOverwrite(Owner(progress), facts);
    if (choice == IDNO || choice == IDCANCEL) {
      answer = choice == IDNO ? kAnswerNo : kAnswerCancel;
      return S_OK;
    }
    if (choice == IDC_OVERWRITE_ALL) SendOverwriteMode() = kReplaceExisting;
    answer = choice == IDC_OVERWRITE_ALL ? kAnswerAll : kAnswerYes;
    result = Send(camera, *path, data.get(), size, mode, progress, kReplaceExisting);
  }
  if (!ZlxSucceeded(result)) return CameraFailure(progress, result, E_UNEXPECTED);
  if (move && !DeleteFileA(localPath)) return E_UNEXPECTED;
  return S_OK;
}

HRESULT SendFolder(HZLXCAMERA camera, const char *localFolder, const char *cameraTarget, WORD mode,
                   const tagZLXPROGRESSPARAM &progress) {
  const DWORD attributes = GetFileAttributesA(localFolder);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return E_INVALIDARG;
  if (!camera) {
    if (const HRESULT hr = GetCamera(camera); FAILED(hr)) return hr;
  }
  const std::string parent = ParentPath(cameraTarget);
  const std::string name = LastComponent(cameraTarget);
  const ZLXRESULT created = ZlxCreateDirectory(camera, parent.c_str(), name.c_str());
  if (!ZlxSucceeded(created)) return CameraFailure(progress, created, E_FAIL);

  const std::string pattern = std::string(localFolder) + "\\*";
  DWORD total = 0;
  WIN32_FIND_DATAA entry;
  {
    const unique_find find(FindFirstFileA(pattern.c_str(), &entry));
    if (find) {
      do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++total;
      } while (FindNextFileA(find.get(), &entry));
    }
  }
  const unique_find find(FindFirstFileA(pattern.c_str(), &entry));
  if (!find) return S_OK;
  HRESULT complete = S_OK;
  DWORD index = 0;
  do {
    const std::string_view entryName(entry.cFileName);
    if (entryName == "." || entryName == "..") continue;
    const std::string local = std::string(localFolder) + "\\" + entry.cFileName;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      const auto target = ChildPath(cameraTarget, entry.cFileName, true);
      if (!target) return CameraFailure(progress, ZLX_E_TOO_DEEP, E_UNEXPECTED);
      const HRESULT hr = SendFolder(camera, local.c_str(), target->c_str(), mode, progress);
      if (FAILED(hr)) return hr;
      if (hr != S_OK) complete = S_FALSE;
      continue;
    }
    int answer = kAnswerGoOn;
    const tagZLXPROGRESSPARAM file{progress.owner, ++index, total};
    const HRESULT hr = SendFile(camera, local.c_str(), cameraTarget, mode, file, false, answer);
    if (FAILED(hr)) return hr;
    if (hr != S_OK || (answer != kAnswerYes && answer != kAnswerAll)) complete = S_FALSE;
    if (answer == kAnswerStop || answer == kAnswerCancel) return S_FALSE;
  } while (FindNextFileA(find.get(), &entry));
  return complete;
}

}  // namespace camfolder
