// Zoom and rotation in one call, in whichever order rotates the smaller
// image: MlxBltZoomRot and MlxDIBZoomRot.
#include <algorithm>
#include <limits>

#include "monoimg.h"
#include "rotate.h"
#include "zoom.h"
#include "work_memory.h"

namespace monoimg {
namespace {

// A zeroed plain image used between the two steps.
class TempImage {
 public:
  TempImage(i64 width, i64 height)
      : width_(width),
        height_(height),
        memory_(height > std::numeric_limits<i64>::max() / std::max<i64>(row_bytes(width), 1)
                    ? -1
                    : row_bytes(width) * height) {}
  bool ok() const { return memory_.ok(); }
  std::uint8_t* data() const { return memory_.data(); }
  i64 width() const { return width_; }
  i64 height() const { return height_; }

 private:
  i64 width_, height_;
  WorkMemory memory_;
};

int zoom_rotate(const Request& q, Ratio x, Ratio y, std::int32_t rop, std::int32_t angle) {
  if (has_negative_dimension(q)) return kBadArgument;
  // The temporary only ever holds the part of the rectangle inside the source.
  const i64 srcX = std::max<i64>(q.srcX, 0);
  const i64 srcY = std::max<i64>(q.srcY, 0);
  const i64 width = std::min(q.srcWidth - srcX, q.width);
  const i64 height = std::min(q.srcHeight - srcY, q.height);
  if (width <= 0 || height <= 0) return kOk;
  const bool quarter = is_quarter_turn(angle);

  if (x.den * y.den < x.num * y.num) {
    // Enlarging: rotate the source, then zoom the rotated image, whose x axis
    // is the source's y axis after a quarter turn.
    TempImage temp(quarter ? height : width, quarter ? width : height);
    if (!temp.ok()) return kNoMemory;
    const int rotated = rotate(Request{temp.data(), temp.width(), temp.height(), 0, 0, q.src, q.srcWidth,
                                       q.srcHeight, srcX, srcY, width, height},
                               MLX_ROP_COPY, angle);
    if (rotated != kOk) return rotated;
    return zoom_blt(Request{q.dst, q.dstWidth, q.dstHeight, q.dstX, q.dstY, temp.data(), temp.width(),
                            temp.height(), 0, 0, temp.width(), temp.height()},
                    quarter ? y : x, quarter ? x : y, rop);
  }
  TempImage temp(scale(width, x), scale(height, y));
  if (temp.width() <= 0 || temp.height() <= 0) return kOk;
  if (!temp.ok()) return kNoMemory;
  const int zoomed = zoom_blt(Request{temp.data(), temp.width(), temp.height(), 0, 0, q.src, q.srcWidth,
                                      q.srcHeight, srcX, srcY, width, height},
                              x, y, MLX_ROP_COPY);
  if (zoomed != kOk) return zoomed;
  return rotate(Request{q.dst, q.dstWidth, q.dstHeight, q.dstX, q.dstY, temp.data(), temp.width(), temp.height(),
                        0, 0, temp.width(), temp.height()},
                rop, angle);
}

}  // namespace
}  // namespace monoimg

using monoimg::Request;

extern "C" {

int32_t MLX_CALL MlxBltZoomRot(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX, int32_t dstY,
                               const uint8_t* src, int32_t srcWidth, int32_t srcHeight, int32_t srcX,
                               int32_t srcY, int32_t width, int32_t height, uint32_t xNum, uint32_t xDen,
                               uint32_t yNum, uint32_t yDen, int32_t rop, int32_t angle) {
  return monoimg::zoom_rotate(
      Request{dst, dstWidth, dstHeight, dstX, dstY, src, srcWidth, srcHeight, srcX, srcY, width, height},
      monoimg::sanitize(xNum, xDen, true), monoimg::sanitize(yNum, yDen, true), rop, angle);
}

int32_t MLX_CALL MlxDIBZoomRot(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX, int32_t dstY,
                               const uint8_t* src, int32_t srcWidth, int32_t srcHeight, int32_t srcX,
                               int32_t srcY, int32_t width, int32_t height, uint32_t xNum, uint32_t xDen,
                               uint32_t yNum, uint32_t yDen, int32_t rop, int32_t angle) {
  const monoimg::Ratio x = monoimg::sanitize(xNum, xDen, true);
  const monoimg::Ratio y = monoimg::sanitize(yNum, yDen, true);
  const Request q{dst, dstWidth, dstHeight, dstX, dstY, src, srcWidth, srcHeight, srcX, srcY, width, height};
  const monoimg::i64 dstRows = monoimg::is_quarter_turn(angle) ? monoimg::scale(width, x) : monoimg::scale(height, y);
  // Bottom-up storage turns the other way, as for MlxDIBRot.
  return monoimg::zoom_rotate(monoimg::flip_rows(q, 32, dstRows), x, y, rop, monoimg::mirrored_angle(angle));
}

}  // extern "C"
