#include "transfer/transfer_receive.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/camera_path.h"
#include "core/content_items.h"
#include "core/item_names.h"
#include "core/local_names.h"
#include "items/camera_connection.h"
#include "items/camera_contents.h"
#include "items/camera_error.h"
#include "items/module_state.h"
#include "transfer/fetched_copy.h"
#include "win_raii.h"

namespace camfolder {

namespace {

HRESULT CameraFailure(const tagZLXPROGRESSPARAM &progress, ZLXRESULT result) {
  ShowCameraError(WindowFrom32(progress.owner), result);
  CheckConnection(result);
  return E_UNEXPECTED;
}

HRESULT UseCamera(HZLXCAMERA &camera) { return camera ? S_OK : GetCamera(camera); }

// The camera keeps local times; the file system wants them in UTC.
bool ToFileTime(const tagZLXTIME &time, FILETIME &result) {
  const CameraTime local = ToCameraTime(time);
  SYSTEMTIME system;
  static_assert(sizeof system == sizeof local);
  std::memcpy(&system, &local, sizeof system);
  FILETIME localTime;
  return SystemTimeToFileTime(&system, &localTime) && LocalFileTimeToFileTime(&localTime, &result);
}

bool WriteWhole(HANDLE file, const void *data, DWORD size) {
  DWORD done = 0;
  while (done < size) {
    DWORD written = 0;
    if (!WriteFile(file, static_cast<const char *>(data) + done, size - done, &written, nullptr) || written == 0)
      return false;
    done += written;
  }
  return true;
}

}  // namespace

HRESULT ReceiveFile(HZLXCAMERA camera, const char *cameraPath, const char *localPath, WORD mode,
                    const tagZLXPROGRESSPARAM &progress) {
  if (PathKindOf(cameraPath) != kFilePath || !localPath) return E_UNEXPECTED;
  if (const HRESULT hr = UseCamera(camera); FAILED(hr)) return hr;

  tagZLXDATAINFO data{};
  lstrcpynA(data.path, cameraPath, sizeof data.path);
  tagZLXPROGRESSPARAM record = progress;
  const ZLXRESULT result = ZlxReceiveFile(camera, &data, mode, &record);
  const unique_hglobal contents(static_cast<HGLOBAL>(data.data));
  if (!ZlxSucceeded(result)) return CameraFailure(progress, result);
  if (data.length > 0 && (!contents || GlobalSize(contents.get()) < data.length))
    return CameraFailure(progress, ZLX_E_GENERAL);

  ForgetFetchedCopyAt(localPath);
  unique_file file(CreateFileA(localPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
  if (!file) return E_UNEXPECTED;
  bool written = true;
  if (data.length > 0) {
    const global_lock bytes(contents.get());
    written = bytes && WriteWhole(file.get(), bytes.get(), data.length);
  }
  if (!written) {
    file.reset();
    DeleteFileA(localPath);
    return E_FAIL;
  }

  tagZLXFILEINFO info{};
  const ZLXRESULT infoResult = ZlxGetFileInfo(camera, cameraPath, &info);
  FILETIME modified;
  if (!ZlxSucceeded(infoResult))
    ShowCameraError(WindowFrom32(progress.owner), infoResult);
  else if (ToFileTime(info.time, modified))
    SetFileTime(file.get(), &modified, nullptr, &modified);
  return S_OK;
}

HRESULT ReceiveFolder(HZLXCAMERA camera, const char *cameraFolder, const char *localFolder, WORD mode,
                      const tagZLXPROGRESSPARAM &progress) {
  if (PathKindOf(cameraFolder) != kFolderPath || !localFolder) return E_UNEXPECTED;
  if (const HRESULT hr = UseCamera(camera); FAILED(hr)) return hr;
  if (!CreateDirectoryA(localFolder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return E_FAIL;

  tagZLXDIRINFO info{};
  const ZLXRESULT infoResult = ZlxGetDirectoryInfo(camera, cameraFolder, &info);
  if (!ZlxSucceeded(infoResult)) return CameraFailure(progress, infoResult);
  FILETIME modified;
  if (ToFileTime(info.time, modified)) {
    const unique_file folder(CreateFileA(localFolder, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (folder) SetFileTime(folder.get(), &modified, nullptr, &modified);
  }

  std::vector<tagZLXFILEINFO> entries;
  if (const HRESULT hr = ListDirectory(camera, cameraFolder, 3, entries); FAILED(hr)) return hr;
  const DWORD total = static_cast<DWORD>(entries.size());
  // Names the PC would take for one another get local names of their own.
  LocalNameSet localNames;
  for (DWORD i = 0; i < total; ++i) {
    const tagZLXFILEINFO &entry = entries[i];
    const bool folder = (entry.attributes & ZLX_ATTR_DIRECTORY) != 0;
    const std::string name(entry.name, strnlen(entry.name, sizeof entry.name));
    // A name that could leave the local folder is never used for a path.
    if (name.size() == sizeof entry.name || !IsUsableEntryName(name))
      return CameraFailure(progress, ZLX_E_NOT_TRANSFERABLE);
    const auto child = ChildPath(cameraFolder, name, folder);
    if (!child) return CameraFailure(progress, ZLX_E_TOO_DEEP);
    const auto localName = localNames.Take(name);
    const auto local = localName ? LocalCopyPath(localFolder, *localName) : std::nullopt;
    if (!local) return E_FAIL;
    HRESULT hr;
    if (folder) {
      hr = ReceiveFolder(camera, child->c_str(), local->c_str(), mode, progress);
    } else {
      tagZLXPROGRESSPARAM item{progress.owner, i + 1, total};
      hr = ReceiveFile(camera, child->c_str(), local->c_str(), mode, item);
    }
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT Receive(HZLXCAMERA camera, const char *cameraPath, const char *localPath, WORD mode,
                const tagZLXPROGRESSPARAM &progress) {
  switch (PathKindOf(cameraPath)) {
    case kFilePath:
      return ReceiveFile(camera, cameraPath, localPath, mode, progress);
    case kFolderPath:
      return ReceiveFolder(camera, cameraPath, localPath, mode, progress);
    default:
      return E_UNEXPECTED;
  }
}

}  // namespace camfolder
