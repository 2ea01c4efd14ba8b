// The vector instruction set the inner loops use. Every processor the
// library runs on has SSE2; AVX2 is taken where the processor and the
// operating system support it.
#ifndef MONOIMG_SIMD_H
#define MONOIMG_SIMD_H

namespace monoimg {

enum class Simd { Sse2, Avx2 };

// The instruction set in use: the best one available unless use_simd chose.
Simd simd();

// Whether `level` can run on this machine.
bool simd_available(Simd level);

// Makes the inner loops use `level` from now on (tests run every path with
// it); a level the machine lacks is refused and false returned.
bool use_simd(Simd level);

}  // namespace monoimg

#endif
