#include "bitmap_file.h"

namespace {

void Put16(uint8_t *p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t *p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
uint16_t Get16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Get32(const uint8_t *p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

constexpr uint32_t kUncompressed = 0;  // BI_RGB

}  // namespace


std::array<uint8_t, kDibHeaderSize> DibHeader(uint32_t width, uint32_t height, uint16_t bitsPerPixel) {
  std::array<uint8_t, kDibHeaderSize> header{};
  Put32(&header[0], kDibHeaderSize);
  Put32(&header[4], width);
  Put32(&header[8], height);
  Put16(&header[12], 1);  // planes
  Put16(&header[14], bitsPerPixel);
  Put32(&header[20], DibStride(width, bitsPerPixel) * height);  // image size
  return header;
}

std::array<uint8_t, kBitmapFileHeaderSize> BitmapFileHeader(uint32_t dibSize) {
  std::array<uint8_t, kBitmapFileHeaderSize> header{'B', 'M'};
  Put32(&header[2], uint32_t(kBitmapFileHeaderSize) + dibSize);
  Put32(&header[10], uint32_t(kBitmapFileHeaderSize + kDibHeaderSize));  // pixels follow the header
  return header;
}

std::optional<DibShape> ReadDibShape(const uint8_t *dib, size_t size) {
  if (!dib || size < kDibHeaderSize) return std::nullopt;
  const uint32_t headerSize = Get32(dib);
  const int32_t width = int32_t(Get32(dib + 4));
  const int32_t height = int32_t(Get32(dib + 8));
  const uint16_t bits = Get16(dib + 14);
  const uint32_t colorsUsed = Get32(dib + 32);
  if (headerSize < kDibHeaderSize || headerSize > size || width <= 0 || height == 0 || height == INT32_MIN ||
      Get16(dib + 12) != 1 || Get32(dib + 16) != kUncompressed ||
      (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)) {
    return std::nullopt;
  }
  const uint64_t tableEntries = colorsUsed != 0 ? colorsUsed : (bits <= 8 ? 1u << bits : 0);
  if (bits <= 8 && tableEntries > (1u << bits)) return std::nullopt;
  const uint32_t rows = uint32_t(height < 0 ? -int64_t(height) : height);
  const uint64_t pixelOffset = uint64_t(headerSize) + tableEntries * 4;
  const uint64_t stride = (uint64_t(uint32_t(width)) * bits + 31) / 32 * 4;
  if (pixelOffset + stride * rows > size) return std::nullopt;
  return DibShape{uint32_t(width), rows, size_t(pixelOffset)};
}
