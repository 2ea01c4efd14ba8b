// Half turns: each source row is bit-reversed a 32-bit word at a time into a
// strip, from the strip's last row upwards, and the strip is blitted.
#include <algorithm>
#include <array>

#include "kernels.h"
#include "monoimg.h"
#include "rotate.h"
#include "row_blit.h"
#include "work_memory.h"

namespace monoimg {
namespace {

// reverse[k][v]: byte v bit-reversed and placed at the mirror position of
// byte k of a little-endian 32-bit word, so that OR-ing the four entries of
// a word reverses all of its 32 bits.
constexpr std::array<std::array<std::uint32_t, 256>, 4> make_reverse_tables() {
  std::array<std::array<std::uint32_t, 256>, 4> tables{};
  for (int v = 0; v < 256; ++v) {
    std::uint32_t reversed = 0;
    for (int bit = 0; bit < 8; ++bit)
      if ((v >> bit) & 1) reversed |= 0x80u >> bit;
    for (int k = 0; k < 4; ++k) tables[k][v] = reversed << (24 - 8 * k);
  }
  return tables;
}

constexpr auto kReverse = make_reverse_tables();

// Writes the `bytes` bytes of `in` into `out` in reverse pixel order.
// The vector kernel reverses the leading blocks, the tables the rest.
void reverse_row(const std::uint8_t* in, i64 bytes, std::uint8_t* out) {
  i64 i = kernels().reverse_bits(in, bytes, out);
  for (; i + 4 <= bytes; i += 4) {
    const std::uint32_t w = load_le32(in + bytes - 4 - i);
    store_le32(out + i, kReverse[0][w & 0xFF] | kReverse[1][(w >> 8) & 0xFF] | kReverse[2][(w >> 16) & 0xFF] |
                            kReverse[3][w >> 24]);
  }
  for (; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(kReverse[3][in[bytes - 1 - i]]);
}

RotateClip clip_half(const Request& q) {
  RotateClip c{std::max<i64>(q.srcX, 0), std::max<i64>(q.srcY, 0), 0, 0, q.dstX, q.dstY};
  c.width = std::min(q.srcWidth - c.srcX, q.width);
  c.height = std::min(q.srcHeight - c.srcY, q.height);
  // The rectangle's bottom rows and right columns land above and left of it.
  if (c.dstY < 0) {
    c.height += c.dstY;
    c.dstY = 0;
  }
  if (c.dstX < 0) {
    c.width += c.dstX;
    c.dstX = 0;
  }
  const i64 belowBottom = c.dstY + c.height - q.dstHeight;
  if (belowBottom > 0) {
    c.height -= belowBottom;
    c.srcY += belowBottom;
  }
  const i64 beyondRight = c.dstX + c.width - q.dstWidth;
  if (beyondRight > 0) {
    c.width -= beyondRight;
    c.srcX += beyondRight;
  }
  return c;
}

}  // namespace

int rotate_half(const Request& q, std::int32_t rop) {
  const RotateClip c = clip_half(q);
  if (c.empty()) return kOk;
  const i64 offset = c.srcX & 7;
  const i64 bytes = (offset + c.width + 7) >> 3;
  if (bytes > kStripBytes / 32) return kStripTooWide;
  WorkMemory strip(kStripBytes);
  if (!strip.ok()) return kNoMemory;

  const i64 stripRows = 32 * (kStripBytes / bytes / 32);
  const i64 srcStride = row_bytes(q.srcWidth);
  const i64 dstStride = row_bytes(q.dstWidth);
  const std::uint8_t* srcRow = q.src + c.srcY * srcStride + (c.srcX >> 3);
  // Reversal puts segment pixel u at 8L - 1 - offset - u; u = width - 1
  // lands on dstX.
  const i64 stripX = 8 * bytes - offset - c.width;
  for (i64 begin = 0; begin < c.height; begin += stripRows) {
    const i64 rows = std::min(stripRows, c.height - begin);
    for (i64 k = 0; k < rows; ++k, srcRow += srcStride) reverse_row(srcRow, bytes, strip.data() + (rows - 1 - k) * bytes);
    // The strip's first row is source row begin + rows - 1.
    std::uint8_t* dstRow = q.dst + (c.dstY + c.height - begin - rows) * dstStride;
    blit_rows(dstRow, dstStride, c.dstX, strip.data(), bytes, stripX, c.width, rows, blit_rop(rop));
  }
  return kOk;
}

}  // namespace monoimg
