// Bit transposition of 16 rows for the quarter turns: the rows' bytes are
// gathered by unpacking so that each register holds one byte column of all
// 16 rows, then the top bit of every byte is collected eight times, the
// bytes doubled (shifted left) in between.
#ifndef MONOIMG_KERNEL_TRANSPOSE_H
#define MONOIMG_KERNEL_TRANSPOSE_H

#include <cstddef>
#include <cstring>

#include "bit_ops.h"

namespace monoimg {
namespace {

// Rows in register byte order. The collected mask has byte 0 in its lowest
// bit, so rows 7..0 then 15..8 put rows[0] at the top of the first output
// byte and rows[8] at the top of the second.
constexpr int kTransposeOrder[16] = {7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8};

// One half of a block: byte columns 0..7 (low) or 8..15 (high) of every lane.
template <class Vec, bool High>
MONOIMG_VEC void transpose_half(const std::uint8_t* const rows[16], i64 b, std::uint8_t* out, std::ptrdiff_t step) {
  using V = typename Vec::V;
  V a[8], c[8];
  for (int k = 0; k < 8; ++k) {
    const V x = Vec::load(rows[kTransposeOrder[2 * k]] + b);
    const V y = Vec::load(rows[kTransposeOrder[2 * k + 1]] + b);
    a[k] = High ? Vec::hi8(x, y) : Vec::lo8(x, y);  // 8 columns of 2 rows
  }
  for (int m = 0; m < 4; ++m) {  // 4 columns of 4 rows
    c[m] = Vec::lo16(a[2 * m], a[2 * m + 1]);
    c[m + 4] = Vec::hi16(a[2 * m], a[2 * m + 1]);
  }
  for (int n = 0; n < 2; ++n) {  // 2 columns of 8 rows, column pair p in a[4 * n + p]
    a[4 * n + 0] = Vec::lo32(c[2 * n], c[2 * n + 1]);
    a[4 * n + 1] = Vec::hi32(c[2 * n], c[2 * n + 1]);
    a[4 * n + 2] = Vec::lo32(c[4 + 2 * n], c[5 + 2 * n]);
    a[4 * n + 3] = Vec::hi32(c[4 + 2 * n], c[5 + 2 * n]);
  }
  for (int p = 0; p < 4; ++p) {  // one column of 16 rows
    c[2 * p] = Vec::lo64(a[p], a[4 + p]);
    c[2 * p + 1] = Vec::hi64(a[p], a[4 + p]);
  }
  const i64 firstPixel = 8 * (b + (High ? 8 : 0));
  for (int column = 0; column < 8; ++column) {
    V v = c[column];
    std::uint8_t* o = out + (firstPixel + 8 * column) * step;
    for (int j = 0; j < 8; ++j, o += step) {
      const std::uint32_t bits = Vec::top_bits(v);
      for (int lane = 0; lane < Vec::kLanes; ++lane) {
        const auto pair = static_cast<std::uint16_t>(bits >> (16 * lane));
        std::memcpy(o + 128 * lane * step, &pair, 2);  // lane l holds pixels 128 l further on
      }
      v = Vec::add8(v, v);
    }
  }
}

template <class Vec>
i64 transpose16(const std::uint8_t* const rows[16], i64 bytes, std::uint8_t* out, std::ptrdiff_t step) {
  i64 b = 0;
  for (; b + Vec::kBytes <= bytes; b += Vec::kBytes) {
    transpose_half<Vec, false>(rows, b, out, step);
    transpose_half<Vec, true>(rows, b, out, step);
  }
  return b;
}

}  // namespace
}  // namespace monoimg

#endif
