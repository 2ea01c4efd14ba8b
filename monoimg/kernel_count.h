// Set-sample counting of gray reduction, a vector of sample bytes at a time:
// the counts of bit pairs and nibbles are formed in place with masked
// shifts, so no count crosses into its neighbour.
#ifndef MONOIMG_KERNEL_COUNT_H
#define MONOIMG_KERNEL_COUNT_H

#include "bit_ops.h"

namespace monoimg {
namespace {

// Each 2-bit field replaced by the number of its set bits.
template <class Vec>
MONOIMG_VEC typename Vec::V pair_counts(typename Vec::V x) {
  return Vec::sub8(x, Vec::and_(Vec::shr16(x, 1), Vec::splat(0x55)));
}

// Each nibble replaced by the number of its set bits.
template <class Vec>
MONOIMG_VEC typename Vec::V nibble_counts(typename Vec::V x) {
  const typename Vec::V c = pair_counts<Vec>(x), m = Vec::splat(0x33);
  return Vec::add8(Vec::and_(c, m), Vec::and_(Vec::shr16(c, 2), m));
}

template <class Vec>
i64 count_pairs(const std::uint8_t* const rows[2], i64 bytes, std::uint8_t* packed) {
  using V = typename Vec::V;
  const V m30 = Vec::splat(0x30), m03 = Vec::splat(0x03);
  i64 j = 0;
  for (; j + Vec::kBytes <= bytes; j += Vec::kBytes) {
    V first = Vec::zero(), second = Vec::zero();
    for (int k = 0; k < 2; ++k) {
      const V c = pair_counts<Vec>(Vec::load(rows[k] + j));
      // Pairs 0 and 1 (from the top) go to the nibbles of the first output
      // byte, pairs 2 and 3 to those of the second.
      first = Vec::add8(first, Vec::or_(Vec::and_(Vec::shr16(c, 2), m30), Vec::and_(Vec::shr16(c, 4), m03)));
      second = Vec::add8(second, Vec::or_(Vec::and_(Vec::shl16(c, 2), m30), Vec::and_(c, m03)));
    }
    Vec::store_interleaved(packed + 2 * j, first, second);
  }
  return j;
}

template <class Vec>
i64 count_quad_nibbles(const std::uint8_t* const rows[2], i64 bytes, std::uint8_t* packed) {
  i64 j = 0;
  for (; j + Vec::kBytes <= bytes; j += Vec::kBytes)
    Vec::store(packed + j,
               Vec::add8(nibble_counts<Vec>(Vec::load(rows[0] + j)), nibble_counts<Vec>(Vec::load(rows[1] + j))));
  return j;
}

template <class Vec>
i64 count_quad_bytes(const std::uint8_t* const rows[4], i64 bytes, std::uint8_t* packed) {
  using V = typename Vec::V;
  const V m0f = Vec::splat(0x0F);
  i64 j = 0;
  for (; j + Vec::kBytes <= bytes; j += Vec::kBytes) {
    V high = Vec::zero(), low = Vec::zero();
    for (int k = 0; k < 4; ++k) {
      const V n = nibble_counts<Vec>(Vec::load(rows[k] + j));
      high = Vec::add8(high, Vec::and_(Vec::shr16(n, 4), m0f));
      low = Vec::add8(low, Vec::and_(n, m0f));
    }
    Vec::store_interleaved(packed + 2 * j, high, low);
  }
  return j;
}

}  // namespace
}  // namespace monoimg

#endif
