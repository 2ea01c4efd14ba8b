#include "dispatch.h"

#include <exception>

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
    // The contents stay in the block; the header with their length is the
    // checked copy, since the client can still write to the block.
    case CMD_SEND_FILE:
      if (const auto c = CheckSendFile(block.Params(), block.ParamsCapacity()))
        return Send(link.Connection(), CameraLink::Text(c->header.path), transfer, c->contents, c->length,
                    c->header.writeOption);
      break;
    case CMD_SET_CONFIGURATION:
      if (const auto c = CheckSetConfiguration(block.Params(), block.ParamsCapacity()))
        return Send(link.Connection(), CameraLink::Text(kConfigurationName), transfer, c->contents, c->length,
                    kConfigurationFlags);
      break;
    case CMD_SEND_STAMP:
      if (const auto c = CheckSendStamp(block.Params(), block.ParamsCapacity()))
        return SendStamp(link.Connection(), transfer, c->header.number, CameraLink::Text(c->header.name),
                         c->header.lengths, c->contents);
      break;
    default:
      return ZLX_E_NOT_SUPPORTED;
  }
  // The block is smaller than the command's own fields: a stale block reused.
  return ZLX_E_NO_MEMORY;
}

}  // namespace
}  // namespace linkhost

ZLXRESULT RunCommand(uint32_t code, CommandBlock &block, const TransferContext &transfer) {
  // No exception may end the link host: a camera or client that makes an
  // operation run out of memory gets an answer instead.
  try {
    return linkhost::Run(code, block, transfer);
  } catch (const std::exception &) {
    return ZLX_E_NO_MEMORY;
  }
}
