// The kernels on AVX2, taken only where the processor has it. Everything
// defined below the pragma is compiled for AVX2; the headers above it are
// not, so no inline function shared with other files gets AVX2 code.
#include <cstring>

#include "bit_ops.h"
#include "kernels.h"

#pragma GCC push_options
#pragma GCC target("avx2")
#include "vec_avx2.h"
// The kernel templates come after the vector types they are written in.
#include "kernel_count.h"
#include "kernel_move.h"
#include "kernel_reverse.h"
#include "kernel_transpose.h"

namespace monoimg {
namespace {

// Rows with fewer bytes left than an AVX2 register finish on SSE2 registers.
i64 transpose16_avx2(const std::uint8_t* const rows[16], i64 bytes, std::uint8_t* out, std::ptrdiff_t step) {
  const i64 done = transpose16<Avx2>(rows, bytes, out, step);
  if (bytes - done < Sse2::kBytes) return done;
  const std::uint8_t* rest[16];
  for (int k = 0; k < 16; ++k) rest[k] = rows[k] + done;
  return done + transpose16<Sse2>(rest, bytes - done, out + 8 * done * step, step);
}

}  // namespace

const Kernels kAvx2Kernels = {
    move_bits<Avx2>,   invert_bytes<Avx2>,       reverse_bits<Avx2>,     transpose16_avx2,
    count_pairs<Avx2>, count_quad_nibbles<Avx2>, count_quad_bytes<Avx2>,
};

}  // namespace monoimg
#pragma GCC pop_options
