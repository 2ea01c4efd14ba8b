// The vectorised inner loops, one table per instruction set; kernels()
// gives the table of the instruction set in use.
#ifndef MONOIMG_KERNELS_H
#define MONOIMG_KERNELS_H

#include <cstddef>
#include <cstdint>

#include "bit_ops.h"

namespace monoimg {

struct Kernels {
  // Writes `bytes` whole bytes at d from the pixels starting at bit `shift`
  // (0..7) of s[0], OR-ing them in when `merge`. With a shift it reads
  // s[bytes] as well, which must hold wanted pixels.
  void (*move_bits)(std::uint8_t* d, const std::uint8_t* s, i64 bytes, int shift, bool merge);

  // Complements `bytes` bytes in place.
  void (*invert_bytes)(std::uint8_t* p, i64 bytes);

  // Starts writing the `bytes` bytes of `in` to `out` in reverse pixel
  // order, in blocks of the vector width (out's first block comes from in's
  // last); returns the bytes of `out` done.
  i64 (*reverse_bits)(const std::uint8_t* in, i64 bytes, std::uint8_t* out);

  // Transposes the first bytes of 16 rows in blocks of the vector width:
  // pixel x of the rows becomes two bytes at out + x * step whose bits, from
  // the top, come from rows[0] to rows[15]. Returns the bytes done.
  i64 (*transpose16)(const std::uint8_t* const rows[16], i64 bytes, std::uint8_t* out, std::ptrdiff_t step);

  // Set-sample counts of gray reduction over the first bytes of the rows, in
  // blocks of the vector width; each returns the bytes done.
  // Two rows, 2 samples per 4-bit pixel: two output bytes per input byte.
  i64 (*count_pairs)(const std::uint8_t* const rows[2], i64 bytes, std::uint8_t* packed);
  // Two rows, 4 samples per 4-bit pixel: one output byte per input byte.
  i64 (*count_quad_nibbles)(const std::uint8_t* const rows[2], i64 bytes, std::uint8_t* packed);
  // Four rows, 4 samples per 8-bit pixel: two output bytes per input byte.
  i64 (*count_quad_bytes)(const std::uint8_t* const rows[4], i64 bytes, std::uint8_t* packed);
};

extern const Kernels kSse2Kernels;
extern const Kernels kAvx2Kernels;

const Kernels& kernels();

}  // namespace monoimg

#endif
