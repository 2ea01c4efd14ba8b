// monoimg.dll as a caller sees it: every export resolves by name and by its
// ordinal to the same function, and the DLL gives the same results as the
// engine linked statically and as the reference model.
#include <windows.h>

#include <gtest/gtest.h>

#include "monoimg/monoimg.h"
#include "reference_model.h"
#include "test_images.h"

namespace {

using namespace testimg;

struct Export {
  const char* name;
  WORD ordinal;
};

const Export kExports[] = {
    {"MlxBitBltToDIB", 9}, {"MlxBitBlt", 10},     {"MlxBltRotLeft", 11}, {"MlxBltRotRight", 12},
    {"MlxBltRot180", 13},  {"MlxBltRot", 14},     {"MlxBltZoom", 15},    {"MlxBltZoomRot", 16},
    {"MlxRop", 20},        {"MlxZoomToGray", 21}, {"MlxDIBBlt", 30},     {"MlxDIBRot", 34},
    {"MlxDIBZoom", 35},    {"MlxDIBZoomRot", 36}, {"MlxDIBRop", 40},     {"MlxDIBZoomToGray", 41},
};

class MonoimgDll : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA("monoimg.dll");
    ASSERT_NE(module_, nullptr) << "LoadLibrary failed: " << GetLastError();
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  // The export `linked` names, resolved by ordinal or by name in turn.
  template <typename F>
  F resolve(F, const char* name, WORD ordinal) {
    const bool byName = ++lookups_ % 2 == 0;
    FARPROC p = byName ? GetProcAddress(module_, name) : GetProcAddress(module_, MAKEINTRESOURCEA(ordinal));
    return reinterpret_cast<F>(reinterpret_cast<void*>(p));
  }
  HMODULE module_ = nullptr;
  int lookups_ = 0;
};

// Calls the DLL's and the linked function with the same arguments on copies
// of one destination; both must give the same result and pixels.
template <typename F, typename... Args>
void expect_same(F fromDll, F linked, std::vector<uint8_t> dst, Args... args) {
  ASSERT_NE(fromDll, nullptr);
  std::vector<uint8_t> other = dst;
  EXPECT_EQ(fromDll(dst.data(), args...), linked(other.data(), args...));
  EXPECT_EQ(dst, other);
}

#define SAME(name, ordinal, ...) expect_same(resolve(&name, #name, ordinal), &name, __VA_ARGS__)

TEST_F(MonoimgDll, EveryExportResolvesByNameAndOrdinal) {
  for (const Export& e : kExports) {
    FARPROC named = GetProcAddress(module_, e.name);
    FARPROC numbered = GetProcAddress(module_, MAKEINTRESOURCEA(e.ordinal));
    ASSERT_NE(named, nullptr) << e.name;
    EXPECT_EQ(named, numbered) << e.name << " @" << e.ordinal;
  }
  // The ordinals in between are empty.
  for (WORD ordinal : {1, 8, 17, 19, 22, 29, 31, 33, 37, 39, 42})
    EXPECT_EQ(GetProcAddress(module_, MAKEINTRESOURCEA(ordinal)), nullptr) << ordinal;
}

TEST_F(MonoimgDll, ExportsMatchTheLinkedEngine) {
  std::mt19937 rng(31);
  for (int round = 0; round < 6; ++round) {
    Picture src = random_picture(rng, pick(rng, 1, 200), pick(rng, 1, 40));
    const std::vector<uint8_t> dst = random_picture(rng, 208, 208).bytes;
    const int32_t x = int32_t(pick(rng, -20, 100)), y = int32_t(pick(rng, -5, 100));
    const int32_t sx = int32_t(pick(rng, -3, src.width)), sy = int32_t(pick(rng, -3, src.height));
    const int32_t w = int32_t(pick(rng, 0, 210)), h = int32_t(pick(rng, 0, 50));
    const int32_t sw = int32_t(src.width), sh = int32_t(src.height);
    const uint32_t n = uint32_t(pick(rng, 1, 3)), d = uint32_t(pick(rng, 1, 3));
    const int32_t angle = (round % 4) * 90, rop = round % 2, mode = round % 4;
    const uint8_t* s = src.data();
    SAME(MlxBitBlt, 10, dst, 208, 208, x, y, s, sw, sh, sx, sy, w, h, rop);
    SAME(MlxDIBBlt, 30, dst, 208, 208, x, y, s, sw, sh, sx, sy, w, h, rop);
    SAME(MlxBitBltToDIB, 9, dst, 208, 208, x, y, s, sw, sh, sx, sy, w, h, rop);
    SAME(MlxRop, 20, dst, 208, 208, x, y, w, h, 2, 0);
    SAME(MlxDIBRop, 40, dst, 208, 208, x, y, w, h, 2, 0);
    SAME(MlxBltZoom, 15, dst, 208, 208, x, y, s, sw, sh, sx, sy, w, h, n, d, d, n, rop);
    SAME(MlxDIBZoom, 35, dst, 208, 208, x, y, s, sw, sh, sx, sy, w, h, n, d, d, n, rop);
    SAME(MlxZoomToGray, 21, dst, 52, 52, x, y, s, sw, sh, sx, sy, w, h, n, d, d, n, 0, mode);
    SAME(MlxDIBZoomToGray, 41, dst, 52, 52, x, y, s, sw, sh, sx, sy, w, h, n, d, d, n, 0, mode);
    SAME(MlxBltRotLeft, 11, dst, 208, 208, x, y, s, sw, sh, sx, sy, w, h, rop);
    SAME(MlxBltRotRight, 12, dst, 208, 208, x, y, s, sw, sh, sx, sy, w, h, rop);
    SAME(MlxBltRot180, 13, dst, 208, 208, x, y, s, sw, sh, sx, sy, w, h, rop);
    SAME(MlxBltRot, 14, dst, 208, 208, x, y, s, sw, sh, sx, sy, w, h, rop, angle);
    SAME(MlxDIBRot, 34, dst, 208, 208, x, y, s, sw, sh, sx, sy, w, h, rop, angle);
    SAME(MlxBltZoomRot, 16, dst, 208, 208, x, y, s, sw, sh, sx, sy, w, h, n, d, d, n, rop, angle);
    SAME(MlxDIBZoomRot, 36, dst, 208, 208, x, y, s, sw, sh, sx, sy, w, h, n, d, d, n, rop, angle);
  }
}

TEST_F(MonoimgDll, ExportsMatchTheModel) {
  auto zoomRot = resolve(&MlxBltZoomRot, "MlxBltZoomRot", 16);
  std::mt19937 rng(32);
  for (int round = 0; round < 20; ++round) {
    Picture src = random_picture(rng, pick(rng, 1, 120), pick(rng, 1, 40));
    Picture dst = random_picture(rng, 150, 150), expected = dst;
    const ref::Args a{expected.data(), 150, 150, pick(rng, -9, 100), pick(rng, -9, 100), src.data(), src.width,
                      src.height, pick(rng, -2, 9), pick(rng, -2, 9), pick(rng, 1, 120), pick(rng, 1, 40)};
    const ref::Ratios r{uint32_t(pick(rng, 1, 3)), uint32_t(pick(rng, 1, 3)), uint32_t(pick(rng, 1, 3)),
                        uint32_t(pick(rng, 1, 3))};
    const int32_t angle = (round % 4) * 90;
    ASSERT_EQ(zoomRot(dst.data(), 150, 150, int32_t(a.dstX), int32_t(a.dstY), src.data(), int32_t(src.width),
                      int32_t(src.height), int32_t(a.srcX), int32_t(a.srcY), int32_t(a.width), int32_t(a.height),
                      r.xNum, r.xDen, r.yNum, r.yDen, 1, angle),
              ref::zoom_rotate(a, r, 1, angle));
    EXPECT_EQ(dst.bytes, expected.bytes) << "round " << round;
  }
}

}  // namespace
