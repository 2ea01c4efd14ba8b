// 24-bit pictures in memory: their size, turning and packing into a DIB.
#pragma once

#include <cstdint>
#include <vector>

#include "picture_size.h"
#include "pixels24.h"

inline PictureSize SizeOf(const Pixels24 &picture) { return {uint16_t(picture.width), uint16_t(picture.height)}; }

// The picture turned clockwise by 0, 90, 180 or 270 degrees.
Pixels24 TurnPixels(const Pixels24 &picture, int angle);

// A packed bottom-up DIB: 40-byte header followed by the rows, last row first.
std::vector<uint8_t> PackDib(const Pixels24 &picture);
