// Small real JPEG pictures and thumbnails for the sample card.
#pragma once

#include <cstdint>
#include <vector>

extern const std::vector<uint8_t> kPictureA;    // 320 x 240
extern const std::vector<uint8_t> kThumbnailA;  // 40 x 30
extern const std::vector<uint8_t> kPictureB;    // 160 x 120
extern const std::vector<uint8_t> kThumbnailB;  // 40 x 30
