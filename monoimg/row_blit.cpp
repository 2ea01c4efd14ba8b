#include "row_blit.h"

#include <algorithm>

#include "kernels.h"

namespace monoimg {
namespace {

// The `count` (1..8) pixels from source pixel `pos`, left-aligned in a byte.
// Reads only the bytes that hold them.
inline std::uint8_t fetch_bits(const std::uint8_t* row, i64 pos, i64 count) {
  const std::uint8_t* p = row + (pos >> 3);
  const int shift = static_cast<int>(pos & 7);
  unsigned bits = static_cast<unsigned>(p[0]) << shift;
  if (shift + count > 8) bits |= p[1] >> (8 - shift);
  return static_cast<std::uint8_t>(bits);
}

inline void put_masked(std::uint8_t* d, std::uint8_t bits, std::uint8_t mask, Rop rop) {
  if (rop == Rop::Or)
    *d = static_cast<std::uint8_t>(*d | (bits & mask));
  else
    *d = static_cast<std::uint8_t>((*d & ~mask) | (bits & mask));
}

}  // namespace

void blit_rows(std::uint8_t* dst, std::ptrdiff_t dstStride, i64 dstX, const std::uint8_t* src,
               std::ptrdiff_t srcStride, i64 srcX, i64 width, i64 rows, Rop rop) {
  if (width <= 0 || rows <= 0) return;
  const i64 headOffset = dstX & 7;
  const i64 headBits = headOffset ? std::min<i64>(8 - headOffset, width) : 0;
  const std::uint8_t headMask = static_cast<std::uint8_t>(head_mask(headOffset) & lead_mask(headOffset + headBits));
  const i64 middleSrcX = srcX + headBits;
  const i64 middleBytes = (width - headBits) >> 3;
  const i64 tailBits = (width - headBits) & 7;
  const i64 tailSrcX = middleSrcX + middleBytes * 8;
  const int shift = static_cast<int>(middleSrcX & 7);
  const bool merge = rop == Rop::Or;
  const auto move_bits = kernels().move_bits;

  std::uint8_t* dstRow = dst + (dstX >> 3);
  // Whole rows copied between images of one row length are one block; rows
  // are joined only when the blocks are apart, so the result is the same.
  const std::uint8_t* middleSrc = src + (middleSrcX >> 3);
  const i64 block = middleBytes * rows;
  if (!headBits && !tailBits && !shift && !merge && dstStride == middleBytes && srcStride == middleBytes &&
      (dstRow + block <= middleSrc || middleSrc + block <= dstRow)) {
    std::memcpy(dstRow, middleSrc, static_cast<std::size_t>(block));
    return;
  }
  for (i64 r = 0; r < rows; ++r, dstRow += dstStride, src += srcStride) {
    std::uint8_t* d = dstRow;
    if (headBits) {
      put_masked(d, static_cast<std::uint8_t>(fetch_bits(src, srcX, headBits) >> headOffset), headMask, rop);
      ++d;
    }
    if (middleBytes) move_bits(d, src + (middleSrcX >> 3), middleBytes, shift, merge);
    if (tailBits) put_masked(d + middleBytes, fetch_bits(src, tailSrcX, tailBits), lead_mask(tailBits), rop);
  }
}

}  // namespace monoimg
