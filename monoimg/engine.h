// Internal entry points of the engine. Every export widens its arguments to
// 64 bits before clipping, so that no product or difference of the caller's
// 32-bit values can overflow and clip wrongly.
#ifndef MONOIMG_ENGINE_H
#define MONOIMG_ENGINE_H

#include <cstdint>

#include "bit_ops.h"

namespace monoimg {

constexpr int kOk = 0;
constexpr int kBadArgument = 10000;
constexpr int kNoMemory = 10001;
constexpr int kStripTooWide = -1;

// The arguments shared by the blit, zoom and rotation families: a destination
// image and position, a source image and the source rectangle.
struct Request {
  std::uint8_t* dst;
  i64 dstWidth, dstHeight, dstX, dstY;
  const std::uint8_t* src;
  i64 srcWidth, srcHeight, srcX, srcY, width, height;
};

// Turns a request on bottom-up bitmaps into the same request on their
// storage: widths padded to `unit` pixels and y counted from the other end.
// `dstRows` is the height of the written rectangle at the destination.
inline Request flip_rows(Request q, i64 unit, i64 dstRows) {
  q.dstWidth = round_up(q.dstWidth, unit);
  q.srcWidth = round_up(q.srcWidth, 32);
  q.dstY = q.dstHeight - q.dstY - dstRows;
  q.srcY = q.srcHeight - q.height - q.srcY;
  return q;
}

// The clipped blit of MlxBitBlt, on 64-bit arguments.
int bit_blt(const Request& q, std::int32_t rop);

}  // namespace monoimg

#endif
