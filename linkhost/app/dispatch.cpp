#include "dispatch.h"

#include <cstring>

#include "bulk_transfer.h"
#include "camera_link.h"
#include "link_host.h"

namespace linkhost {
namespace {

constexpr char kConfigurationName[] = "ZL1_CONFIGURATION";
constexpr uint32_t kConfigurationFlags = 1;

template <typename Params>
Params *ParamsOf(CommandBlock &block) {
  return block.Holds(sizeof(Params)) ? reinterpret_cast<Params *>(block.Params()) : nullptr;
}

// The contents that follow a send command's fixed fields, checked against
// the block the client really made.
const uint8_t *Contents(CommandBlock &block, size_t offset, uint64_t length) {
  return block.Holds(static_cast<size_t>(offset + length)) && offset + length <= SIZE_MAX ? block.Params() + offset
                                                                                          : nullptr;
}

ZLXRESULT Run(uint32_t code, CommandBlock &block, const TransferContext &transfer) {
  CameraLink &link = Link();
  switch (code) {
    case CMD_OPEN_CAMERA:
      if (auto *p = ParamsOf<OpenCameraParams>(block)) return link.OpenCamera(p->address, p->model, p->protocolVersion);
      break;
    case CMD_CLOSE_CAMERA: return link.CloseCamera();
    case CMD_FORMAT_DRIVE:
      if (auto *p = ParamsOf<FormatDriveParams>(block)) return link.FormatDrive(p->drive);
      break;
    case CMD_GET_DRIVE_LIST:
      if (auto *p = ParamsOf<GetDriveListParams>(block)) return link.GetDriveList(p->clientProcessId, p->count, p->mapping);
      break;
    case CMD_GET_DRIVE_CAPACITY:
      if (auto *p = ParamsOf<DriveValueParams>(block)) return link.GetDriveCapacity(p->drive, p->value);
      break;
    case CMD_GET_DRIVE_FREE:
      if (auto *p = ParamsOf<DriveValueParams>(block)) return link.GetDriveFree(p->drive, p->value);
      break;
    case CMD_CREATE_DIRECTORY:
      if (auto *p = ParamsOf<CreateDirectoryParams>(block)) return link.MakeDirectory(p->parent, p->name);
      break;
    case CMD_ERASE_DIRECTORY:
      if (auto *p = ParamsOf<EraseDirectoryParams>(block))
        return link.EraseDirectory(p->path, p->options, p->stoppedAt, p->count);
      break;
    case CMD_RENAME_DIRECTORY:
      if (auto *p = ParamsOf<RenameParams>(block)) return link.RenameDirectory(p->path, p->newName, p->options);
      break;
    case CMD_SET_DIRECTORY_ATTRIBUTE:
    case CMD_SET_FILE_ATTRIBUTE:
      if (auto *p = ParamsOf<SetAttributeParams>(block)) return link.SetAttribute(p->path, p->attribute);
      break;
    case CMD_COPY_DIRECTORY:
    case CMD_MOVE_DIRECTORY:
      if (auto *p = ParamsOf<CopyMoveParams>(block))
        return link.CopyOrMoveDirectory(code == CMD_MOVE_DIRECTORY, p->source, p->destination, p->options);
      break;
    case CMD_GET_DIRECTORY_LIST:
      if (auto *p = ParamsOf<GetDirectoryListParams>(block))
        return link.GetDirectoryList(p->clientProcessId, p->path, p->kind, p->count, p->mapping);
      break;
    case CMD_GET_DIRECTORY_INFO:
      if (auto *p = ParamsOf<GetDirectoryInfoParams>(block)) return link.GetDirectoryInfo(p->path, p->info);
      break;
    case CMD_ERASE_FILE:
      if (auto *p = ParamsOf<EraseFileParams>(block)) return link.EraseFile(p->path, p->options);
      break;
    case CMD_RENAME_FILE:
      if (auto *p = ParamsOf<RenameParams>(block)) return link.RenameFile(p->path, p->newName, p->options);
      break;
    case CMD_COPY_FILE:
    case CMD_MOVE_FILE:
      if (auto *p = ParamsOf<CopyMoveParams>(block))
        return link.CopyOrMoveFile(code == CMD_MOVE_FILE, p->source, p->destination, p->options);
      break;
    case CMD_GET_FILE_INFO:
      if (auto *p = ParamsOf<GetFileInfoParams>(block)) return link.GetFileInfo(p->path, p->info);
      break;
    case CMD_QUERY_STAMP_SIZE:
      if (auto *p = ParamsOf<QueryStampSizeParams>(block)) return link.QueryStampSize(p->sizes);
      break;
    case CMD_RECEIVE_FILE:
    case CMD_RECEIVE_THUMBNAIL:
      if (auto *p = ParamsOf<ReceiveParams>(block)) {
        const uint32_t opcode = code == CMD_RECEIVE_FILE ? zltp::kReceiveFile : zltp::kReceiveThumbnail;
        return Receive(link.Connection(), opcode, p->clientProcessId, CameraLink::Text(p->path), transfer,
                       p->mapping, p->length);
      }
      break;
    case CMD_GET_CONFIGURATION:
      if (auto *p = ParamsOf<GetConfigurationParams>(block))
        return Receive(link.Connection(), zltp::kReceiveFile, p->clientProcessId, CameraLink::Text(kConfigurationName),
                       transfer, p->mapping, p->length);
      break;
    case CMD_SEND_FILE:
      if (auto *p = ParamsOf<SendFileHeader>(block)) {
        const uint8_t *body = Contents(block, sizeof *p, p->length);
        if (!body) break;
        return Send(link.Connection(), CameraLink::Text(p->path), transfer, body, p->length, p->writeOption);
      }
      break;
    case CMD_SET_CONFIGURATION:
      if (auto *p = ParamsOf<SetConfigurationHeader>(block)) {
        const uint8_t *body = Contents(block, sizeof *p, p->length);
        if (!body) break;
        return Send(link.Connection(), CameraLink::Text(kConfigurationName), transfer, body, p->length,
                    kConfigurationFlags);
      }
      break;
    case CMD_SEND_STAMP:
      if (auto *p = ParamsOf<SendStampHeader>(block)) {
        uint64_t total = 0;
        for (uint32_t size : p->lengths) total += size;
        const uint8_t *body = Contents(block, sizeof *p, total);
        if (!body) break;
        return SendStamp(link.Connection(), transfer, p->number, CameraLink::Text(p->name), p->lengths, body);
      }
      break;
    default:
      return ZLX_E_NOT_SUPPORTED;
  }
  // The block is smaller than the command's own fields: a stale block reused.
  return ZLX_E_NO_MEMORY;
}

}  // namespace
}  // namespace linkhost

TransferCommand DescribeTransfer(uint32_t code, const CommandBlock &block) {
  TransferCommand t;
  size_t modeOffset = 0, progressOffset = 0, fixedSize = 0;
  switch (code) {
    case CMD_RECEIVE_FILE:
    case CMD_RECEIVE_THUMBNAIL:
      modeOffset = offsetof(ReceiveParams, mode), progressOffset = offsetof(ReceiveParams, progress);
      fixedSize = sizeof(ReceiveParams);
      break;
    case CMD_SEND_FILE:
      modeOffset = offsetof(SendFileHeader, mode), progressOffset = offsetof(SendFileHeader, progress);
      fixedSize = sizeof(SendFileHeader);
      break;
    case CMD_SEND_STAMP:
      modeOffset = offsetof(SendStampHeader, mode), progressOffset = offsetof(SendStampHeader, progress);
      fixedSize = sizeof(SendStampHeader);
      break;
    case CMD_GET_CONFIGURATION:
      modeOffset = offsetof(GetConfigurationParams, mode), progressOffset = offsetof(GetConfigurationParams, progress);
      fixedSize = sizeof(GetConfigurationParams);
      break;
    case CMD_SET_CONFIGURATION:
      modeOffset = offsetof(SetConfigurationHeader, mode), progressOffset = offsetof(SetConfigurationHeader, progress);
      fixedSize = sizeof(SetConfigurationHeader);
      break;
    default:
      return t;
  }
  t.isTransfer = true;
  if (!block.Holds(fixedSize)) return t;
  t.valid = true;
  std::memcpy(&t.mode, block.Params() + modeOffset, sizeof t.mode);
  std::memcpy(&t.progress, block.Params() + progressOffset, sizeof t.progress);
  return t;
}

ZLXRESULT RunCommand(uint32_t code, CommandBlock &block, const TransferContext &transfer) {
  return linkhost::Run(code, block, transfer);
}
