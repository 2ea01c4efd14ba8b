// Pictures for the Windows tests: JPEG files encoded with WIC, optionally
// with an Exif segment, and bitmaps read back for checking.
#pragma once

#include <windows.h>

#include <string>

#include "exif_segment.h"

struct Color {
  uint8_t blue, green, red;
};
inline const Color kRed{0, 0, 255}, kBlue{255, 0, 0}, kGreen{0, 255, 0};

// A JPEG picture whose top-left quadrant is `corner` and the rest `rest`.
Bytes EncodeJpeg(uint32_t width, uint32_t height, Color corner, Color rest);

// The JPEG with an Exif segment inserted after its start marker.
Bytes WithExif(const Bytes &jpeg, uint16_t orientation, const Bytes &thumbnail = {});

void WriteFileBytes(const std::string &path, const Bytes &bytes);

// A 24-bit bitmap; `valid` is false when the data was not one.
struct BitmapImage {
  bool valid = false;
  int width = 0, height = 0;
  Bytes rows;  // bottom-up, as stored
  // Whether the pixel at (x, y) from the top left is near `color` (JPEG is lossy).
  bool IsNear(int x, int y, Color color) const;
};

// A packed DIB with a 40-byte header.
BitmapImage ParseDib(const uint8_t *dib, size_t size);
// A ".bmp" file: its file header is checked, then its DIB parsed.
BitmapImage ReadBitmapFile(const std::string &path);
