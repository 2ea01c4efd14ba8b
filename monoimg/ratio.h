// Zoom ratios and the exact scaling arithmetic they need. Positions times a
// numerator reach 2^66 at most (positions below 2^33, numerators below 2^34),
// so products are formed in 128 bits when 64 do not suffice.
#ifndef MONOIMG_RATIO_H
#define MONOIMG_RATIO_H

#include <cstdint>

#include "bit_ops.h"

namespace monoimg {

struct Ratio {
  std::uint64_t num = 1;
  std::uint64_t den = 1;
  bool identity() const { return num == den; }
};

// A pair with a zero member means 1:1; the bi-level zoom also refuses
// numerators above 65536.
inline Ratio sanitize(std::uint32_t num, std::uint32_t den, bool limitNumerator) {
  if (num == 0 || den == 0 || (limitNumerator && num > 0x10000u)) return Ratio{};
  return Ratio{num, den};
}

// floor(value * num / den) for value >= 0, saturated at INT64_MAX.
i64 mul_div(i64 value, std::uint64_t num, std::uint64_t den);

inline i64 scale(i64 value, Ratio r) { return mul_div(value, r.num, r.den); }

// Largest n >= 0 with scale(n, r) <= limit (limit >= 0): how many source
// pixels fit into `limit` output pixels.
i64 fitting_length(i64 limit, Ratio r);

}  // namespace monoimg

#endif
