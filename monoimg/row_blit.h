// The row blitter: writes a rectangle of pixels from one bit image into
// another with copy or OR. It does no clipping; callers clip.
#ifndef MONOIMG_ROW_BLIT_H
#define MONOIMG_ROW_BLIT_H

#include <cstddef>
#include <cstdint>

#include "bit_ops.h"

namespace monoimg {

enum class Rop { Copy, Or };

// The blit family merges with OR for rop 1 and copies for every other value.
inline Rop blit_rop(std::int32_t rop) { return rop == 1 ? Rop::Or : Rop::Copy; }

// For each of `rows` rows, writes `width` pixels starting at pixel srcX of the
// source row to pixel dstX of the destination row. `dst` and `src` point at
// the first rows; the strides may be negative (bottom-up storage).
void blit_rows(std::uint8_t* dst, std::ptrdiff_t dstStride, i64 dstX, const std::uint8_t* src,
               std::ptrdiff_t srcStride, i64 srcX, i64 width, i64 rows, Rop rop);

}  // namespace monoimg

#endif
