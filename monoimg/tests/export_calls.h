// The same calls of every export on inputs drawn from one seed, for a run of
// the native library and a run of monoimg.dll to be compared call by call.
#pragma once

#include <cstdint>
#include <random>
#include <type_traits>
#include <vector>

#include "monoimg/monoimg.h"
#include "test_images.h"

namespace testimg {

// visit(ordinal, function, source bytes, destination, arguments after the
// destination): the visitor makes the call and keeps or checks its result.
// The destination is 224 pixels wide, so that its rows take the same bytes in
// both layouts; the bottom-up exports get the source as a bottom-up bitmap.
template <typename Visit>
void ForEachExportCall(Visit &&visit) {
  std::mt19937 rng(41);
  for (int round = 0; round < 4; ++round) {
    const Picture src = random_picture(rng, pick(rng, 1, 200), pick(rng, 1, 40));
    const Picture dib = convert(src, true);
    const std::vector<uint8_t> dst = random_picture(rng, 224, 224).bytes;
    const int32_t x = int32_t(pick(rng, -20, 100)), y = int32_t(pick(rng, -5, 100));
    const int32_t sx = int32_t(pick(rng, -3, src.width)), sy = int32_t(pick(rng, -3, src.height));
    const int32_t w = int32_t(pick(rng, 0, 230)), h = int32_t(pick(rng, 0, 50));
    const int32_t sw = int32_t(src.width), sh = int32_t(src.height);
    const uint32_t n = uint32_t(pick(rng, 1, 3)), d = uint32_t(pick(rng, 1, 3));
    const int32_t angle = round * 90, rop = round % 2, mode = round;
    const uint8_t *s = src.bytes.data(), *t = dib.bytes.data();
    const auto &b = src.bytes, &bd = dib.bytes;
    visit(10, &MlxBitBlt, b, dst, 224, 224, x, y, s, sw, sh, sx, sy, w, h, rop);
    visit(30, &MlxDIBBlt, bd, dst, 224, 224, x, y, t, sw, sh, sx, sy, w, h, rop);
    visit(9, &MlxBitBltToDIB, b, dst, 224, 224, x, y, s, sw, sh, sx, sy, w, h, rop);
    visit(20, &MlxRop, b, dst, 224, 224, x, y, w, h, 2, 0);
    visit(40, &MlxDIBRop, bd, dst, 224, 224, x, y, w, h, 2, 0);
    visit(15, &MlxBltZoom, b, dst, 224, 224, x, y, s, sw, sh, sx, sy, w, h, n, d, d, n, rop);
    visit(35, &MlxDIBZoom, bd, dst, 224, 224, x, y, t, sw, sh, sx, sy, w, h, n, d, d, n, rop);
    visit(21, &MlxZoomToGray, b, dst, 52, 52, x, y, s, sw, sh, sx, sy, w, h, n, d, d, n, 0, mode);
    visit(41, &MlxDIBZoomToGray, bd, dst, 52, 52, x, y, t, sw, sh, sx, sy, w, h, n, d, d, n, 0, mode);
    visit(11, &MlxBltRotLeft, b, dst, 224, 224, x, y, s, sw, sh, sx, sy, w, h, rop);
    visit(12, &MlxBltRotRight, b, dst, 224, 224, x, y, s, sw, sh, sx, sy, w, h, rop);
    visit(13, &MlxBltRot180, b, dst, 224, 224, x, y, s, sw, sh, sx, sy, w, h, rop);
    visit(14, &MlxBltRot, b, dst, 224, 224, x, y, s, sw, sh, sx, sy, w, h, rop, angle);
    visit(34, &MlxDIBRot, bd, dst, 224, 224, x, y, t, sw, sh, sx, sy, w, h, rop, angle);
    visit(16, &MlxBltZoomRot, b, dst, 224, 224, x, y, s, sw, sh, sx, sy, w, h, n, d, d, n, rop, angle);
    visit(36, &MlxDIBZoomRot, bd, dst, 224, 224, x, y, t, sw, sh, sx, sy, w, h, n, d, d, n, rop, angle);
  }
}

// FNV-1a of a call's inputs: the source, the destination before the call and
// the numeric arguments (pointers differ from run to run and are left out).
template <typename... Args>
uint32_t InputDigest(const std::vector<uint8_t> &src, const std::vector<uint8_t> &dst, Args... args) {
  uint32_t h = 2166136261u;
  const auto add = [&h](uint8_t byte) { h = (h ^ byte) * 16777619u; };
  for (uint8_t byte : src) add(byte);
  for (uint8_t byte : dst) add(byte);
  const auto addValue = [&add](auto value) {
    if constexpr (std::is_integral_v<decltype(value)>)
      for (size_t i = 0; i < sizeof value; ++i) add(uint8_t(uint64_t(value) >> (8 * i)));
  };
  (addValue(args), ...);
  return h;
}

// One call's outcome as the native run writes it: ordinal, input digest,
// result and the destination after the call.
struct CallRecord {
  uint32_t ordinal, digest;
  int32_t result;
  std::vector<uint8_t> dst;
};

}  // namespace testimg
