// The vector operations the kernels are written in, on 16-byte SSE2
// registers. Internal linkage: the AVX2 kernels include this header too,
// compiled for AVX2, and must not lend those copies to SSE2 code.
#ifndef MONOIMG_VEC_SSE2_H
#define MONOIMG_VEC_SSE2_H

#include <emmintrin.h>

#include <cstdint>

#define MONOIMG_VEC inline __attribute__((always_inline))

namespace monoimg {
namespace {

struct Sse2 {
  using V = __m128i;
  static constexpr int kBytes = 16;
  static constexpr int kLanes = 1;  // 16-byte lanes that unpacking works within

  static MONOIMG_VEC V load(const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const V*>(p)); }
  static MONOIMG_VEC void store(std::uint8_t* p, V v) { _mm_storeu_si128(reinterpret_cast<V*>(p), v); }
  static MONOIMG_VEC V splat(std::uint8_t b) { return _mm_set1_epi8(static_cast<char>(b)); }
  static MONOIMG_VEC V zero() { return _mm_setzero_si128(); }
  static MONOIMG_VEC V or_(V a, V b) { return _mm_or_si128(a, b); }
  static MONOIMG_VEC V and_(V a, V b) { return _mm_and_si128(a, b); }
  static MONOIMG_VEC V xor_(V a, V b) { return _mm_xor_si128(a, b); }
  static MONOIMG_VEC V add8(V a, V b) { return _mm_add_epi8(a, b); }
  static MONOIMG_VEC V sub8(V a, V b) { return _mm_sub_epi8(a, b); }
  // Shifts of 16-bit lanes; callers mask away the bits that cross bytes.
  static MONOIMG_VEC V shl16(V a, int n) { return _mm_sll_epi16(a, _mm_cvtsi32_si128(n)); }
  static MONOIMG_VEC V shr16(V a, int n) { return _mm_srl_epi16(a, _mm_cvtsi32_si128(n)); }
  static MONOIMG_VEC V lo8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
  static MONOIMG_VEC V hi8(V a, V b) { return _mm_unpackhi_epi8(a, b); }
  static MONOIMG_VEC V lo16(V a, V b) { return _mm_unpacklo_epi16(a, b); }
  static MONOIMG_VEC V hi16(V a, V b) { return _mm_unpackhi_epi16(a, b); }
  static MONOIMG_VEC V lo32(V a, V b) { return _mm_unpacklo_epi32(a, b); }
  static MONOIMG_VEC V hi32(V a, V b) { return _mm_unpackhi_epi32(a, b); }
  static MONOIMG_VEC V lo64(V a, V b) { return _mm_unpacklo_epi64(a, b); }
  static MONOIMG_VEC V hi64(V a, V b) { return _mm_unpackhi_epi64(a, b); }
  // The bytes in reverse order: dwords, then the words in them, then the
  // bytes in those.
  static MONOIMG_VEC V reverse_bytes(V v) {
    v = _mm_shuffle_epi32(v, _MM_SHUFFLE(0, 1, 2, 3));
    v = _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, _MM_SHUFFLE(2, 3, 0, 1)), _MM_SHUFFLE(2, 3, 0, 1));
    return _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
  }
  // The top bit of every byte, byte 0 in bit 0.
  static MONOIMG_VEC std::uint32_t top_bits(V v) { return static_cast<std::uint32_t>(_mm_movemask_epi8(v)); }
  // Stores a0 b0 a1 b1 ... for all bytes of a and b.
  static MONOIMG_VEC void store_interleaved(std::uint8_t* p, V a, V b) {
    store(p, lo8(a, b));
    store(p + kBytes, hi8(a, b));
  }
};

}  // namespace
}  // namespace monoimg

#endif
