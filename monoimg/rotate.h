// Rotation by quarter and half turns through a fixed-size strip buffer.
#ifndef MONOIMG_ROTATE_H
#define MONOIMG_ROTATE_H

#include "engine.h"

namespace monoimg {

// Bytes of the strip buffer that every rotation streams the image through.
constexpr i64 kStripBytes = 0x20000;

enum class Turn { Left, Right };

int rotate_quarter(const Request& q, std::int32_t rop, Turn turn);
int rotate_half(const Request& q, std::int32_t rop);

// Dispatches on the low 16 bits of the angle: 90, 180 and 270 degrees
// counter-clockwise rotate; any other angle copies without rotating.
int rotate(const Request& q, std::int32_t rop, std::int32_t angle);

inline bool is_quarter_turn(std::int32_t angle) {
  const auto a = static_cast<std::uint16_t>(angle);
  return a == 90 || a == 270;
}

// The same turn seen on bottom-up storage: left and right exchange.
inline std::int32_t mirrored_angle(std::int32_t angle) {
  const auto a = static_cast<std::uint16_t>(angle);
  return a == 90 ? 270 : a == 270 ? 90 : angle;
}

// The source rectangle and destination corner of a rotation after clipping.
struct RotateClip {
  i64 srcX, srcY, width, height, dstX, dstY;
  bool empty() const { return width <= 0 || height <= 0; }
};

}  // namespace monoimg

#endif
