// Small helpers shared by every operation: row lengths, edge masks and
// big-endian word access (pixel 0 is the most significant bit of a row).
#ifndef MONOIMG_BIT_OPS_H
#define MONOIMG_BIT_OPS_H

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace monoimg {

// Word access swaps bytes into pixel order assuming a little-endian host,
// which every target of this library is.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "little-endian host expected");

using i64 = std::int64_t;

// Bytes of a plain row of `width` pixels; a negative width has no bytes.
inline i64 row_bytes(i64 width) { return width > 0 ? (width + 7) / 8 : 0; }

// Width rounded up to the next multiple of `unit` pixels (DIB row padding);
// negative widths stay negative so that callers still see a bad dimension.
inline i64 round_up(i64 width, i64 unit) { return width < 0 ? width : (width + unit - 1) / unit * unit; }

// Mask of the pixels from bit `x % 8` to the end of a byte.
inline std::uint8_t head_mask(i64 x) { return static_cast<std::uint8_t>(0xFFu >> (x & 7)); }

// Mask of the first `bits` pixels of a byte (0 < bits <= 8).
inline std::uint8_t lead_mask(i64 bits) { return static_cast<std::uint8_t>(0xFF00u >> bits); }

inline std::uint64_t load_be64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return __builtin_bswap64(v);
}

inline std::uint32_t load_le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline void store_le32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
  p[3] = static_cast<std::uint8_t>(v >> 24);
}

}  // namespace monoimg

#endif
