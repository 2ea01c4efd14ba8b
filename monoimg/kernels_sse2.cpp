// The kernels on SSE2, which every target processor has.
#include "vec_sse2.h"
// The kernel templates come after the vector types they are written in.
#include "kernel_count.h"
#include "kernel_move.h"
#include "kernel_reverse.h"
#include "kernel_transpose.h"
#include "kernels.h"

namespace monoimg {

const Kernels kSse2Kernels = {
    move_bits<Sse2>,   invert_bytes<Sse2>,       reverse_bits<Sse2>,     transpose16<Sse2>,
    count_pairs<Sse2>, count_quad_nibbles<Sse2>, count_quad_bytes<Sse2>,
};

}  // namespace monoimg
