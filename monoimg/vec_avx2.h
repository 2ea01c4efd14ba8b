// The kernels' vector operations on 32-byte AVX2 registers, for the one
// translation unit compiled for AVX2. Unpacking works within each 16-byte
// half (lane), as with SSE2.
#ifndef MONOIMG_VEC_AVX2_H
#define MONOIMG_VEC_AVX2_H

#include <immintrin.h>

#include <cstdint>

#include "vec_sse2.h"

namespace monoimg {
namespace {

struct Avx2 {
  using V = __m256i;
  static constexpr int kBytes = 32;
  static constexpr int kLanes = 2;

  static MONOIMG_VEC V load(const std::uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const V*>(p)); }
  static MONOIMG_VEC void store(std::uint8_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<V*>(p), v); }
  static MONOIMG_VEC V splat(std::uint8_t b) { return _mm256_set1_epi8(static_cast<char>(b)); }
  static MONOIMG_VEC V zero() { return _mm256_setzero_si256(); }
  static MONOIMG_VEC V or_(V a, V b) { return _mm256_or_si256(a, b); }
  static MONOIMG_VEC V and_(V a, V b) { return _mm256_and_si256(a, b); }
  static MONOIMG_VEC V xor_(V a, V b) { return _mm256_xor_si256(a, b); }
  static MONOIMG_VEC V add8(V a, V b) { return _mm256_add_epi8(a, b); }
  static MONOIMG_VEC V sub8(V a, V b) { return _mm256_sub_epi8(a, b); }
  static MONOIMG_VEC V shl16(V a, int n) { return _mm256_sll_epi16(a, _mm_cvtsi32_si128(n)); }
  static MONOIMG_VEC V shr16(V a, int n) { return _mm256_srl_epi16(a, _mm_cvtsi32_si128(n)); }
  static MONOIMG_VEC V lo8(V a, V b) { return _mm256_unpacklo_epi8(a, b); }
  static MONOIMG_VEC V hi8(V a, V b) { return _mm256_unpackhi_epi8(a, b); }
  static MONOIMG_VEC V lo16(V a, V b) { return _mm256_unpacklo_epi16(a, b); }
  static MONOIMG_VEC V hi16(V a, V b) { return _mm256_unpackhi_epi16(a, b); }
  static MONOIMG_VEC V lo32(V a, V b) { return _mm256_unpacklo_epi32(a, b); }
  static MONOIMG_VEC V hi32(V a, V b) { return _mm256_unpackhi_epi32(a, b); }
  static MONOIMG_VEC V lo64(V a, V b) { return _mm256_unpacklo_epi64(a, b); }
  static MONOIMG_VEC V hi64(V a, V b) { return _mm256_unpackhi_epi64(a, b); }
  // The bytes of each lane reversed, then the lanes exchanged.
  static MONOIMG_VEC V reverse_bytes(V v) {
    const V order = _mm256_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9,
                                     8, 7, 6, 5, 4, 3, 2, 1, 0);
    return _mm256_permute4x64_epi64(_mm256_shuffle_epi8(v, order), _MM_SHUFFLE(1, 0, 3, 2));
  }
  static MONOIMG_VEC std::uint32_t top_bits(V v) { return static_cast<std::uint32_t>(_mm256_movemask_epi8(v)); }
  // Unpacking interleaves within lanes; the lanes are put back in order.
  static MONOIMG_VEC void store_interleaved(std::uint8_t* p, V a, V b) {
    const V low = lo8(a, b), high = hi8(a, b);
    store(p, _mm256_permute2x128_si256(low, high, 0x20));
    store(p + kBytes, _mm256_permute2x128_si256(low, high, 0x31));
  }
};

}  // namespace
}  // namespace monoimg

#endif
