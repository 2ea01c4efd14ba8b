// Rectangle copy and merge between bit images: MlxBitBlt and its twins for
// bottom-up bitmaps.
#include <algorithm>

#include "engine.h"
#include "monoimg.h"
#include "row_blit.h"

namespace monoimg {

namespace {

// One axis of the blit clipping: a negative source position is moved to 0
// without moving the destination; a negative destination position skips as
// many source pixels.
struct Span {
  i64 src, dst, length;
};

Span clip_span(i64 src, i64 srcSize, i64 dst, i64 dstSize, i64 length) {
  Span s{std::max<i64>(src, 0), dst, 0};
  s.length = std::min(srcSize - s.src, length);
  if (s.dst < 0) {
    s.length += s.dst;
    s.src -= s.dst;
    s.dst = 0;
  }
  s.length = std::min(dstSize - s.dst, s.length);
  return s;
}

// Copies a plain top-down rectangle into a bottom-up bitmap. The rectangle is
// clipped to both images (their whole stored rows) so that no argument can
// make the copy read or write outside them.
int bit_blt_to_dib(const Request& q) {
  const i64 dstStride = row_bytes(round_up(q.dstWidth, 32));
  const i64 srcStride = row_bytes(q.srcWidth);
  i64 srcX = q.srcX, srcY = q.srcY, dstX = q.dstX, dstY = q.dstY;
  i64 width = q.width, height = q.height;
  const i64 leftCut = std::max({i64{0}, -srcX, -dstX});
  srcX += leftCut;
  dstX += leftCut;
  width -= leftCut;
  const i64 topCut = std::max({i64{0}, -srcY, -dstY});
  srcY += topCut;
  dstY += topCut;
  height -= topCut;
  width = std::min({width, srcStride * 8 - srcX, dstStride * 8 - dstX});
  height = std::min({height, q.srcHeight - srcY, q.dstHeight - dstY});
  if (width <= 0 || height <= 0) return kOk;

  // Source row srcY + k lands on stored row dstHeight - dstY - 1 - k.
  std::uint8_t* firstRow = q.dst + (q.dstHeight - dstY - 1) * dstStride;
  blit_rows(firstRow, -dstStride, dstX, q.src + srcY * srcStride, srcStride, srcX, width, height, Rop::Copy);
  return kOk;
}

}  // namespace

int bit_blt(const Request& q, std::int32_t rop) {
  const Span x = clip_span(q.srcX, q.srcWidth, q.dstX, q.dstWidth, q.width);
  const Span y = clip_span(q.srcY, q.srcHeight, q.dstY, q.dstHeight, q.height);
  if (x.length <= 0 || y.length <= 0) return kOk;

  const i64 dstStride = row_bytes(q.dstWidth);
  const i64 srcStride = row_bytes(q.srcWidth);
  blit_rows(q.dst + y.dst * dstStride, dstStride, x.dst, q.src + y.src * srcStride, srcStride, x.src, x.length,
            y.length, blit_rop(rop));
  return kOk;
}

}  // namespace monoimg

using monoimg::Request;

extern "C" {

int32_t MLX_CALL MlxBitBlt(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX, int32_t dstY,
                           const uint8_t* src, int32_t srcWidth, int32_t srcHeight, int32_t srcX, int32_t srcY,
                           int32_t width, int32_t height, int32_t rop) {
  return monoimg::bit_blt(
      Request{dst, dstWidth, dstHeight, dstX, dstY, src, srcWidth, srcHeight, srcX, srcY, width, height}, rop);
}

int32_t MLX_CALL MlxDIBBlt(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX, int32_t dstY,
                           const uint8_t* src, int32_t srcWidth, int32_t srcHeight, int32_t srcX, int32_t srcY,
                           int32_t width, int32_t height, int32_t rop) {
  const Request q{dst, dstWidth, dstHeight, dstX, dstY, src, srcWidth, srcHeight, srcX, srcY, width, height};
  return monoimg::bit_blt(monoimg::flip_rows(q, 32, height), rop);
}

int32_t MLX_CALL MlxBitBltToDIB(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX, int32_t dstY,
                                const uint8_t* src, int32_t srcWidth, int32_t srcHeight, int32_t srcX,
                                int32_t srcY, int32_t width, int32_t height, int32_t /*rop: always a copy*/) {
  return monoimg::bit_blt_to_dib(
      Request{dst, dstWidth, dstHeight, dstX, dstY, src, srcWidth, srcHeight, srcX, srcY, width, height});
}

}  // extern "C"
