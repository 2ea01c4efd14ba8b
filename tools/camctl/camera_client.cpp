#include "camera_client.h"

#include <cstring>

#include "camera_path.h"
#include "output_format.h"
#include "win_raii.h"

namespace {

// Copies count records out of a block the API returned. The block's own size
// is checked so that a count larger than the block cannot read past it.
template <typename Record>
ZLXRESULT CopyRecords(HGLOBAL block, DWORD count, std::vector<Record> &records) {
  unique_hglobal owned(block);
  records.clear();
  if (count == 0) return ZLX_OK;
  if (!owned || GlobalSize(owned.get()) / sizeof(Record) < count) return ZLX_E_GENERAL;
  global_lock locked(owned.get());
  if (!locked) return ZLX_E_NO_MEMORY;
  const auto *first = static_cast<const Record *>(locked.get());
  records.assign(first, first + count);
  return ZLX_OK;
}

ZLXRESULT CopyContents(HGLOBAL block, DWORD length, std::vector<uint8_t> &contents) {
  return CopyRecords(block, length, contents);
}

void SetDataPath(tagZLXDATAINFO &data, const std::string &path) {
  std::strncpy(data.path, path.c_str(), sizeof data.path - 1);
}

// Hands the bytes to the API as movable global memory, which it locks but
// never frees.
ZLXRESULT ToGlobal(const std::vector<uint8_t> &contents, unique_hglobal &block) {
  if (contents.empty()) return ZLX_OK;
  block.reset(GlobalAlloc(GMEM_MOVEABLE, contents.size()));
  if (!block) return ZLX_E_NO_MEMORY;
  global_lock locked(block.get());
  if (!locked) return ZLX_E_NO_MEMORY;
  std::memcpy(locked.get(), contents.data(), contents.size());
  return ZLX_OK;
}

}  // namespace

TransferView MakeTransferView(bool dialog, uint32_t current, uint32_t total) {
  TransferView view;
  if (dialog) {
    view.mode = 3;
    view.progress = {WindowTo32(GetConsoleWindow()), current, total};
  }
  return view;
}

ZLXRESULT GetDriveList(HZLXCAMERA camera, std::vector<tagZLXDRIVELISTENTRY> &drives) {
  DWORD count = 0;
  HGLOBAL list = nullptr;
  const ZLXRESULT result = ZlxGetDriveList(camera, &count, &list);
  if (!ZlxSucceeded(result)) {
    unique_hglobal discarded(list);
    return result;
  }
  return CopyRecords(list, count, drives);
}

ZLXRESULT ListFolder(HZLXCAMERA camera, const std::string &folder, DWORD selector,
                     std::vector<tagZLXFILEINFO> &entries) {
  DWORD count = 0;
  HGLOBAL list = nullptr;
  const ZLXRESULT result = ZlxGetDirectoryList(camera, folder.c_str(), selector, &list, &count);
  if (!ZlxSucceeded(result)) {
    unique_hglobal discarded(list);
    return result;
  }
  return CopyRecords(list, count, entries);
}

ZLXRESULT FindItem(HZLXCAMERA camera, const std::string &path, tagZLXFILEINFO &entry) {
  entry = tagZLXFILEINFO{};
  if (IsDriveRoot(path)) {
    // The root has no entry of its own; asking for its listing checks the drive.
    std::vector<tagZLXFILEINFO> entries;
    const ZLXRESULT result = ListFolder(camera, path, kListFolders, entries);
    if (!ZlxSucceeded(result)) return result;
    std::strncpy(entry.name, path.c_str(), sizeof entry.name - 1);
    entry.attributes = ZLX_ATTR_DIRECTORY;
    return ZLX_OK;
  }
  std::vector<tagZLXFILEINFO> entries;
  const ZLXRESULT result = ListFolder(camera, ParentFolder(path), kListAll, entries);
  if (!ZlxSucceeded(result)) return result;
  const std::string name = LastName(path);
  for (const tagZLXFILEINFO &candidate : entries) {
    if (!SameCameraName(FieldText(candidate.name, sizeof candidate.name), name)) continue;
    // "NAME/" asks for a folder; a file of that name does not answer it.
    if (IsFolderPath(path) && !(candidate.attributes & ZLX_ATTR_DIRECTORY)) break;
    entry = candidate;
    return ZLX_OK;
  }
  return ZLX_E_NOT_FOUND;
}

ZLXRESULT ReceiveContents(HZLXCAMERA camera, const std::string &path, bool thumbnail, TransferView view,
                          std::vector<uint8_t> &contents) {
  tagZLXDATAINFO data{};
  SetDataPath(data, path);
  const ZLXRESULT result = thumbnail ? ZlxReceiveThumbnail(camera, &data, view.mode, &view.progress)
                                     : ZlxReceiveFile(camera, &data, view.mode, &view.progress);
  if (!ZlxSucceeded(result)) {
    unique_hglobal discarded(static_cast<HGLOBAL>(data.data));
    return result;
  }
  return CopyContents(static_cast<HGLOBAL>(data.data), data.length, contents);
}

ZLXRESULT SendContents(HZLXCAMERA camera, const std::string &path, const std::vector<uint8_t> &contents,
                       TransferView view, DWORD writeOption) {
  unique_hglobal block;
  if (const ZLXRESULT prepared = ToGlobal(contents, block); !ZlxSucceeded(prepared)) return prepared;
  tagZLXDATAINFO data{};
  SetDataPath(data, path);
  data.data = block.get();
  data.length = static_cast<uint32_t>(contents.size());
  return ZlxSendFile(camera, &data, view.mode, &view.progress, writeOption);
}

ZLXRESULT ReceiveConfiguration(HZLXCAMERA camera, TransferView view, std::vector<uint8_t> &contents) {
  tagZLXCONFIGDATA config{};
  const ZLXRESULT result = ZlxGetConfiguration(camera, &config, view.mode, &view.progress);
  if (!ZlxSucceeded(result)) {
    unique_hglobal discarded(static_cast<HGLOBAL>(config.data));
    return result;
  }
  return CopyContents(static_cast<HGLOBAL>(config.data), config.length, contents);
}

ZLXRESULT SendConfiguration(HZLXCAMERA camera, const std::vector<uint8_t> &contents, TransferView view) {
  unique_hglobal block;
  if (const ZLXRESULT prepared = ToGlobal(contents, block); !ZlxSucceeded(prepared)) return prepared;
  tagZLXCONFIGDATA config{block.get(), static_cast<uint32_t>(contents.size())};
  return ZlxSetConfiguration(camera, &config, view.mode, &view.progress);
}
