#include "zl1_socket_device.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

#include "area_sizes.h"
#include "channel_names.h"
#include "command_client.h"
#include "command_layout.h"
#include "shared_memory.h"
#include "win_raii.h"

namespace {

constexpr size_t kAddressMax = 15;
constexpr size_t kStampNameMax = 16;
constexpr DWORD kLinkHostStartPause = 2000;

// The high half of a result with a new code in the low half.
ZLXRESULT WithCode(ZLXRESULT result, uint16_t code) { return (result & 0xFFFF0000u) | code; }
ZLXRESULT Success(ZLXRESULT result) { return result & 0xFFFF0000u; }

ZLXRESULT CheckPath(const char *path) {
  if (!path) return ZLX_E_INVALID_PARAMETER;
  return strnlen(path, ZLX_PATH_MAX + 1) > ZLX_PATH_MAX ? ZLX_E_INVALID_NAME : ZLX_OK;
}

ZLXRESULT CheckName(const char *name) {
  if (!name) return ZLX_E_INVALID_PARAMETER;
  return strnlen(name, ZLX_NAME_MAX + 1) > ZLX_NAME_MAX ? ZLX_E_INVALID_NAME : ZLX_OK;
}

// Transfer mode 0 runs without dialog and may come without progress
// parameters; modes 2 and 3 show the link host's dialog and need them.
ZLXRESULT CheckTransfer(WORD mode, const void *progress, ProgressFields &fields) {
  if (mode != 0 && mode != 2 && mode != 3) return ZLX_E_INVALID_PARAMETER;
  if (mode != 0 && !progress) return ZLX_E_INVALID_PARAMETER;
  fields = {};
  if (progress) std::memcpy(&fields, progress, sizeof fields);
  return ZLX_OK;
}

bool TakeClientProcessId(uint32_t &pid) {
  pid = GetCurrentProcessId();
  return pid != 0;
}

// Closes a mapping handle that a reply carried but that will not be read.
void DropMapping(uint32_t mapping) {
  if (mapping) CloseHandle(HandleFrom32(mapping));
}

// Copies a list of count entries of entrySize bytes out of a reply's mapping.
HGLOBAL TakeEntries(uint32_t mapping, uint32_t count, size_t entrySize) {
  const uint64_t bytes = uint64_t{count} * entrySize;
  if (bytes > 0xFFFFFFFFu) {
    DropMapping(mapping);
    return nullptr;
  }
  return TakeResultMapping(mapping, static_cast<uint32_t>(bytes));
}

// Turns received contents into the caller's global memory: a length of zero
// is a success without memory; a reply that promises bytes it cannot deliver
// keeps its high half with 0xFF87.
ZLXRESULT TakeContents(ZLXRESULT result, uint32_t mapping, uint32_t length, ZLXGLOBAL &data, uint32_t &dataLength) {
  if (!ZlxSucceeded(result)) return result;
  if (length == 0) {
    DropMapping(mapping);
    return Success(result);
  }
  if (mapping == 0) return WithCode(result, ZLX_E_NO_MEMORY);
  HGLOBAL contents = TakeResultMapping(mapping, length);
  if (!contents) return WithCode(result, ZLX_E_NO_MEMORY);
  data = contents;
  dataLength = length;
  return Success(result);
}

// Copies the first length bytes of a caller's global memory: a block that
// cannot be locked gives 0xFF87, one smaller than the length the caller
// claims 0xFF4A rather than a read past its end.
ZLXRESULT CopyFromCaller(HGLOBAL source, uint32_t length, uint8_t *target) {
  if (length == 0) return ZLX_OK;
  global_lock bytes(source);
  if (!bytes) return ZLX_E_NO_MEMORY;
  if (GlobalSize(source) < length) return ZLX_E_INVALID_PARAMETER;
  std::memcpy(target, bytes.get(), length);
  return ZLX_OK;
}

void CopyField(char *field, size_t fieldSize, const char *text) {
  std::memset(field, 0, fieldSize);
  std::memcpy(field, text, strnlen(text, fieldSize - 1));
}

}  // namespace

CZl1SocketDevice::CZl1SocketDevice() : m_deviceKey{}, m_commandTimeout(kDefaultCommandTimeout) {}

CZl1SocketDevice::CZl1SocketDevice(const CZl1SocketDevice &other)
    : CLogicalDevice(other), m_commandTimeout(other.m_commandTimeout) {
  std::memcpy(m_deviceKey, other.m_deviceKey, sizeof m_deviceKey);
}

CZl1SocketDevice &CZl1SocketDevice::operator=(const CZl1SocketDevice &other) {
  CLogicalDevice::operator=(other);
  std::memcpy(m_deviceKey, other.m_deviceKey, sizeof m_deviceKey);
  m_commandTimeout = other.m_commandTimeout;
  return *this;
}

CZl1SocketDevice::~CZl1SocketDevice() = default;

ZLXRESULT CZl1SocketDevice::Send(uint32_t code, void *params, uint32_t size) {
  return SendCommand(m_deviceKey, code, params, size, m_commandTimeout);
}

ZLXRESULT CZl1SocketDevice::_ZlxInitialize(DWORD, DWORD) { return ZLX_OK; }

ZLXRESULT CZl1SocketDevice::_ZlxOpenCamera(tagZLXMODEL *model, void *address, CSharedMemory *block,
                                           tagZLXCONNECTIONINFO *info) {
  const char *text = static_cast<const char *>(address);
  if (!model || !text || strnlen(text, kAddressMax + 1) > kAddressMax) return ZLX_E_INVALID_PARAMETER;
  const auto key = DeviceKey(text);
  if (!key) return ZLX_E_INVALID_PARAMETER;
  CopyField(m_deviceKey, sizeof m_deviceKey, key->c_str());

  OpenCameraParams params{};
  std::memcpy(params.address, text, std::strlen(text));
  ZLXRESULT result = Send(CMD_OPEN_CAMERA, &params, sizeof params);
  if (result == ZLX_E_NOT_CONNECTED) {
    const auto started = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "linkhost.exe", text, "",
                                                                 SW_SHOWNORMAL));
    if (started <= 32) return ZLX_E_NOT_CONNECTED;
    Sleep(kLinkHostStartPause);
    result = Send(CMD_OPEN_CAMERA, &params, sizeof params);
  }
  if (!ZlxSucceeded(result)) return result;

  model->model = params.model;
  model->protocolVersion = params.protocolVersion;
  if (block) {
    if (!info) {
      // Nobody could ever close this link: end it again.
      Send(CMD_CLOSE_CAMERA, nullptr, 0);
      return ZLX_E_INVALID_PARAMETER;
    }
    info->commandTimeout = m_commandTimeout;
    CopyField(info->deviceKey, sizeof info->deviceKey, m_deviceKey);
    if (m_connectionInfo != block) delete m_connectionInfo;
    m_connectionInfo = block;
  }
  return Success(result);
}

ZLXRESULT CZl1SocketDevice::_ZlxSetConnection(tagZLXCONNECTIONINFO *info, CSharedMemory *block) {
  if (!info || !block) return ZLX_E_INVALID_PARAMETER;
  if (m_connectionInfo != block) delete m_connectionInfo;
  CopyField(m_deviceKey, sizeof m_deviceKey, info->deviceKey);
  m_connectionInfo = block;
  return ZLX_OK;
}

ZLXRESULT CZl1SocketDevice::_ZlxGetConnection(void *address, tagZLXCONNECTIONDATA *data) {
  if (!address || !data) return ZLX_E_INVALID_PARAMETER;
  const auto key = DeviceKey(static_cast<const char *>(address));
  const auto name = ConnectionInfoName(key ? *key : std::string());
  CopyField(data->blockName, sizeof data->blockName, name ? name->c_str() : "_CONNECTION_INFO");
  data->blockSize = sizeof(tagZLXCONNECTIONINFO);
  return ZLX_OK;
}

ZLXRESULT CZl1SocketDevice::_ZlxCloseCamera() { return Send(CMD_CLOSE_CAMERA, nullptr, 0); }

ZLXRESULT CZl1SocketDevice::_ZlxFormatDrive(BYTE drive) {
  if (drive == 0) return ZLX_E_CANNOT_FORMAT;
  if (drive > 2) return ZLX_E_INVALID_PARAMETER;
  FormatDriveParams params{drive};
  return Send(CMD_FORMAT_DRIVE, &params, sizeof params);
}

ZLXRESULT CZl1SocketDevice::_ZlxGetDriveList(DWORD *count, HGLOBAL *list) {
  if (!count || !list) return ZLX_E_INVALID_PARAMETER;
  GetDriveListParams params{};
  if (!TakeClientProcessId(params.clientProcessId)) return ZLX_E_GENERAL;
  const ZLXRESULT result = Send(CMD_GET_DRIVE_LIST, &params, sizeof params);
  if (!ZlxSucceeded(result)) return result;
  if (params.count == 0 || params.mapping == 0) {
    DropMapping(params.mapping);
    return WithCode(result, ZLX_E_GENERAL);
  }
  HGLOBAL entries = TakeEntries(params.mapping, params.count, sizeof(tagZLXDRIVELISTENTRY));
  if (!entries) return WithCode(result, ZLX_E_NO_MEMORY);
  *list = entries;
  *count = params.count;
  return Success(result);
}

ZLXRESULT CZl1SocketDevice::_ZlxGetDriveInfo(BYTE drive, tagZLXDRIVEINFO *info) {
  if (!info) return ZLX_E_INVALID_PARAMETER;
  *info = {};
  if (drive > 2) return ZLX_E_INVALID_PARAMETER;
  DWORD capacity = 0, freeSpace = 0;
  ZLXRESULT result = _ZlxGetDriveCapacity(drive, &capacity);
  if (!ZlxSucceeded(result)) return result;
  result = _ZlxGetDriveFree(drive, &freeSpace);
  if (!ZlxSucceeded(result)) return result;
  info->capacity = capacity;
  info->freeSpace = freeSpace;
  return Success(result);
}

ZLXRESULT CZl1SocketDevice::GetDriveValue(uint32_t code, BYTE drive, DWORD *value) {
  if (!value) return ZLX_E_INVALID_PARAMETER;
  *value = 0;
  if (drive > 2) return ZLX_E_INVALID_PARAMETER;
  DriveValueParams params{};
  params.drive = drive;
  const ZLXRESULT result = Send(code, &params, sizeof params);
  if (ZlxSucceeded(result)) *value = params.value;
  return result;
}

ZLXRESULT CZl1SocketDevice::_ZlxGetDriveCapacity(BYTE drive, DWORD *capacity) {
  return GetDriveValue(CMD_GET_DRIVE_CAPACITY, drive, capacity);
}

ZLXRESULT CZl1SocketDevice::_ZlxGetDriveFree(BYTE drive, DWORD *freeSpace) {
  return GetDriveValue(CMD_GET_DRIVE_FREE, drive, freeSpace);
}

// Commands made of a path and a fixed tail of fields after it.
ZLXRESULT CZl1SocketDevice::SendPathCommand(uint32_t code, const char *path, const void *tail, size_t tailSize,
                                            size_t paramSize) {
  if (const ZLXRESULT r = CheckPath(path)) return r;
  std::vector<uint8_t> params(paramSize);
  std::memcpy(params.data(), path, std::strlen(path));
  if (tailSize) std::memcpy(params.data() + kChannelPathField, tail, tailSize);
  return Send(code, params.data(), static_cast<uint32_t>(params.size()));
}

ZLXRESULT CZl1SocketDevice::_ZlxCreateDirectory(const char *parentPath, const char *name) {
  if (const ZLXRESULT r = CheckPath(parentPath)) return r;
  if (const ZLXRESULT r = CheckName(name)) return r;
  CreateDirectoryParams params{};
  std::memcpy(params.parent, parentPath, std::strlen(parentPath));
  std::memcpy(params.name, name, std::strlen(name));
  return Send(CMD_CREATE_DIRECTORY, &params, sizeof params);
}

ZLXRESULT CZl1SocketDevice::_ZlxEraseDirectory(const char *path, DWORD options, char *stoppedAt,
                                               DWORD stoppedAtLength, LONG *count) {
  if (const ZLXRESULT r = CheckPath(path)) return r;
  // The link host's failure details are never carried back: the outputs stay empty.
  if (stoppedAt && stoppedAtLength > 0) stoppedAt[0] = '\0';
  if (count) *count = 0;
  EraseDirectoryParams params{};
  std::memcpy(params.path, path, std::strlen(path));
  params.options = options;
  return Send(CMD_ERASE_DIRECTORY, &params, sizeof params);
}

ZLXRESULT CZl1SocketDevice::Rename(uint32_t code, const char *path, const char *newName, DWORD options) {
  if (const ZLXRESULT r = CheckPath(path)) return r;
  if (const ZLXRESULT r = CheckName(newName)) return r;
  RenameParams params{};
  std::memcpy(params.path, path, std::strlen(path));
  std::memcpy(params.newName, newName, std::strlen(newName));
  params.options = options;
  return Send(code, &params, sizeof params);
}

ZLXRESULT CZl1SocketDevice::_ZlxRenameDirectory(const char *path, const char *newName, DWORD options) {
  return Rename(CMD_RENAME_DIRECTORY, path, newName, options);
}

ZLXRESULT CZl1SocketDevice::SetAttribute(uint32_t code, const char *path, DWORD attribute) {
  const uint8_t low = static_cast<uint8_t>(attribute);
  return SendPathCommand(code, path, &low, 1, sizeof(SetAttributeParams));
}

ZLXRESULT CZl1SocketDevice::_ZlxSetDirectoryAttribute(const char *path, DWORD attribute) {
  return SetAttribute(CMD_SET_DIRECTORY_ATTRIBUTE, path, attribute);
}

ZLXRESULT CZl1SocketDevice::CopyOrMove(uint32_t code, const char *source, const char *destination,
                                       DWORD options) {
  if (const ZLXRESULT r = CheckPath(source)) return r;
  if (const ZLXRESULT r = CheckPath(destination)) return r;
  CopyMoveParams params{};
  std::memcpy(params.source, source, std::strlen(source));
  std::memcpy(params.destination, destination, std::strlen(destination));
  params.options = options;
  return Send(code, &params, sizeof params);
}

ZLXRESULT CZl1SocketDevice::_ZlxCopyDirectory(const char *source, const char *destination, DWORD options) {
  return CopyOrMove(CMD_COPY_DIRECTORY, source, destination, options);
}

ZLXRESULT CZl1SocketDevice::_ZlxMoveDirectory(const char *source, const char *destination, DWORD options) {
  return CopyOrMove(CMD_MOVE_DIRECTORY, source, destination, options);
}

ZLXRESULT CZl1SocketDevice::_ZlxGetDirectoryList(const char *path, DWORD selector, HGLOBAL *list, DWORD *count) {
  if (list) *list = nullptr;
  if (count) *count = 0;
  if (!path || !list || !count) return ZLX_E_INVALID_PARAMETER;
  if (const ZLXRESULT r = CheckPath(path)) return r;
  GetDirectoryListParams params{};
  if (!TakeClientProcessId(params.clientProcessId)) return ZLX_E_GENERAL;
  std::memcpy(params.path, path, std::strlen(path));
  params.kind = static_cast<uint8_t>(selector);
  const ZLXRESULT result = Send(CMD_GET_DIRECTORY_LIST, &params, sizeof params);
  if (!ZlxSucceeded(result)) return result;
  if (params.count == 0) {
    DropMapping(params.mapping);
    return Success(result);
  }
  if (params.mapping == 0) return WithCode(result, ZLX_E_NO_MEMORY);
  HGLOBAL entries = TakeEntries(params.mapping, params.count, sizeof(tagZLXFILEINFO));
  if (!entries) return WithCode(result, ZLX_E_NO_MEMORY);
  *list = entries;
  *count = params.count;
  return Success(result);
}

ZLXRESULT CZl1SocketDevice::_ZlxGetDirectoryInfo(const char *path, tagZLXDIRINFO *info) {
  if (!path || !info) return ZLX_E_INVALID_PARAMETER;
  if (const ZLXRESULT r = CheckPath(path)) return r;
  GetDirectoryInfoParams params{};
  std::memcpy(params.path, path, std::strlen(path));
  const ZLXRESULT result = Send(CMD_GET_DIRECTORY_INFO, &params, sizeof params);
  if (ZlxSucceeded(result)) *info = params.info;
  return result;
}

ZLXRESULT CZl1SocketDevice::_ZlxEraseFile(const char *path, DWORD options) {
  return SendPathCommand(CMD_ERASE_FILE, path, &options, sizeof options, sizeof(EraseFileParams));
}

ZLXRESULT CZl1SocketDevice::_ZlxRenameFile(const char *path, const char *newName, DWORD options) {
  return Rename(CMD_RENAME_FILE, path, newName, options);
}

ZLXRESULT CZl1SocketDevice::_ZlxSetFileAttribute(const char *path, DWORD attribute) {
  return SetAttribute(CMD_SET_FILE_ATTRIBUTE, path, attribute);
}

ZLXRESULT CZl1SocketDevice::_ZlxCopyFile(const char *source, const char *destination, DWORD options) {
  return CopyOrMove(CMD_COPY_FILE, source, destination, options);
}

ZLXRESULT CZl1SocketDevice::_ZlxMoveFile(const char *source, const char *destination, DWORD options) {
  return CopyOrMove(CMD_MOVE_FILE, source, destination, options);
}

ZLXRESULT CZl1SocketDevice::_ZlxGetFileInfo(const char *path, tagZLXFILEINFO *info) {
  if (!path || !info) return ZLX_E_INVALID_PARAMETER;
  if (const ZLXRESULT r = CheckPath(path)) return r;
  GetFileInfoParams params{};
  std::memcpy(params.path, path, std::strlen(path));
  const ZLXRESULT result = Send(CMD_GET_FILE_INFO, &params, sizeof params);
  if (ZlxSucceeded(result)) *info = params.info;
  return result;
}

ZLXRESULT CZl1SocketDevice::Receive(uint32_t code, tagZLXDATAINFO *data, WORD mode, void *progress) {
  if (!data) return ZLX_E_INVALID_PARAMETER;
  data->data = nullptr;
  data->length = 0;
  ReceiveParams params{};
  if (const ZLXRESULT r = CheckTransfer(mode, progress, params.progress)) return r;
  if (const ZLXRESULT r = CheckPath(data->path)) return r;
  if (!TakeClientProcessId(params.clientProcessId)) return ZLX_E_GENERAL;
  std::memcpy(params.path, data->path, std::strlen(data->path));
  params.mode = mode;
  const ZLXRESULT result = Send(code, &params, sizeof params);
  return TakeContents(result, params.mapping, params.length, data->data, data->length);
}

ZLXRESULT CZl1SocketDevice::_ZlxReceiveFile(tagZLXDATAINFO *data, WORD mode, void *progress) {
  return Receive(CMD_RECEIVE_FILE, data, mode, progress);
}

ZLXRESULT CZl1SocketDevice::_ZlxReceiveThumbnail(tagZLXDATAINFO *data, WORD mode, void *progress) {
  return Receive(CMD_RECEIVE_THUMBNAIL, data, mode, progress);
}

ZLXRESULT CZl1SocketDevice::SendArea(uint32_t code, HGLOBAL area, uint32_t size) {
  global_lock bytes(area);
  if (!bytes) return ZLX_E_NO_MEMORY;
  return Send(code, bytes.get(), size);
}

ZLXRESULT CZl1SocketDevice::_ZlxSendFile(tagZLXDATAINFO *data, WORD mode, void *progress, DWORD writeOption) {
  if (!data || (data->length != 0 && !data->data)) return ZLX_E_INVALID_PARAMETER;
  SendFileHeader header{};
  if (const ZLXRESULT r = CheckTransfer(mode, progress, header.progress)) return r;
  if (writeOption != 1 && writeOption != 2 && writeOption != 4) return ZLX_E_INVALID_PARAMETER;
  if (const ZLXRESULT r = CheckPath(data->path)) return r;
  const auto size = ContentsAreaSize(data->length);
  if (!size) return ZLX_E_INVALID_PARAMETER;
  unique_hglobal area(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, *size));
  if (!area) return ZLX_E_NO_MEMORY;
  {
    global_lock bytes(area.get());
    if (!bytes) return ZLX_E_NO_MEMORY;
    auto *p = static_cast<uint8_t *>(bytes.get());
    std::memcpy(header.path, data->path, std::strlen(data->path));
    header.length = data->length;
    header.mode = mode;
    header.writeOption = writeOption;
    std::memcpy(p, &header, sizeof header);
    if (const ZLXRESULT r = CopyFromCaller(data->data, data->length, p + sizeof header)) return r;
  }
  return SendArea(CMD_SEND_FILE, area.get(), *size);
}

ZLXRESULT CZl1SocketDevice::_ZlxQueryStampSize(void *sizes) {
  if (!sizes) return ZLX_E_INVALID_PARAMETER;
  QueryStampSizeParams params{};
  const ZLXRESULT result = Send(CMD_QUERY_STAMP_SIZE, &params, sizeof params);
  if (ZlxSucceeded(result)) std::memcpy(sizes, &params, sizeof params);
  return result;
}

ZLXRESULT CZl1SocketDevice::_ZlxSendStamp(void *stampRecord, WORD mode, void *progress) {
  auto *stamp = static_cast<tagZLXSTAMP *>(stampRecord);
  if (!stamp) return ZLX_E_INVALID_PARAMETER;
  uint32_t lengths[ZLX_STAMP_PARTS];
  for (int i = 0; i < ZLX_STAMP_PARTS; ++i) {
    const tagZLXSTAMPPART &part = stamp->parts[i];
    if (part.length != 0 && !part.data) return ZLX_E_INVALID_PARAMETER;
    lengths[i] = part.length;
  }
  SendStampHeader header{};
  if (const ZLXRESULT r = CheckTransfer(mode, progress, header.progress)) return r;
  const size_t nameLength = strnlen(stamp->name, sizeof stamp->name);
  if (nameLength > kStampNameMax) return ZLX_E_INVALID_PARAMETER;
  const auto size = StampAreaSize(lengths);
  if (!size) return ZLX_E_INVALID_PARAMETER;
  unique_hglobal area(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, *size));
  if (!area) return ZLX_E_NO_MEMORY;
  {
    global_lock bytes(area.get());
    if (!bytes) return ZLX_E_NO_MEMORY;
    auto *p = static_cast<uint8_t *>(bytes.get());
    header.number = stamp->number;
    std::memcpy(header.name, stamp->name, nameLength);
    std::memcpy(header.lengths, lengths, sizeof lengths);
    header.mode = mode;
    std::memcpy(p, &header, sizeof header);
    size_t offset = sizeof header;
    for (int i = 0; i < ZLX_STAMP_PARTS; ++i) {
      if (const ZLXRESULT r = CopyFromCaller(stamp->parts[i].data, lengths[i], p + offset)) return r;
      offset += lengths[i];
    }
  }
  return SendArea(CMD_SEND_STAMP, area.get(), *size);
}

ZLXRESULT CZl1SocketDevice::_ZlxGetConfiguration(void *descriptor, WORD mode, void *progress) {
  auto *config = static_cast<tagZLXCONFIGDATA *>(descriptor);
  if (!config) return ZLX_E_INVALID_PARAMETER;
  *config = {};
  GetConfigurationParams params{};
  if (const ZLXRESULT r = CheckTransfer(mode, progress, params.progress)) return r;
  if (!TakeClientProcessId(params.clientProcessId)) return ZLX_E_GENERAL;
  params.mode = mode;
  const ZLXRESULT result = Send(CMD_GET_CONFIGURATION, &params, sizeof params);
  return TakeContents(result, params.mapping, params.length, config->data, config->length);
}

ZLXRESULT CZl1SocketDevice::_ZlxSetConfiguration(void *descriptor, WORD mode, void *progress) {
  auto *config = static_cast<tagZLXCONFIGDATA *>(descriptor);
  if (!config || !config->data || config->length == 0) return ZLX_E_INVALID_PARAMETER;
  SetConfigurationHeader header{};
  if (const ZLXRESULT r = CheckTransfer(mode, progress, header.progress)) return r;
  const auto size = ContentsAreaSize(config->length);
  if (!size) return ZLX_E_INVALID_PARAMETER;
  unique_hglobal area(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, *size));
  if (!area) return ZLX_E_NO_MEMORY;
  {
    global_lock bytes(area.get());
    if (!bytes) return ZLX_E_NO_MEMORY;
    auto *p = static_cast<uint8_t *>(bytes.get());
    header.length = config->length;
    header.mode = mode;
    std::memcpy(p, &header, sizeof header);
    if (const ZLXRESULT r = CopyFromCaller(config->data, config->length, p + sizeof header)) return r;
  }
  return SendArea(CMD_SET_CONFIGURATION, area.get(), *size);
}
