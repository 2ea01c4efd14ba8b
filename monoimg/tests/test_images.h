// Random test pictures in both layouts, with conversions between them.
#ifndef MONOIMG_TESTS_TEST_IMAGES_H
#define MONOIMG_TESTS_TEST_IMAGES_H

#include <cstdint>
#include <random>
#include <vector>

#include "reference_model.h"

namespace testimg {

using ref::i64;

struct Picture {
  i64 width = 0, height = 0;
  bool bottomUp = false;
  std::vector<std::uint8_t> bytes;

  i64 stride() const { return bottomUp ? ref::dib_stride(width) : ref::plain_stride(width); }
  std::uint8_t* data() { return bytes.data(); }
  // Pixel in top-down coordinates, whatever the layout.
  bool at(i64 x, i64 y) const {
    return ref::get_pixel(bytes.data(), stride(), x, bottomUp ? height - 1 - y : y);
  }
  void set(i64 x, i64 y, bool v) { ref::put_pixel(bytes.data(), stride(), x, bottomUp ? height - 1 - y : y, v); }
};

inline Picture blank(i64 width, i64 height, bool bottomUp = false) {
  Picture p{width, height, bottomUp, {}};
  p.bytes.assign(static_cast<size_t>(p.stride() * height), 0);
  return p;
}

// Random bytes, including the padding bits: the engine must never let
// padding leak into pixels it does not own. Densities vary from sparse
// text-like strokes to solid areas.
inline Picture random_picture(std::mt19937& rng, i64 width, i64 height, bool bottomUp = false) {
  Picture p = blank(width, height, bottomUp);
  const int style = static_cast<int>(rng() % 4);
  for (auto& b : p.bytes) {
    switch (style) {
      case 0: b = static_cast<std::uint8_t>(rng()); break;
      case 1: b = rng() % 4 == 0 ? static_cast<std::uint8_t>(rng()) : 0; break;
      case 2: b = rng() % 3 == 0 ? 0xFF : rng() % 2 ? 0 : static_cast<std::uint8_t>(rng()); break;
      default: b = static_cast<std::uint8_t>(rng() & rng() & rng()); break;
    }
  }
  return p;
}

// The same picture in the other layout.
inline Picture convert(const Picture& p, bool bottomUp) {
  Picture out = blank(p.width, p.height, bottomUp);
  for (i64 y = 0; y < p.height; ++y)
    for (i64 x = 0; x < p.width; ++x) out.set(x, y, p.at(x, y));
  return out;
}

inline bool same_pixels(const Picture& a, const Picture& b) {
  if (a.width != b.width || a.height != b.height) return false;
  for (i64 y = 0; y < a.height; ++y)
    for (i64 x = 0; x < a.width; ++x)
      if (a.at(x, y) != b.at(x, y)) return false;
  return true;
}

inline i64 pick(std::mt19937& rng, i64 low, i64 high) {
  return std::uniform_int_distribution<i64>(low, high)(rng);
}

}  // namespace testimg

#endif
