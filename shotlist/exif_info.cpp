#include "exif_info.h"

#include <cstring>

namespace {

constexpr uint8_t kMarkerApp1 = 0xE1;
constexpr uint8_t kMarkerStartOfScan = 0xDA;
constexpr uint8_t kMarkerEndOfImage = 0xD9;
constexpr uint16_t kTagOrientation = 0x0112;
constexpr uint16_t kTagThumbnailOffset = 0x0201;
constexpr uint16_t kTagThumbnailLength = 0x0202;
constexpr uint16_t kTypeShort = 3;
constexpr uint16_t kTypeLong = 4;
constexpr size_t kIfdEntrySize = 12;

// The TIFF structure inside the Exif segment, read in its own byte order.
class TiffReader {
 public:
  explicit TiffReader(std::span<const uint8_t> data) : data_(data) {}

  bool ReadHeader(uint32_t &firstIfd) {
    if (data_.size() < 8) return false;
    if (data_[0] == 'I' && data_[1] == 'I') {
      littleEndian_ = true;
    } else if (data_[0] == 'M' && data_[1] == 'M') {
      littleEndian_ = false;
    } else {
      return false;
    }
    uint16_t magic = 0;
    return Read16(2, magic) && magic == 42 && Read32(4, firstIfd);
  }

  // Calls `onEntry(tag, value)` for each entry of the directory at `offset`
  // with a SHORT or LONG value; returns the next directory's offset (0 when
  // none) or nothing when the directory does not fit.
  template <typename OnEntry>
  std::optional<uint32_t> ReadIfd(uint32_t offset, OnEntry onEntry) {
    uint16_t count = 0;
    if (!Read16(offset, count)) return std::nullopt;
    const uint64_t entries = uint64_t(offset) + 2;
    uint32_t next = 0;
    if (!Read32(entries + uint64_t(count) * kIfdEntrySize, next)) return std::nullopt;
    for (uint16_t i = 0; i < count; ++i) {
      const uint64_t entry = entries + uint64_t(i) * kIfdEntrySize;
      uint16_t tag = 0, type = 0;
      Read16(entry, tag);
      Read16(entry + 2, type);
      if (type == kTypeShort) {
        uint16_t value = 0;
        Read16(entry + 8, value);
        onEntry(tag, value);
      } else if (type == kTypeLong) {
        uint32_t value = 0;
        Read32(entry + 8, value);
        onEntry(tag, value);
      }
    }
    return next;
  }

  std::span<const uint8_t> Range(uint32_t offset, uint32_t length) const {
    if (length == 0 || uint64_t(offset) + length > data_.size()) return {};
    return data_.subspan(offset, length);
  }

 private:
  bool Read16(uint64_t at, uint16_t &value) const {
    if (at + 2 > data_.size()) return false;
    const uint8_t *p = data_.data() + at;
    value = littleEndian_ ? uint16_t(p[0] | p[1] << 8) : uint16_t(p[0] << 8 | p[1]);
    return true;
  }
  bool Read32(uint64_t at, uint32_t &value) const {
    if (at + 4 > data_.size()) return false;
    const uint8_t *p = data_.data() + at;
    value = littleEndian_ ? uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24
                          : uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
    return true;
  }

  std::span<const uint8_t> data_;
  bool littleEndian_ = true;
};

std::optional<ExifInfo> ParseTiff(std::span<const uint8_t> tiff) {
  TiffReader reader(tiff);
  uint32_t ifd0 = 0;
  if (!reader.ReadHeader(ifd0)) return std::nullopt;
  ExifInfo info;
  const auto ifd1 = reader.ReadIfd(ifd0, [&](uint16_t tag, uint32_t value) {
    if (tag == kTagOrientation) info.orientation = static_cast<int>(value);
  });
  if (!ifd1) return std::nullopt;
  if (*ifd1 != 0 && *ifd1 != ifd0) {
    uint32_t offset = 0, length = 0;
    reader.ReadIfd(*ifd1, [&](uint16_t tag, uint32_t value) {
      if (tag == kTagThumbnailOffset) offset = value;
      if (tag == kTagThumbnailLength) length = value;
    });
    info.thumbnail = reader.Range(offset, length);
  }
  return info;
}

}  // namespace

std::optional<ExifInfo> ReadExifInfo(std::span<const uint8_t> file) {
  if (file.size() < 4 || file[0] != 0xFF || file[1] != 0xD8) return std::nullopt;
  size_t position = 2;
  while (position + 4 <= file.size()) {
    if (file[position] != 0xFF) return std::nullopt;
    const uint8_t marker = file[position + 1];
    if (marker == 0xFF) {  // fill byte before a marker
      ++position;
      continue;
    }
    if (marker == kMarkerStartOfScan || marker == kMarkerEndOfImage) return std::nullopt;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // markers without a length
      position += 2;
      continue;
    }
    const size_t length = size_t(file[position + 2]) << 8 | file[position + 3];
    if (length < 2 || position + 2 + length > file.size()) return std::nullopt;
    const std::span<const uint8_t> payload = file.subspan(position + 4, length - 2);
    if (marker == kMarkerApp1 && payload.size() >= 6 && std::memcmp(payload.data(), "Exif\0\0", 6) == 0) {
      return ParseTiff(payload.subspan(6));
    }
    position += 2 + length;
  }
  return std::nullopt;
}
