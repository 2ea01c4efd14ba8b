// Pixels of a 24-bit picture in memory, top row first, rows padded to 4
// bytes as in a device-independent bitmap; turning and packing into a DIB.
#pragma once

#include <cstdint>
#include <vector>

#include "picture_size.h"

struct Pixels24 {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> data;  // height rows of Stride() bytes

  Pixels24() = default;
  Pixels24(uint32_t w, uint32_t h);
  uint32_t Stride() const;
  PictureSize Size() const { return {uint16_t(width), uint16_t(height)}; }
  uint8_t *Pixel(uint32_t x, uint32_t y) { return data.data() + size_t(y) * Stride() + size_t(x) * 3; }
  const uint8_t *Pixel(uint32_t x, uint32_t y) const { return data.data() + size_t(y) * Stride() + size_t(x) * 3; }
};

// The picture turned clockwise by 0, 90, 180 or 270 degrees.
Pixels24 TurnPixels(const Pixels24 &picture, int angle);

// A packed bottom-up DIB: 40-byte header followed by the rows, last row first.
std::vector<uint8_t> PackDib(const Pixels24 &picture);
