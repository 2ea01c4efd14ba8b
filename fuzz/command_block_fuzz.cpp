// The link host's checks of a command block that a client process made: a
// command code and a parameter area of any size and content.
#include <array>
#include <cstring>
#include <vector>

#include "command_checks.h"
#include "command_layout.h"
#include "fuzz_input.h"
#include "zlx_records.h"

namespace {

constexpr std::array<uint32_t, 27> kCodes = {
    CMD_OPEN_CAMERA, CMD_CLOSE_CAMERA, CMD_FORMAT_DRIVE, CMD_GET_DRIVE_LIST, CMD_GET_DRIVE_CAPACITY,
    CMD_GET_DRIVE_FREE, CMD_CREATE_DIRECTORY, CMD_ERASE_DIRECTORY, CMD_RENAME_DIRECTORY,
    CMD_SET_DIRECTORY_ATTRIBUTE, CMD_COPY_DIRECTORY, CMD_MOVE_DIRECTORY, CMD_GET_DIRECTORY_LIST,
    CMD_GET_DIRECTORY_INFO, CMD_ERASE_FILE, CMD_RENAME_FILE, CMD_SET_FILE_ATTRIBUTE, CMD_COPY_FILE, CMD_MOVE_FILE,
    CMD_GET_FILE_INFO, CMD_RECEIVE_FILE, CMD_SEND_FILE, CMD_RECEIVE_THUMBNAIL, CMD_QUERY_STAMP_SIZE, CMD_SEND_STAMP,
    CMD_GET_CONFIGURATION, CMD_SET_CONFIGURATION};

// Every byte of the contents a send command names is read, as the send does.
void ReadContents(const uint8_t *contents, uint32_t length) {
  uint8_t sum = 0;
  for (uint32_t i = 0; i < length; ++i) sum += contents[i];
  Use(sum);
}

// The text fields of a command, each at its offset in the area, with the
// limit the link host applies to it.
template <typename Params>
void Texts(const std::vector<uint8_t> &area, std::initializer_list<std::pair<size_t, size_t>> fields,
           size_t limit) {
  if (area.size() < sizeof(Params)) return;
  for (const auto &[offset, size] : fields)
    Use(FieldText(reinterpret_cast<const char *>(area.data() + offset), size, limit));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput input(data, size);
  const uint8_t pick = input.Byte();
  const uint32_t code = pick < kCodes.size() ? kCodes[pick] : input.Le32();
  const std::vector<uint8_t> area = input.Rest();
  const uint8_t *params = area.empty() ? nullptr : area.data();

  const TransferCommand transfer = DescribeTransfer(code, params, area.size());
  if (transfer.valid && !transfer.isTransfer) __builtin_trap();
  switch (code) {
    case CMD_SEND_FILE:
      if (const auto c = CheckSendFile(params, area.size())) {
        if (sizeof c->header + uint64_t{c->length} > area.size()) __builtin_trap();
        ReadContents(c->contents, c->length);
        Use(FieldText(c->header.path, sizeof c->header.path, ZLX_PATH_MAX));
      }
      break;
    case CMD_SET_CONFIGURATION:
      if (const auto c = CheckSetConfiguration(params, area.size())) ReadContents(c->contents, c->length);
      break;
    case CMD_SEND_STAMP:
      if (const auto c = CheckSendStamp(params, area.size())) {
        uint64_t total = 0;
        for (uint32_t length : c->header.lengths) total += length;
        if (total != c->length) __builtin_trap();
        ReadContents(c->contents, c->length);
        Use(FieldText(c->header.name, sizeof c->header.name, 15));
      }
      break;
    case CMD_OPEN_CAMERA:
      Texts<OpenCameraParams>(area, {{0, 16}}, 15);
      break;
    case CMD_CREATE_DIRECTORY:
      Texts<CreateDirectoryParams>(area, {{0, kChannelPathField}}, ZLX_PATH_MAX - 1);
      Texts<CreateDirectoryParams>(area, {{kChannelPathField, 13}}, ZLX_NAME_MAX);
      break;
    case CMD_RENAME_DIRECTORY:
    case CMD_RENAME_FILE:
      Texts<RenameParams>(area, {{0, kChannelPathField}}, ZLX_PATH_MAX);
      Texts<RenameParams>(area, {{kChannelPathField, 16}}, ZLX_NAME_MAX);
      break;
    case CMD_COPY_DIRECTORY:
    case CMD_MOVE_DIRECTORY:
    case CMD_COPY_FILE:
    case CMD_MOVE_FILE:
      Texts<CopyMoveParams>(area, {{0, kChannelPathField}, {kChannelPathField, kChannelPathField}}, ZLX_PATH_MAX);
      break;
    case CMD_GET_DIRECTORY_LIST:
      Texts<GetDirectoryListParams>(area, {{offsetof(GetDirectoryListParams, path), kChannelPathField}},
                                    ZLX_PATH_MAX);
      break;
    case CMD_RECEIVE_FILE:
    case CMD_RECEIVE_THUMBNAIL:
      Texts<ReceiveParams>(area, {{offsetof(ReceiveParams, path), kChannelPathField}}, ZLX_PATH_MAX);
      break;
    case CMD_ERASE_DIRECTORY:
    case CMD_SET_DIRECTORY_ATTRIBUTE:
    case CMD_SET_FILE_ATTRIBUTE:
    case CMD_GET_DIRECTORY_INFO:
    case CMD_ERASE_FILE:
    case CMD_GET_FILE_INFO:
      Texts<SetAttributeParams>(area, {{0, kChannelPathField}}, ZLX_PATH_MAX);
      break;
    default:
      break;
  }
  return 0;
}
