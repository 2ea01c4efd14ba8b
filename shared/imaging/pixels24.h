// Pixels of a 24-bit picture in memory, top row first, blue-green-red, rows
// padded to 4 bytes as in a device-independent bitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Bytes of one row of a DIB with this width and bit count, padded to 4.
constexpr uint32_t DibStride(uint32_t width, uint32_t bitCount) {
  return static_cast<uint32_t>(((uint64_t{width} * bitCount + 31) / 32) * 4);
}

struct Pixels24 {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> data;  // height rows of Stride() bytes

  Pixels24() = default;
  Pixels24(uint32_t w, uint32_t h) : width(w), height(h), data(size_t{DibStride(w, 24)} * h) {}
  uint32_t Stride() const { return DibStride(width, 24); }
  uint8_t *Pixel(uint32_t x, uint32_t y) { return data.data() + size_t{y} * Stride() + size_t{x} * 3; }
  const uint8_t *Pixel(uint32_t x, uint32_t y) const { return data.data() + size_t{y} * Stride() + size_t{x} * 3; }
};
