// The row blitter's middle: whole destination bytes from a source that
// starts `shift` bits into its first byte, a vector at a time.
#ifndef MONOIMG_KERNEL_MOVE_H
#define MONOIMG_KERNEL_MOVE_H

#include <cstring>

#include "bit_ops.h"

namespace monoimg {
namespace {

template <class Vec, bool Merge>
void move_bits_with(std::uint8_t* d, const std::uint8_t* s, i64 bytes, int shift) {
  using V = typename Vec::V;
  constexpr i64 K = Vec::kBytes;
  // Each output byte is (s[i] << shift | s[i + 1] >> (8 - shift)); the
  // masks drop what the 16-bit shifts carry over from the neighbouring byte.
  const V high = Vec::splat(static_cast<std::uint8_t>(0xFF << shift));
  const V low = Vec::splat(static_cast<std::uint8_t>(0xFF >> (8 - shift)));
  auto value = [&](i64 i) {
    V w = Vec::load(s + i);
    if (shift)
      w = Vec::or_(Vec::and_(Vec::shl16(w, shift), high), Vec::and_(Vec::shr16(Vec::load(s + i + 1), 8 - shift), low));
    return Merge ? Vec::or_(w, Vec::load(d + i)) : w;
  };
  i64 i = 0;
  if (bytes > K && bytes % K && (d + bytes <= s || s + bytes + 1 <= d)) {
    // The rest is one more block ending at the last byte, overlapping the one
    // before: a copy writes the same bytes again and OR-ing twice changes
    // nothing. It is read first, so that no load waits for a store it
    // half overlaps. Rows that overlap their source skip this and go
    // strictly from left to right, block by block, then byte by byte.
    const V last = value(bytes - K);
    for (; i + K <= bytes; i += K) Vec::store(d + i, value(i));
    return Vec::store(d + bytes - K, last);
  }
  for (; i + K <= bytes; i += K) Vec::store(d + i, value(i));
  for (; i < bytes; ++i) {
    std::uint8_t b = s[i];
    if (shift) b = static_cast<std::uint8_t>(b << shift | s[i + 1] >> (8 - shift));
    d[i] = Merge ? static_cast<std::uint8_t>(d[i] | b) : b;
  }
}

template <class Vec>
void move_bits(std::uint8_t* d, const std::uint8_t* s, i64 bytes, int shift, bool merge) {
  // Plain copies between overlapping bytes keep memmove's order; short
  // rows (strips, zoomed rows) are cheaper without the call.
  if (merge)
    move_bits_with<Vec, true>(d, s, bytes, shift);
  else if (shift || d + bytes <= s || s + bytes <= d)
    move_bits_with<Vec, false>(d, s, bytes, shift);
  else
    std::memmove(d, s, static_cast<std::size_t>(bytes));
}

}  // namespace
}  // namespace monoimg

#endif
