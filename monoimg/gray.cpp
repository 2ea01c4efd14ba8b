// Reduction of bi-level images to gray levels by counting set samples:
// MlxZoomToGray and MlxDIBZoomToGray.
#include <algorithm>
#include <array>

#include "kernels.h"
#include "monoimg.h"
#include "row_scaler.h"
#include "zoom.h"

namespace monoimg {
namespace {

// Sample counts per byte of eight samples, first samples in the high part:
// four 2-bit groups counted into four nibbles (4-bit output from 2 samples),
// two 4-bit groups into two nibbles (4-bit output from 4 samples) and two
// 4-bit groups into two bytes (8-bit output from 4 samples).
struct CountTables {
  std::array<std::uint16_t, 256> pairs{};
  std::array<std::uint8_t, 256> quadNibbles{};
  std::array<std::uint16_t, 256> quadBytes{};
};

constexpr CountTables make_count_tables() {
  CountTables t{};
  for (int v = 0; v < 256; ++v) {
    int pairs = 0;
    for (int group = 0; group < 4; ++group) {
      const int bits = (v >> (6 - 2 * group)) & 3;
      pairs |= ((bits & 1) + (bits >> 1)) << (12 - 4 * group);
    }
    const int high = __builtin_popcount(static_cast<unsigned>(v >> 4));
    const int low = __builtin_popcount(static_cast<unsigned>(v & 15));
    t.pairs[v] = static_cast<std::uint16_t>(pairs);
    t.quadNibbles[v] = static_cast<std::uint8_t>(high << 4 | low);
    t.quadBytes[v] = static_cast<std::uint16_t>(high << 8 | low);
  }
  return t;
}

constexpr CountTables kCounts = make_count_tables();

// Sample rows rendered from source rows, remembering which source row each
// slot holds so that rows shared between output rows are scaled once.
class SampleRows {
 public:
  SampleRows(int slots, i64 rowBytes) : rowBytes_(rowBytes), memory_(slots * rowBytes) {
    tags_.fill(-1);
  }
  bool ok() const { return memory_.ok(); }

  const std::uint8_t* get(int slot, i64 srcRow, const RowScaler& scaler, const std::uint8_t* src,
                          i64 srcStride, i64 samples) {
    const std::uint8_t* row = src + srcRow * srcStride;
    // Counting ignores samples past the last output pixel, so rows that
    // need no scaling are read where they are.
    if (const std::uint8_t* unscaled = scaler.unscaled(row, samples)) return unscaled;
    if (slot > 0 && tags_[slot - 1] == srcRow) return slot_data(slot - 1);
    if (tags_[slot] != srcRow) {
      scaler.render(row, samples, slot_data(slot));
      tags_[slot] = srcRow;
    }
    return slot_data(slot);
  }

 private:
  std::uint8_t* slot_data(int slot) const { return memory_.data() + slot * rowBytes_; }

  i64 rowBytes_;
  WorkMemory memory_;
  std::array<i64, 4> tags_;
};

// Writes `count` 4-bit pixels, packed high nibble first, at pixel dstX of a
// destination row; nibbles outside the pixels keep their values.
void put_nibbles(std::uint8_t* row, i64 dstX, const std::uint8_t* packed, i64 count) {
  std::uint8_t* d = row + dstX / 2;
  if ((dstX & 1) == 0) {
    std::memcpy(d, packed, static_cast<std::size_t>(count / 2));
    if (count & 1) d[count / 2] = static_cast<std::uint8_t>((d[count / 2] & 0x0F) | (packed[count / 2] & 0xF0));
    return;
  }
  d[0] = static_cast<std::uint8_t>((d[0] & 0xF0) | (packed[0] >> 4));
  const i64 pairs = (count - 1) / 2;
  for (i64 j = 0; j < pairs; ++j) d[1 + j] = static_cast<std::uint8_t>(packed[j] << 4 | packed[j + 1] >> 4);
  if ((count - 1) & 1)
    d[1 + pairs] = static_cast<std::uint8_t>((d[1 + pairs] & 0x0F) | (packed[pairs] << 4));
}

int gray_levels(const Request& q, const ZoomClip& c, Ratio x, Ratio y, int mode) {
  const bool eightBit = mode >= 3;
  const int across = mode == 1 ? 2 : 4;
  const int down = eightBit ? 4 : 2;
  const i64 outWidth = scale(c.columns, x);
  const i64 outRows = scale(c.rows, y);
  if (outWidth <= 0 || outRows <= 0) return kOk;
  const i64 samples = across * outWidth;
  const i64 sampleBytes = row_bytes(samples);

  RowScaler scaler(c.srcX, c.columns, Ratio{across * x.num, x.den});
  SampleRows rows(down, sampleBytes);
  WorkMemory out(2 * sampleBytes);
  if (!scaler.ok() || !rows.ok() || !out.ok()) return kNoMemory;

  const i64 srcStride = row_bytes(q.srcWidth);
  const i64 dstStride = eightBit ? q.dstWidth : (q.dstWidth + 1) / 2;
  std::uint8_t* packed = out.data();
  for (i64 i = 0; i < outRows; ++i) {
    const std::uint8_t* sample[4];
    for (int k = 0; k < down; ++k) {
      const i64 srcRow = std::min(c.srcY + mul_div(down * i + k, y.den, down * y.num), q.srcHeight - 1);
      sample[k] = rows.get(k, srcRow, scaler, q.src, srcStride, samples);
    }
    std::uint8_t* dstRow = q.dst + (c.dstY + i) * dstStride;
    // The vector kernels count the leading bytes, the tables the rest.
    if (eightBit) {
      for (i64 j = kernels().count_quad_bytes(sample, sampleBytes, packed); j < sampleBytes; ++j) {
        const unsigned v = kCounts.quadBytes[sample[0][j]] + kCounts.quadBytes[sample[1][j]] +
                           kCounts.quadBytes[sample[2][j]] + kCounts.quadBytes[sample[3][j]];
        packed[2 * j] = static_cast<std::uint8_t>(v >> 8);
        packed[2 * j + 1] = static_cast<std::uint8_t>(v);
      }
      std::memcpy(dstRow + c.dstX, packed, static_cast<std::size_t>(outWidth));
    } else if (mode == 1) {
      for (i64 j = kernels().count_pairs(sample, sampleBytes, packed); j < sampleBytes; ++j) {
        const unsigned v = kCounts.pairs[sample[0][j]] + kCounts.pairs[sample[1][j]];
        packed[2 * j] = static_cast<std::uint8_t>(v >> 8);
        packed[2 * j + 1] = static_cast<std::uint8_t>(v);
      }
      put_nibbles(dstRow, c.dstX, packed, outWidth);
    } else {
      for (i64 j = kernels().count_quad_nibbles(sample, sampleBytes, packed); j < sampleBytes; ++j)
        packed[j] = static_cast<std::uint8_t>(kCounts.quadNibbles[sample[0][j]] + kCounts.quadNibbles[sample[1][j]]);
      put_nibbles(dstRow, c.dstX, packed, outWidth);
    }
  }
  return kOk;
}

// The bi-level zoom refuses numerators above 65536 that gray reduction takes.
Ratio limited(Ratio r) { return r.num > 0x10000u ? Ratio{} : r; }

int zoom_to_gray(const Request& q, Ratio x, Ratio y, int mode) {
  if (has_negative_dimension(q)) return kBadArgument;
  const ZoomClip c = clip_zoom(q, x, y);
  if (c.empty()) return kOk;
  if (mode <= 0) {
    const Request clipped{q.dst,     q.dstWidth, q.dstHeight, c.dstX,    c.dstY, q.src,
                          q.srcWidth, q.srcHeight, c.srcX,    c.srcY, c.columns, c.rows};
    return zoom_blt(clipped, limited(x), limited(y), MLX_ROP_COPY);
  }
  return gray_levels(q, c, x, y, mode);
}

}  // namespace
}  // namespace monoimg

using monoimg::Request;

extern "C" {

int32_t MLX_CALL MlxZoomToGray(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX, int32_t dstY,
                               const uint8_t* src, int32_t srcWidth, int32_t srcHeight, int32_t srcX,
                               int32_t srcY, int32_t width, int32_t height, uint32_t xNum, uint32_t xDen,
                               uint32_t yNum, uint32_t yDen, int32_t /*reserved*/, int32_t mode) {
  return monoimg::zoom_to_gray(
      Request{dst, dstWidth, dstHeight, dstX, dstY, src, srcWidth, srcHeight, srcX, srcY, width, height},
      monoimg::sanitize(xNum, xDen, false), monoimg::sanitize(yNum, yDen, false), static_cast<int16_t>(mode));
}

int32_t MLX_CALL MlxDIBZoomToGray(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX, int32_t dstY,
                                  const uint8_t* src, int32_t srcWidth, int32_t srcHeight, int32_t srcX,
                                  int32_t srcY, int32_t width, int32_t height, uint32_t xNum, uint32_t xDen,
                                  uint32_t yNum, uint32_t yDen, int32_t /*reserved*/, int32_t mode) {
  const int grayMode = static_cast<int16_t>(mode);
  // DIB rows are padded to 32 bits: 32 bi-level, 8 four-bit or 4 eight-bit
  // pixels. Negative modes produce bi-level rows too and are padded alike.
  const monoimg::i64 unit = grayMode <= 0 ? 32 : grayMode <= 2 ? 8 : 4;
  const monoimg::Ratio y = monoimg::sanitize(yNum, yDen, true);
  const Request q{dst, dstWidth, dstHeight, dstX, dstY, src, srcWidth, srcHeight, srcX, srcY, width, height};
  return monoimg::zoom_to_gray(monoimg::flip_rows(q, unit, monoimg::scale(height, y)),
                               monoimg::sanitize(xNum, xDen, false), y, grayMode);
}

}  // extern "C"
