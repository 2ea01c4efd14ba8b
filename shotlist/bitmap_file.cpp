#include "bitmap_file.h"

namespace {

void Put16(uint8_t *p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t *p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

}  // namespace

uint32_t DibStride(uint32_t width, uint16_t bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

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
