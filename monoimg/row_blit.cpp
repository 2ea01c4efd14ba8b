#include "row_blit.h"

#include <algorithm>

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

// Whole destination bytes of one row; `s` is the source byte holding the
// first pixel and Shift the pixel's bit position in it. Eight bytes move per
// step; with a shift, the byte after each group supplies the low bits, and it
// always holds wanted pixels because every destination byte here is full.
template <int Shift, bool Merge>
void move_middle(std::uint8_t* d, const std::uint8_t* s, i64 bytes) {
  i64 i = 0;
  if constexpr (Shift == 0 && !Merge) {
    std::memmove(d, s, static_cast<std::size_t>(bytes));
    return;
  }
  for (; i + 8 <= bytes; i += 8) {
    std::uint64_t w = load_be64(s + i);
    if constexpr (Shift != 0) w = w << Shift | s[i + 8] >> (8 - Shift);
    if constexpr (Merge) w |= load_be64(d + i);
    store_be64(d + i, w);
  }
  for (; i < bytes; ++i) {
    std::uint8_t b = s[i];
    if constexpr (Shift != 0) b = static_cast<std::uint8_t>(b << Shift | s[i + 1] >> (8 - Shift));
    if constexpr (Merge)
      d[i] = static_cast<std::uint8_t>(d[i] | b);
    else
      d[i] = b;
  }
}

using MiddleMover = void (*)(std::uint8_t*, const std::uint8_t*, i64);

template <bool Merge>
constexpr MiddleMover kMovers[8] = {move_middle<0, Merge>, move_middle<1, Merge>, move_middle<2, Merge>,
                                    move_middle<3, Merge>, move_middle<4, Merge>, move_middle<5, Merge>,
                                    move_middle<6, Merge>, move_middle<7, Merge>};

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
  const MiddleMover mover = (rop == Rop::Or ? kMovers<true> : kMovers<false>)[middleSrcX & 7];

  std::uint8_t* dstRow = dst + (dstX >> 3);
  for (i64 r = 0; r < rows; ++r, dstRow += dstStride, src += srcStride) {
    std::uint8_t* d = dstRow;
    if (headBits) {
      put_masked(d, static_cast<std::uint8_t>(fetch_bits(src, srcX, headBits) >> headOffset), headMask, rop);
      ++d;
    }
    if (middleBytes) mover(d, src + (middleSrcX >> 3), middleBytes);
    if (tailBits) put_masked(d + middleBytes, fetch_bits(src, tailSrcX, tailBits), lead_mask(tailBits), rop);
  }
}

}  // namespace monoimg
