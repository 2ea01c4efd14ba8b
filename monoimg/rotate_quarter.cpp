// Quarter turns: sixteen source rows at a time are transposed into a strip
// by the vector kernel (a lookup table finishes the rows), and the strip is
// then blitted.
#include <algorithm>
#include <array>

#include "kernels.h"
#include "monoimg.h"
#include "rotate.h"
#include "row_blit.h"
#include "work_memory.h"

namespace monoimg {
namespace {

// Spreads pixel j of a byte (j from the most significant bit) into the top
// bit of byte lane j of a 64-bit value; shifting the result right by k moves
// every lane's bit to position k from the lane's top.
constexpr std::array<std::uint64_t, 256> make_spread_table() {
  std::array<std::uint64_t, 256> table{};
  for (int v = 0; v < 256; ++v)
    for (int j = 0; j < 8; ++j)
      if ((v >> (7 - j)) & 1) table[v] |= std::uint64_t{0x80} << (8 * j);
  return table;
}

constexpr std::array<std::uint64_t, 256> kSpread = make_spread_table();

// Source bytes transposed together: their 256 strip rows stay small enough
// for the first-level cache whatever the strip's width.
constexpr i64 kSpanBytes = 32;

// Transposes eight rows from byte `first` on, for what the vector kernel
// leaves: pixel x becomes the byte at out + x * step, whose bits from the
// top come from rows[0] to rows[7].
void transpose8(const std::uint8_t* const rows[8], i64 first, i64 bytes, std::uint8_t* out, std::ptrdiff_t step) {
  for (i64 b = first; b < bytes; ++b) {
    const std::uint64_t lanes = kSpread[rows[0][b]] | kSpread[rows[1][b]] >> 1 | kSpread[rows[2][b]] >> 2 |
                                kSpread[rows[3][b]] >> 3 | kSpread[rows[4][b]] >> 4 | kSpread[rows[5][b]] >> 5 |
                                kSpread[rows[6][b]] >> 6 | kSpread[rows[7][b]] >> 7;
    std::uint8_t* o = out + 8 * b * step;
    for (int j = 0; j < 8; ++j) o[j * step] = static_cast<std::uint8_t>(lanes >> (8 * j));
  }
}

RotateClip clip_quarter(const Request& q, Turn turn) {
  RotateClip c{std::max<i64>(q.srcX, 0), std::max<i64>(q.srcY, 0), 0, 0, q.dstX, q.dstY};
  c.width = std::min(q.srcWidth - c.srcX, q.width);
  c.height = std::min(q.srcHeight - c.srcY, q.height);
  // Source columns run down the destination, source rows across it.
  if (c.dstY < 0) {
    c.width += c.dstY;
    if (turn == Turn::Right) c.srcX -= c.dstY;
    c.dstY = 0;
  }
  if (c.dstX < 0) {
    c.height += c.dstX;
    if (turn == Turn::Left) c.srcY -= c.dstX;
    c.dstX = 0;
  }
  const i64 belowBottom = c.dstY + c.width - q.dstHeight;
  if (belowBottom > 0) {
    c.width -= belowBottom;
    if (turn == Turn::Left) c.srcX += belowBottom;
  }
  const i64 beyondRight = c.dstX + c.height - q.dstWidth;
  if (beyondRight > 0) {
    c.height -= beyondRight;
    if (turn == Turn::Right) c.srcY += beyondRight;
  }
  return c;
}

template <Turn T>
void rotate_strips(const Request& q, const RotateClip& c, std::uint8_t* strip, const std::uint8_t* zeros,
                   Rop rop) {
  const i64 offset = c.srcX & 7;
  const i64 bytes = (offset + c.width + 7) >> 3;
  const i64 stripColumns = 16 * (kStripBytes / bytes / 16);
  const i64 stride = stripColumns / 8;
  const i64 srcStride = row_bytes(q.srcWidth);
  const i64 dstStride = row_bytes(q.dstWidth);
  const std::uint8_t* srcBase = q.src + c.srcY * srcStride + (c.srcX >> 3);
  // Destination columns are counted from the byte holding dstX, so that
  // every strip after the first lands on a byte boundary; the `pad` columns
  // before dstX and the columns after the rectangle read zero rows.
  const i64 pad = c.dstX & 7;
  const i64 total = pad + c.height;
  auto source_row = [&](i64 column) -> const std::uint8_t* {
    if (column < pad || column >= total) return zeros;
    const i64 v = T == Turn::Left ? column - pad : c.height - 1 - (column - pad);
    return srcBase + v * srcStride;
  };
  // Strip row of the segment's pixel u = width - 1 (left) or u = 0 (right),
  // which lands on destination row dstY.
  const i64 firstStripRow = T == Turn::Left ? 8 * bytes - c.width - offset : offset;
  std::uint8_t* dstRow = q.dst + c.dstY * dstStride;

  // Pixel x of the segment becomes strip row 8L - 1 - x for a left turn and
  // strip row x for a right turn.
  const std::ptrdiff_t step = T == Turn::Left ? -stride : stride;
  std::uint8_t* const pixel0 = strip + (T == Turn::Left ? (8 * bytes - 1) * stride : 0);
  const auto transpose16 = kernels().transpose16;

  for (i64 begin = 0; begin < total; begin += stripColumns) {
    const i64 end = std::min(begin + stripColumns, total);
    // Sixteen strip columns (two bytes) at a time: the strip holds a
    // multiple of 16, and columns past the end read zero rows. The strip
    // rows of one span of source bytes are filled before the next span's,
    // so that the writes stay in the first-level cache.
    for (i64 b = 0; b < bytes; b += kSpanBytes) {
      const i64 span = std::min(kSpanBytes, bytes - b);
      for (i64 pair = 0; begin + 16 * pair < end; ++pair) {
        const std::uint8_t* rows[16];
        for (int k = 0; k < 16; ++k) rows[k] = source_row(begin + 16 * pair + k) + b;
        std::uint8_t* out = pixel0 + 8 * b * step + 2 * pair;
        const i64 done = transpose16(rows, span, out, step);
        transpose8(rows, done, span, out, step);
        transpose8(rows + 8, done, span, out + 1, step);
      }
    }
    const i64 first = std::max(begin, pad);
    blit_rows(dstRow, dstStride, c.dstX - pad + first, strip + firstStripRow * stride, stride, first - begin,
              end - first, c.width, rop);
  }
}

}  // namespace

int rotate_quarter(const Request& q, std::int32_t rop, Turn turn) {
  const RotateClip c = clip_quarter(q, turn);
  if (c.empty()) return kOk;
  const i64 bytes = ((c.srcX & 7) + c.width + 7) >> 3;
  if (bytes > kStripBytes / 16) return kStripTooWide;
  // The strip, followed by a row of zeros standing in for rows outside the
  // rectangle.
  WorkMemory memory(kStripBytes + bytes);
  if (!memory.ok()) return kNoMemory;
  std::uint8_t* strip = memory.data();
  const std::uint8_t* zeros = strip + kStripBytes;
  if (turn == Turn::Left)
    rotate_strips<Turn::Left>(q, c, strip, zeros, blit_rop(rop));
  else
    rotate_strips<Turn::Right>(q, c, strip, zeros, blit_rop(rop));
  return kOk;
}

}  // namespace monoimg
