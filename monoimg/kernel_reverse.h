// Pixel-order reversal for the half turns and complementing for inversion,
// a vector at a time.
#ifndef MONOIMG_KERNEL_REVERSE_H
#define MONOIMG_KERNEL_REVERSE_H

#include "bit_ops.h"

namespace monoimg {
namespace {

// The bits of every byte in reverse order: nibbles, pairs, then single bits
// swapped with masked 16-bit shifts.
template <class Vec>
MONOIMG_VEC typename Vec::V reverse_byte_bits(typename Vec::V x) {
  x = Vec::or_(Vec::and_(Vec::shr16(x, 4), Vec::splat(0x0F)), Vec::and_(Vec::shl16(x, 4), Vec::splat(0xF0)));
  x = Vec::or_(Vec::and_(Vec::shr16(x, 2), Vec::splat(0x33)), Vec::and_(Vec::shl16(x, 2), Vec::splat(0xCC)));
  return Vec::or_(Vec::and_(Vec::shr16(x, 1), Vec::splat(0x55)), Vec::and_(Vec::shl16(x, 1), Vec::splat(0xAA)));
}

template <class Vec>
i64 reverse_bits(const std::uint8_t* in, i64 bytes, std::uint8_t* out) {
  i64 i = 0;
  for (; i + Vec::kBytes <= bytes; i += Vec::kBytes)
    Vec::store(out + i, reverse_byte_bits<Vec>(Vec::reverse_bytes(Vec::load(in + bytes - Vec::kBytes - i))));
  return i;
}

template <class Vec>
void invert_bytes(std::uint8_t* p, i64 bytes) {
  const typename Vec::V ones = Vec::splat(0xFF);
  i64 i = 0;
  for (; i + Vec::kBytes <= bytes; i += Vec::kBytes) Vec::store(p + i, Vec::xor_(Vec::load(p + i), ones));
  for (; i < bytes; ++i) p[i] = static_cast<std::uint8_t>(~p[i]);
}

}  // namespace
}  // namespace monoimg

#endif
