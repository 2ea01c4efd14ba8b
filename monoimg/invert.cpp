// In-place inversion of a rectangle: MlxRop and its bottom-up twin.
#include <algorithm>

#include "engine.h"
#include "kernels.h"
#include "monoimg.h"

namespace monoimg {
namespace {

int invert_rect(std::uint8_t* image, i64 width, i64 height, i64 x, i64 y, i64 rectWidth, i64 rectHeight,
                std::int32_t rop) {
  if (rop != MLX_ROP_INVERT) return kBadArgument;
  if (x < 0) {
    rectWidth += x;
    x = 0;
  }
  if (y < 0) {
    rectHeight += y;
    y = 0;
  }
  rectWidth = std::min(rectWidth, width - x);
  rectHeight = std::min(rectHeight, height - y);
  if (rectWidth <= 0 || rectHeight <= 0) return kOk;

  const i64 stride = row_bytes(width);
  const i64 first = x >> 3;
  const i64 last = (x + rectWidth - 1) >> 3;
  const std::uint8_t leading = head_mask(x);
  const std::uint8_t trailing = lead_mask(((x + rectWidth - 1) & 7) + 1);
  std::uint8_t* row = image + y * stride;
  const auto invert_bytes = kernels().invert_bytes;
  for (i64 r = 0; r < rectHeight; ++r, row += stride) {
    if (first == last) {
      row[first] ^= static_cast<std::uint8_t>(leading & trailing);
      continue;
    }
    row[first] ^= leading;
    invert_bytes(row + first + 1, last - first - 1);
    row[last] ^= trailing;
  }
  return kOk;
}

}  // namespace
}  // namespace monoimg

extern "C" {

int32_t MLX_CALL MlxRop(uint8_t* image, int32_t width, int32_t height, int32_t x, int32_t y, int32_t rectWidth,
                        int32_t rectHeight, int32_t rop, int32_t /*reserved*/) {
  return monoimg::invert_rect(image, width, height, x, y, rectWidth, rectHeight, rop);
}

int32_t MLX_CALL MlxDIBRop(uint8_t* image, int32_t width, int32_t height, int32_t x, int32_t y, int32_t rectWidth,
                           int32_t rectHeight, int32_t rop, int32_t /*reserved*/) {
  const monoimg::i64 storedY = monoimg::i64{height} - rectHeight - y;
  return monoimg::invert_rect(image, monoimg::round_up(width, 32), height, x, storedY, rectWidth, rectHeight, rop);
}

}  // extern "C"
