// A deliberately plain model of the engine, one pixel at a time, written from
// the pixel rules (clipping, run scaling, sample counting, rotation mapping).
// The tests compare the library with it on many random cases.
#ifndef MONOIMG_TESTS_REFERENCE_MODEL_H
#define MONOIMG_TESTS_REFERENCE_MODEL_H

#include <cstdint>
#include <vector>

namespace ref {

using i64 = std::int64_t;

inline i64 plain_stride(i64 width) { return width > 0 ? (width + 7) / 8 : 0; }
inline i64 dib_stride(i64 width) { return width > 0 ? (width + 31) / 32 * 4 : 0; }

inline bool get_pixel(const std::uint8_t* image, i64 stride, i64 x, i64 y) {
  return (image[y * stride + x / 8] >> (7 - x % 8)) & 1;
}

inline void put_pixel(std::uint8_t* image, i64 stride, i64 x, i64 y, bool value) {
  std::uint8_t& byte = image[y * stride + x / 8];
  const auto bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
  byte = static_cast<std::uint8_t>(value ? byte | bit : byte & ~bit);
}

// Destination and source as the exports take them.
struct Args {
  std::uint8_t* dst;
  i64 dstWidth, dstHeight, dstX, dstY;
  const std::uint8_t* src;
  i64 srcWidth, srcHeight, srcX, srcY, width, height;
};

struct Ratios {
  std::uint32_t xNum, xDen, yNum, yDen;
};

struct Run {
  i64 start, end;
};

// Runs of set pixels [first, first + length) of a row, relative to `first`.
std::vector<Run> runs_of(const std::uint8_t* row, i64 first, i64 length);
// The run scaling rules, literally.
std::vector<Run> scale_runs(const std::vector<Run>& runs, i64 offset, i64 length, std::uint64_t num,
                            std::uint64_t den);

int bit_blt(const Args& a, int rop);
int bit_blt_to_dib(const Args& a);
int invert(std::uint8_t* image, i64 width, i64 height, i64 x, i64 y, i64 w, i64 h, int rop);
int zoom(const Args& a, Ratios r, int rop);
int zoom_to_gray(const Args& a, Ratios r, int mode);
int rotate(const Args& a, int rop, int angle);
int zoom_rotate(const Args& a, Ratios r, int rop, int angle);

}  // namespace ref

#endif
