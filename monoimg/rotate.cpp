// The rotation exports: quarter and half turns and their dispatcher, for
// top-down images and bottom-up bitmaps.
#include "rotate.h"

#include "monoimg.h"

namespace monoimg {

int rotate(const Request& q, std::int32_t rop, std::int32_t angle) {
  switch (static_cast<std::uint16_t>(angle)) {
    case 90:
      return rotate_quarter(q, rop, Turn::Left);
    case 180:
      return rotate_half(q, rop);
    case 270:
      return rotate_quarter(q, rop, Turn::Right);
    default:
      return bit_blt(q, rop);
  }
}

}  // namespace monoimg

using monoimg::Request;

extern "C" {

int32_t MLX_CALL MlxBltRotLeft(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX, int32_t dstY,
                               const uint8_t* src, int32_t srcWidth, int32_t srcHeight, int32_t srcX,
                               int32_t srcY, int32_t width, int32_t height, int32_t rop) {
  return monoimg::rotate_quarter(
      Request{dst, dstWidth, dstHeight, dstX, dstY, src, srcWidth, srcHeight, srcX, srcY, width, height}, rop,
      monoimg::Turn::Left);
}

int32_t MLX_CALL MlxBltRotRight(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX, int32_t dstY,
                                const uint8_t* src, int32_t srcWidth, int32_t srcHeight, int32_t srcX,
                                int32_t srcY, int32_t width, int32_t height, int32_t rop) {
  return monoimg::rotate_quarter(
      Request{dst, dstWidth, dstHeight, dstX, dstY, src, srcWidth, srcHeight, srcX, srcY, width, height}, rop,
      monoimg::Turn::Right);
}

int32_t MLX_CALL MlxBltRot180(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX, int32_t dstY,
                              const uint8_t* src, int32_t srcWidth, int32_t srcHeight, int32_t srcX, int32_t srcY,
                              int32_t width, int32_t height, int32_t rop) {
  return monoimg::rotate_half(
      Request{dst, dstWidth, dstHeight, dstX, dstY, src, srcWidth, srcHeight, srcX, srcY, width, height}, rop);
}

int32_t MLX_CALL MlxBltRot(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX, int32_t dstY,
                           const uint8_t* src, int32_t srcWidth, int32_t srcHeight, int32_t srcX, int32_t srcY,
                           int32_t width, int32_t height, int32_t rop, int32_t angle) {
  return monoimg::rotate(
      Request{dst, dstWidth, dstHeight, dstX, dstY, src, srcWidth, srcHeight, srcX, srcY, width, height}, rop,
      angle);
}

int32_t MLX_CALL MlxDIBRot(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX, int32_t dstY,
                           const uint8_t* src, int32_t srcWidth, int32_t srcHeight, int32_t srcX, int32_t srcY,
                           int32_t width, int32_t height, int32_t rop, int32_t angle) {
  const Request q{dst, dstWidth, dstHeight, dstX, dstY, src, srcWidth, srcHeight, srcX, srcY, width, height};
  // A quarter turn's rectangle is as tall at the destination as it is wide.
  const monoimg::i64 dstRows = monoimg::is_quarter_turn(angle) ? width : height;
  return monoimg::rotate(monoimg::flip_rows(q, 32, dstRows), rop, monoimg::mirrored_angle(angle));
}

}  // extern "C"
