#include "exif_thumbnail.h"

#include <cstring>

namespace {

constexpr uint8_t kExifId[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr uint16_t kTagCompression = 0x0103;
constexpr uint16_t kTagThumbnailOffset = 0x0201;
constexpr uint16_t kTagThumbnailLength = 0x0202;

void Put16(std::vector<uint8_t> &out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t> &out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v));
  Put16(out, static_cast<uint16_t>(v >> 16));
}
void PutEntry(std::vector<uint8_t> &out, uint16_t tag, uint16_t type, uint32_t value) {
  Put16(out, tag);
  Put16(out, type);
  Put32(out, 1);
  Put32(out, value);
}

// Reads the TIFF structure in either byte order, with bounds checks.
struct Tiff {
  const uint8_t *data;
  size_t size;
  bool little;
  bool Read16(size_t at, uint16_t &v) const {
    if (at > size || size - at < 2) return false;
    v = little ? static_cast<uint16_t>(data[at] | data[at + 1] << 8)
               : static_cast<uint16_t>(data[at] << 8 | data[at + 1]);
    return true;
  }
  bool Read32(size_t at, uint32_t &v) const {
    uint16_t a = 0, b = 0;
    if (!Read16(at, a) || !Read16(at + 2, b)) return false;
    v = little ? (static_cast<uint32_t>(b) << 16 | a) : (static_cast<uint32_t>(a) << 16 | b);
    return true;
  }
};

bool ThumbnailFromTiff(const Tiff &tiff, std::vector<uint8_t> &thumbnail) {
  uint32_t ifd0 = 0;
  uint16_t count = 0;
  if (!tiff.Read32(4, ifd0) || !tiff.Read16(ifd0, count)) return false;
  uint32_t ifd1 = 0;
  if (!tiff.Read32(ifd0 + 2 + 12ull * count, ifd1) || ifd1 == 0 || !tiff.Read16(ifd1, count)) return false;
  uint32_t offset = 0, length = 0;
  for (uint16_t i = 0; i < count; ++i) {
    const size_t entry = ifd1 + 2 + 12ull * i;
    uint16_t tag = 0;
    uint32_t value = 0;
    if (!tiff.Read16(entry, tag) || !tiff.Read32(entry + 8, value)) return false;
    if (tag == kTagThumbnailOffset) offset = value;
    if (tag == kTagThumbnailLength) length = value;
  }
  if (length == 0 || offset > tiff.size || tiff.size - offset < length) return false;
  thumbnail.assign(tiff.data + offset, tiff.data + offset + length);
  return true;
}

}  // namespace

std::vector<uint8_t> WithExifThumbnail(const std::vector<uint8_t> &jpeg, const std::vector<uint8_t> &thumbnail) {
  std::vector<uint8_t> tiff = {'I', 'I', 0x2A, 0};
  Put32(tiff, 8);        // IFD0 right after the TIFF header
  Put16(tiff, 0);        // IFD0 without entries
  Put32(tiff, 14);       // IFD1, the thumbnail's directory
  Put16(tiff, 3);
  const uint32_t thumbnailOffset = 14 + 2 + 3 * 12 + 4;
  PutEntry(tiff, kTagCompression, 3, 6);
  PutEntry(tiff, kTagThumbnailOffset, 4, thumbnailOffset);
  PutEntry(tiff, kTagThumbnailLength, 4, static_cast<uint32_t>(thumbnail.size()));
  Put32(tiff, 0);
  tiff.insert(tiff.end(), thumbnail.begin(), thumbnail.end());

  std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + 2);  // SOI
  const size_t segmentLength = 2 + sizeof kExifId + tiff.size();
  out.push_back(0xFF);
  out.push_back(0xE1);
  out.push_back(static_cast<uint8_t>(segmentLength >> 8));
  out.push_back(static_cast<uint8_t>(segmentLength));
  out.insert(out.end(), kExifId, kExifId + sizeof kExifId);
  out.insert(out.end(), tiff.begin(), tiff.end());
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  return out;
}

bool ExtractExifThumbnail(const std::vector<uint8_t> &jpeg, std::vector<uint8_t> &thumbnail) {
  if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return false;
  size_t at = 2;
  while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
    const uint8_t marker = jpeg[at + 1];
    const size_t length = static_cast<size_t>(jpeg[at + 2]) << 8 | jpeg[at + 3];
    if (marker == 0xDA || length < 2 || jpeg.size() - at - 2 < length) return false;
    const uint8_t *segment = &jpeg[at + 4];
    const size_t segmentSize = length - 2;
    if (marker == 0xE1 && segmentSize > sizeof kExifId + 8 && std::memcmp(segment, kExifId, sizeof kExifId) == 0) {
      const uint8_t *data = segment + sizeof kExifId;
      const Tiff tiff{data, segmentSize - sizeof kExifId, data[0] == 'I'};
      return ThumbnailFromTiff(tiff, thumbnail);
    }
    at += 2 + length;
  }
  return false;
}
