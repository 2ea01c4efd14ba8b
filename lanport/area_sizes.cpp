#include "area_sizes.h"

#include "command_layout.h"

namespace {

// The largest parameter area whose command block (8 more bytes) a 32-bit
// size still describes.
constexpr uint64_t kLargestArea = 0xFFFFFFFFu - kCommandHeaderSize;

std::optional<uint32_t> Fitting(uint64_t size) {
  if (size > kLargestArea) return std::nullopt;
  return static_cast<uint32_t>(size);
}

}  // namespace

std::optional<uint32_t> ContentsAreaSize(uint32_t dataLength) {
  static_assert(sizeof(SendFileHeader) + kSendFileTrailer == sizeof(SetConfigurationHeader) + kSetConfigurationTrailer);
  return Fitting(uint64_t{dataLength} + sizeof(SendFileHeader) + kSendFileTrailer);
}

std::optional<uint32_t> StampAreaSize(const uint32_t (&partLengths)[ZLX_STAMP_PARTS]) {
  uint64_t total = sizeof(SendStampHeader) + kSendStampTrailer;
  for (uint32_t length : partLengths) total += length;
  return Fitting(total);
}
