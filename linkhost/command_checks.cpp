#include "command_checks.h"

#include <cstring>

namespace {

template <typename Header>
std::optional<SendCommandArea<Header>> WithContents(const uint8_t *area, size_t capacity, const Header &header,
                                                    uint64_t length) {
  if (length > 0xFFFFFFFFu || sizeof header + length > capacity) return std::nullopt;
  return SendCommandArea<Header>{header, area + sizeof header, static_cast<uint32_t>(length)};
}

template <typename Header>
std::optional<Header> CopyHeader(const uint8_t *area, size_t capacity) {
  if (!area || capacity < sizeof(Header)) return std::nullopt;
  Header header;
  std::memcpy(&header, area, sizeof header);
  return header;
}

}  // namespace

TransferCommand DescribeTransfer(uint32_t code, const uint8_t *area, size_t capacity) {
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
  if (!area || capacity < fixedSize) return t;
  t.valid = true;
  std::memcpy(&t.mode, area + modeOffset, sizeof t.mode);
  std::memcpy(&t.progress, area + progressOffset, sizeof t.progress);
  return t;
}

std::optional<std::string> FieldText(const char *chars, size_t field, size_t limit) {
  if (!chars) return std::nullopt;
  const size_t length = strnlen(chars, field);
  if (length == field || length > limit) return std::nullopt;
  return std::string(chars, length);
}

std::optional<SendCommandArea<SendFileHeader>> CheckSendFile(const uint8_t *area, size_t capacity) {
  const auto header = CopyHeader<SendFileHeader>(area, capacity);
  if (!header) return std::nullopt;
  return WithContents(area, capacity, *header, header->length);
}

std::optional<SendCommandArea<SetConfigurationHeader>> CheckSetConfiguration(const uint8_t *area, size_t capacity) {
  const auto header = CopyHeader<SetConfigurationHeader>(area, capacity);
  if (!header) return std::nullopt;
  return WithContents(area, capacity, *header, header->length);
}

std::optional<SendCommandArea<SendStampHeader>> CheckSendStamp(const uint8_t *area, size_t capacity) {
  const auto header = CopyHeader<SendStampHeader>(area, capacity);
  if (!header) return std::nullopt;
  uint64_t total = 0;
  for (uint32_t length : header->lengths) total += length;
  return WithContents(area, capacity, *header, total);
}
