// Bi-level zooming by independent rational factors: MlxBltZoom, MlxDIBZoom.
#include "zoom.h"

#include <algorithm>

#include "monoimg.h"
#include "row_blit.h"
#include "row_scaler.h"

namespace monoimg {

namespace {

// One axis of the zoom clipping: source pixels that would land before the
// destination's edge are skipped, then the segment is cut to what fits.
void clip_axis(i64& src, i64& dst, i64& length, i64 srcSize, i64 dstSize, i64 requested, Ratio r) {
  src = std::max<i64>(src, 0);
  length = std::min(srcSize - src, requested);
  if (dst < 0) {
    const i64 skipped = mul_div(-dst, r.den, r.num);
    length -= skipped;
    src += skipped;
    dst = 0;
  }
  length = std::min(length, fitting_length(dstSize - dst, r));
}

}  // namespace

ZoomClip clip_zoom(const Request& q, Ratio x, Ratio y) {
  ZoomClip c{q.srcX, q.srcY, 0, 0, q.dstX, q.dstY};
  clip_axis(c.srcX, c.dstX, c.columns, q.srcWidth, q.dstWidth, q.width, x);
  clip_axis(c.srcY, c.dstY, c.rows, q.srcHeight, q.dstHeight, q.height, y);
  return c;
}

int zoom_blt(const Request& q, Ratio x, Ratio y, std::int32_t rop) {
  if (has_negative_dimension(q)) return kBadArgument;
  if (x.identity() && y.identity()) return bit_blt(q, rop);
  const ZoomClip c = clip_zoom(q, x, y);
  if (c.empty()) return kOk;
  const i64 outWidth = scale(c.columns, x);
  const i64 outRows = scale(c.rows, y);
  if (outWidth <= 0 || outRows <= 0) return kOk;

  RowScaler scaler(c.srcX, c.columns, x);
  WorkMemory rowBuffer(row_bytes(outWidth));
  if (!scaler.ok() || !rowBuffer.ok()) return kNoMemory;

  const i64 srcStride = row_bytes(q.srcWidth);
  const i64 dstStride = row_bytes(q.dstWidth);
  std::uint8_t* dstRow = q.dst + c.dstY * dstStride;
  i64 i = 0;
  while (i < outRows) {
    const i64 srcRow = std::min(c.srcY + mul_div(i, y.den, y.num), q.srcHeight - 1);
    // Output rows fed by the same source row are written in one go.
    i64 repeats = 1;
    while (i + repeats < outRows &&
           std::min(c.srcY + mul_div(i + repeats, y.den, y.num), q.srcHeight - 1) == srcRow)
      ++repeats;
    scaler.render(q.src + srcRow * srcStride, outWidth, rowBuffer.data());
    blit_rows(dstRow, dstStride, c.dstX, rowBuffer.data(), 0, 0, outWidth, repeats, blit_rop(rop));
    dstRow += repeats * dstStride;
    i += repeats;
  }
  return kOk;
}

}  // namespace monoimg

using monoimg::Request;

extern "C" {

int32_t MLX_CALL MlxBltZoom(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX, int32_t dstY,
                            const uint8_t* src, int32_t srcWidth, int32_t srcHeight, int32_t srcX, int32_t srcY,
                            int32_t width, int32_t height, uint32_t xNum, uint32_t xDen, uint32_t yNum,
                            uint32_t yDen, int32_t rop) {
  return monoimg::zoom_blt(
      Request{dst, dstWidth, dstHeight, dstX, dstY, src, srcWidth, srcHeight, srcX, srcY, width, height},
      monoimg::sanitize(xNum, xDen, true), monoimg::sanitize(yNum, yDen, true), rop);
}

int32_t MLX_CALL MlxDIBZoom(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX, int32_t dstY,
                            const uint8_t* src, int32_t srcWidth, int32_t srcHeight, int32_t srcX, int32_t srcY,
                            int32_t width, int32_t height, uint32_t xNum, uint32_t xDen, uint32_t yNum,
                            uint32_t yDen, int32_t rop) {
  const monoimg::Ratio x = monoimg::sanitize(xNum, xDen, true);
  const monoimg::Ratio y = monoimg::sanitize(yNum, yDen, true);
  const Request q{dst, dstWidth, dstHeight, dstX, dstY, src, srcWidth, srcHeight, srcX, srcY, width, height};
  return monoimg::zoom_blt(monoimg::flip_rows(q, 32, monoimg::scale(height, y)), x, y, rop);
}

}  // extern "C"
