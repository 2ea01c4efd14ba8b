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
// The destinations are 224 and 1216 pixels wide, so that their rows take the
// same bytes in both layouts; the bottom-up exports get the source as a
// bottom-up bitmap.
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
  // Rows many vectors wide, so that each export runs its widest inner loops
  // (AVX2 where the processor has it) as well as their byte-by-byte ends.
  const Picture src = random_picture(rng, 1203, 300);
  const Picture dib = convert(src, true);
  const std::vector<uint8_t> dst = random_picture(rng, 1216, 320).bytes;
  const uint8_t *s = src.bytes.data(), *t = dib.bytes.data();
  const auto &b = src.bytes, &bd = dib.bytes;
  for (const int32_t x : {0, 3}) {
    const int32_t rop = x == 0 ? 0 : 1;
    visit(10, &MlxBitBlt, b, dst, 1216, 320, x, 1, s, 1203, 300, 5, 0, 1198, 300, rop);
    visit(30, &MlxDIBBlt, bd, dst, 1216, 320, x, 1, t, 1203, 300, 5, 0, 1198, 300, rop);
    visit(20, &MlxRop, b, dst, 1216, 320, x, 1, 1190, 300, 2, 0);
    for (const int32_t angle : {90, 180, 270})
      visit(14, &MlxBltRot, b, dst, 1216, 320, x, 2, s, 1203, 300, 1, 0, 1202, 300, rop, angle);
    visit(15, &MlxBltZoom, b, dst, 1216, 320, x, 0, s, 1203, 300, 2, 0, 1201, 300, 1u, 3u, 1u, 3u, rop);
    for (const int32_t mode : {1, 2, 3}) {
      const uint32_t across = mode == 1 ? 2 : 4, down = mode == 3 ? 4 : 2;
      visit(21, &MlxZoomToGray, b, dst, 304, 150, x, 0, s, 1203, 300, 0, 0, 1203, 300, 1u, across, 1u, down, 0, mode);
    }
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
