// Size rules of the picture conversion: which size a converted picture gets,
// how it is fitted without enlarging, and the reduced scale a large picture
// can be decoded at.
#pragma once

#include <cstdint>
#include <string_view>

#include "list_text.h"

struct PictureSize {
  uint16_t width = 0;
  uint16_t height = 0;
  friend bool operator==(const PictureSize &, const PictureSize &) = default;
};

// The size wanted for a picture: the requested size when both sides are
// given; the picture's own size up to 640 x 480 pixels (else its longer side
// 640) when neither is; with one side given, the larger requested value as the
// longer side. A 0 side means "not given".
PictureSize TargetSize(PictureSize requested, PictureSize picture);

// The picture's size scaled to fit into `target` keeping its proportions and
// never enlarging; a 0 target side stands for the picture's side.
PictureSize FitSize(PictureSize picture, PictureSize target);

// The square whose side is the longer side of `size`: a box that takes the
// picture of that size turned either way.
PictureSize SquareOf(PictureSize size);

// Numerator n of the scale n/8 to decode at: 1 or 2 when the picture reduced
// by 8 or by 4 still covers `target`, else 8 (full size).
int DecodeScale(PictureSize picture, PictureSize target);

// Clockwise turn for an Exif orientation: 0, 90, 180 or 270 degrees.
int TurnAngle(int orientation);

// The picture with its sides exchanged when turned by 90 or 270 degrees.
PictureSize TurnedSize(PictureSize picture, int angle);

// Whether the path names a JPEG picture: extension ".JPG", ".JPE" or ".JPEG",
// letter case ignored.
bool HasJpegExtension(std::string_view path, const TextLocale &locale);
