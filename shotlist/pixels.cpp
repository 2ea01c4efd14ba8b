#include "pixels.h"

#include <cstring>

#include "bitmap_file.h"

Pixels24 TurnPixels(const Pixels24 &picture, int angle) {
  if (angle != 90 && angle != 180 && angle != 270) return picture;
  const bool sidesExchanged = angle != 180;
  const uint32_t w = picture.width, h = picture.height;
  Pixels24 turned(sidesExchanged ? h : w, sidesExchanged ? w : h);
  for (uint32_t y = 0; y < h; ++y) {
    for (uint32_t x = 0; x < w; ++x) {
      uint8_t *target = angle == 90    ? turned.Pixel(h - 1 - y, x)
                        : angle == 180 ? turned.Pixel(w - 1 - x, h - 1 - y)
                                       : turned.Pixel(y, w - 1 - x);
      std::memcpy(target, picture.Pixel(x, y), 3);
    }
  }
  return turned;
}

std::vector<uint8_t> PackDib(const Pixels24 &picture) {
  const auto header = DibHeader(picture.width, picture.height, 24);
  std::vector<uint8_t> dib(header.begin(), header.end());
  dib.reserve(header.size() + picture.data.size());
  for (uint32_t row = picture.height; row-- > 0;) {
    const uint8_t *line = picture.data.data() + size_t(row) * picture.Stride();
    dib.insert(dib.end(), line, line + picture.Stride());
  }
  return dib;
}
