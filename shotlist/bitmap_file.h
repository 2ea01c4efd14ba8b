// Layout of the 24-bit device-independent bitmaps this library makes (40-byte
// header, no colour table) and the file header of a ".bmp" file holding one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "pixels24.h"

constexpr uint32_t kDibHeaderSize = 40;
constexpr size_t kBitmapFileHeaderSize = 14;

// The header of an uncompressed bottom-up bitmap without colour table.
std::array<uint8_t, kDibHeaderSize> DibHeader(uint32_t width, uint32_t height, uint16_t bitsPerPixel);

// The file header for such a bitmap of `dibSize` bytes (header and pixels).
std::array<uint8_t, kBitmapFileHeaderSize> BitmapFileHeader(uint32_t dibSize);

// Width, height (rows either way up) and the offset of the pixels of a
// packed DIB.
struct DibShape {
  uint32_t width = 0;
  uint32_t height = 0;
  size_t pixelOffset = 0;
};

// The shape of a packed DIB held in `size` bytes; nothing unless it is an
// uncompressed 1, 4, 8, 24 or 32-bit bitmap whose colour table and pixels
// fit in those bytes.
std::optional<DibShape> ReadDibShape(const uint8_t *dib, size_t size);
