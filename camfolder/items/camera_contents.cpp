#include "items/camera_contents.h"

#include <cstring>

#include "core/camera_messages.h"
#include "core/content_items.h"
#include "items/camera_connection.h"
#include "items/camera_error.h"
#include "items/module_state.h"
#include "items/module_strings.h"
#include "win_raii.h"

namespace camfolder {

namespace {

// The records of a list block, when the block holds as many as the count says.
template <typename Record>
bool CopyRecords(HGLOBAL block, DWORD count, std::vector<Record> &records) {
  records.clear();
  if (count == 0) return true;
  if (!block || GlobalSize(block) / sizeof(Record) < count) return false;
  const global_lock bytes(block);
  if (!bytes) return false;
  records.resize(count);
  std::memcpy(records.data(), bytes.get(), count * sizeof(Record));
  return true;
}

// A list the camera API handed over that does not hold what it claims.
HRESULT BadList() {
  ShowCameraError(MessageOwner(), ZLX_E_GENERAL);
  return E_UNEXPECTED;
}

HRESULT LoadDrives(HZLXCAMERA camera, std::vector<CameraItem> &items) {
  DWORD count = 0;
  HGLOBAL list = nullptr;
  const ZLXRESULT result = ZlxGetDriveList(camera, &count, &list);
  const unique_hglobal owned(list);
  if (!CameraCallSucceeded(result)) return E_UNEXPECTED;
  std::vector<tagZLXDRIVELISTENTRY> drives;
  if (!CopyRecords(list, count, drives)) return BadList();
  for (const tagZLXDRIVELISTENTRY &drive : drives) {
    if (!drive.present) continue;
    const auto label = DriveLabel(drive.number);
    if (!label) return BadList();
    DWORD capacity = 0;
    const ZLXRESULT capacityResult = ZlxGetDriveCapacity(camera, static_cast<BYTE>(drive.number), &capacity);
    if (!ZlxSucceeded(capacityResult)) {
      capacity = 0;
      if (!CameraCallSucceeded(capacityResult) && IsConnectionClassFailure(capacityResult)) return E_UNEXPECTED;
    }
    const auto item = DriveItem(drive.number, *label, capacity);
    if (!item) return BadList();
    items.push_back(*item);
  }
  return S_OK;
}

}  // namespace

HRESULT ListDirectory(HZLXCAMERA camera, const char *path, DWORD mode, std::vector<tagZLXFILEINFO> &entries) {
  HGLOBAL list = nullptr;
  DWORD count = 0;
  const ZLXRESULT result = ZlxGetDirectoryList(camera, path, mode, &list, &count);
  const unique_hglobal owned(list);
  if (!CameraCallSucceeded(result)) return E_UNEXPECTED;
  if (!CopyRecords(list, count, entries)) return BadList();
  return S_OK;
}

HRESULT LoadFolderContents(const std::string &path, DWORD enumerationFlags, std::vector<CameraItem> &items) {
  items.clear();
  HZLXCAMERA camera = nullptr;
  if (const HRESULT hr = GetCamera(camera); FAILED(hr)) return hr;
  if (path.empty()) return LoadDrives(camera, items);
  std::vector<tagZLXFILEINFO> entries;
  if (const HRESULT hr = ListDirectory(camera, path.c_str(), ListingMode(enumerationFlags), entries); FAILED(hr))
    return hr;
  // Entries no path could address (bad names, paths beyond the camera's
  // limit) are left out: no operation could reach them.
  for (const tagZLXFILEINFO &entry : entries)
    if (const auto item = FolderEntryItem(path, entry)) items.push_back(*item);
  return S_OK;
}

}  // namespace camfolder
