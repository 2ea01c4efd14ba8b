#include "ratio.h"

#include <limits>

namespace monoimg {
namespace {

constexpr i64 kSaturated = std::numeric_limits<i64>::max();

// 128-bit product of two 64-bit values as (high, low).
void multiply_wide(std::uint64_t a, std::uint64_t b, std::uint64_t& high, std::uint64_t& low) {
  const std::uint64_t aLo = a & 0xFFFFFFFFu, aHi = a >> 32, bLo = b & 0xFFFFFFFFu, bHi = b >> 32;
  const std::uint64_t ll = aLo * bLo, lh = aLo * bHi, hl = aHi * bLo, hh = aHi * bHi;
  const std::uint64_t middle = (ll >> 32) + (lh & 0xFFFFFFFFu) + (hl & 0xFFFFFFFFu);
  low = (middle << 32) | (ll & 0xFFFFFFFFu);
  high = hh + (lh >> 32) + (hl >> 32) + (middle >> 32);
}

}  // namespace

i64 mul_div(i64 value, std::uint64_t num, std::uint64_t den) {
  if (value <= 0) return 0;
  std::uint64_t product;
  if (!__builtin_mul_overflow(static_cast<std::uint64_t>(value), num, &product)) {
    const std::uint64_t q = product / den;
    return q > static_cast<std::uint64_t>(kSaturated) ? kSaturated : static_cast<i64>(q);
  }
  std::uint64_t high, low;
  multiply_wide(static_cast<std::uint64_t>(value), num, high, low);
  if (high >= den) return kSaturated;
  // Restoring long division of (high:low) by den, one bit at a time; the
  // remainder stays below den, so it never loses its top bit.
  std::uint64_t remainder = high, quotient = 0;
  for (int bit = 63; bit >= 0; --bit) {
    const bool carry = remainder >> 63;
    remainder = remainder << 1 | ((low >> bit) & 1);
    quotient <<= 1;
    if (carry || remainder >= den) {
      remainder -= den;
      quotient |= 1;
    }
  }
  return quotient > static_cast<std::uint64_t>(kSaturated) ? kSaturated : static_cast<i64>(quotient);
}

i64 fitting_length(i64 limit, Ratio r) {
  if (limit < 0) return 0;
  // n * num < (limit + 1) * den, so n is (limit + 1) * den / num or one less.
  i64 n = mul_div(limit + 1, r.den, r.num);
  if (n == kSaturated) return n;
  while (n > 0 && mul_div(n, r.num, r.den) > limit) --n;
  return n;
}

}  // namespace monoimg
