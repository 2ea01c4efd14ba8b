// Rotations and zoom-rotations against the reference model's pixel mapping.
#include <gtest/gtest.h>

#include "monoimg/monoimg.h"
#include "reference_model.h"
#include "test_images.h"

namespace {

using namespace testimg;

int32_t call_rot(Picture& dst, i64 dstX, i64 dstY, Picture& src, i64 srcX, i64 srcY, i64 w, i64 h, int rop,
                 int angle) {
  auto* f = dst.bottomUp ? MlxDIBRot : MlxBltRot;
  return f(dst.data(), int32_t(dst.width), int32_t(dst.height), int32_t(dstX), int32_t(dstY), src.data(),
           int32_t(src.width), int32_t(src.height), int32_t(srcX), int32_t(srcY), int32_t(w), int32_t(h), rop, angle);
}

int32_t call_zoom_rot(Picture& dst, i64 dstX, i64 dstY, Picture& src, i64 srcX, i64 srcY, i64 w, i64 h,
                      ref::Ratios r, int rop, int angle) {
  auto* f = dst.bottomUp ? MlxDIBZoomRot : MlxBltZoomRot;
  return f(dst.data(), int32_t(dst.width), int32_t(dst.height), int32_t(dstX), int32_t(dstY), src.data(),
           int32_t(src.width), int32_t(src.height), int32_t(srcX), int32_t(srcY), int32_t(w), int32_t(h), r.xNum,
           r.xDen, r.yNum, r.yDen, rop, angle);
}

const int kAngles[] = {90, 180, 270, 0, 45, 0x10000 + 90};

TEST(BltRot, RandomRotationsMatchThePixelMapping) {
  std::mt19937 rng(21);
  for (int round = 0; round < 2500; ++round) {
    Picture src = random_picture(rng, pick(rng, 1, 140), pick(rng, 1, 70));
    Picture dst = random_picture(rng, pick(rng, 1, 90), pick(rng, 1, 150));
    const i64 srcX = pick(rng, -10, src.width), srcY = pick(rng, -10, src.height);
    const i64 dstX = pick(rng, -50, dst.width), dstY = pick(rng, -50, dst.height);
    const i64 w = pick(rng, -1, 150), h = pick(rng, -1, 80);
    const int rop = static_cast<int>(pick(rng, 0, 2));
    const int angle = kAngles[round % 6];
    Picture expected = dst;
    const int want = ref::rotate({expected.data(), dst.width, dst.height, dstX, dstY, src.data(), src.width,
                                  src.height, srcX, srcY, w, h},
                                 rop, angle);
    ASSERT_EQ(call_rot(dst, dstX, dstY, src, srcX, srcY, w, h, rop, angle), want);
    ASSERT_EQ(dst.bytes, expected.bytes) << "round " << round << " angle " << angle << " src " << src.width << "x"
                                         << src.height << " rect " << srcX << "," << srcY << " " << w << "x" << h
                                         << " dst " << dst.width << "x" << dst.height << " at " << dstX << ","
                                         << dstY;
  }
}

TEST(BltRot, ImagesLargerThanOneStrip) {
  // 1000-byte rows leave room for 128 rows per quarter-turn strip and 128 per
  // half-turn strip, so these pictures cross several strips.
  std::mt19937 rng(22);
  Picture src = random_picture(rng, 8000, 300);
  for (int angle : {90, 180, 270}) {
    Picture dst = random_picture(rng, angle == 180 ? 8003 : 305, angle == 180 ? 303 : 8003);
    Picture expected = dst;
    ref::rotate({expected.data(), dst.width, dst.height, 3, 1, src.data(), 8000, 300, 5, 2, 7995, 297}, 1, angle);
    ASSERT_EQ(call_rot(dst, 3, 1, src, 5, 2, 7995, 297, 1, angle), 0);
    ASSERT_EQ(dst.bytes, expected.bytes) << "angle " << angle;
  }
}

TEST(BltRot, MappingOfASmallRectangleAndPartialFirstByte) {
  // A 3 x 2 rectangle turned left: (0, 0) lands at (0, 2), (2, 1) at (1, 0).
  Picture src = blank(3, 2);
  src.set(0, 0, true);
  src.set(2, 1, true);
  Picture dst = blank(2, 3);
  ASSERT_EQ(MlxBltRotLeft(dst.data(), 2, 3, 0, 0, src.data(), 3, 2, 0, 0, 3, 2, 0), 0);
  EXPECT_TRUE(dst.at(0, 2));
  EXPECT_TRUE(dst.at(1, 0));
  EXPECT_EQ(dst.bytes, (std::vector<uint8_t>{0x40, 0x00, 0x80}));
  // A destination starting at x = 3 keeps pixels 0-2 of its first byte.
  Picture solid = blank(16, 16);
  std::fill(solid.bytes.begin(), solid.bytes.end(), 0xFF);
  Picture wide = blank(24, 16);
  std::fill(wide.bytes.begin(), wide.bytes.end(), 0x00);
  wide.bytes[0] = 0b10100000;
  MlxBltRotRight(wide.data(), 24, 16, 3, 0, solid.data(), 16, 16, 0, 0, 16, 16, 0);
  EXPECT_EQ(wide.bytes[0], 0b10111111);
  EXPECT_EQ(wide.bytes[3], 0b00011111);
}

TEST(BltRot, SegmentsWiderThanTheStripAreRefused) {
  const i64 width = 65544;
  std::vector<uint8_t> src(size_t(width / 8 * 2), 0xFF), dst(size_t(width / 8 * 2), 0);
  EXPECT_EQ(MlxBltRotLeft(dst.data(), 2, int32_t(width), 0, 0, src.data(), int32_t(width), 2, 0, 0, int32_t(width), 2,
                          0),
            MLX_STRIP_TOO_WIDE);
  EXPECT_EQ(MlxBltRot180(dst.data(), int32_t(width), 2, 0, 0, src.data(), int32_t(width), 2, 0, 0, 32776, 2, 0),
            MLX_STRIP_TOO_WIDE);
  EXPECT_EQ(std::count(dst.begin(), dst.end(), 0), ptrdiff_t(dst.size()));
  // Exactly 8192 bytes still fit a quarter turn.
  std::vector<uint8_t> tall(65536, 0);
  EXPECT_EQ(MlxBltRotRight(tall.data(), 2, 65536, 0, 0, src.data(), int32_t(width), 2, 0, 0, 65536, 2, 0), 0);
  EXPECT_EQ(std::count(tall.begin(), tall.end(), 0xC0), 65536);
}

TEST(DIBRot, MatchesTheTopDownRotationOfTheSamePicture) {
  std::mt19937 rng(23);
  for (int round = 0; round < 600; ++round) {
    Picture srcTop = random_picture(rng, pick(rng, 1, 60), pick(rng, 1, 60));
    Picture dstTop = random_picture(rng, 70, 70);
    const i64 w = pick(rng, 1, srcTop.width), h = pick(rng, 1, srcTop.height);
    const i64 srcX = pick(rng, 0, srcTop.width - w), srcY = pick(rng, 0, srcTop.height - h);
    const i64 dstX = pick(rng, 0, 70 - std::max(w, h)), dstY = pick(rng, 0, 70 - std::max(w, h));
    const int angle = kAngles[round % 6], rop = static_cast<int>(pick(rng, 0, 1));
    Picture srcDib = convert(srcTop, true), dstDib = convert(dstTop, true);
    call_rot(dstTop, dstX, dstY, srcTop, srcX, srcY, w, h, rop, angle);
    call_rot(dstDib, dstX, dstY, srcDib, srcX, srcY, w, h, rop, angle);
    ASSERT_TRUE(same_pixels(dstTop, dstDib)) << "round " << round << " angle " << angle;
  }
}

TEST(BltZoomRot, RandomZoomRotationsMatchTheModel) {
  std::mt19937 rng(24);
  for (int round = 0; round < 1200; ++round) {
    Picture src = random_picture(rng, pick(rng, 1, 60), pick(rng, 1, 40));
    Picture dst = random_picture(rng, pick(rng, 1, 100), pick(rng, 1, 100));
    const i64 srcX = pick(rng, -5, src.width), srcY = pick(rng, -5, src.height);
    const i64 dstX = pick(rng, -30, dst.width), dstY = pick(rng, -30, dst.height);
    const i64 w = pick(rng, 0, 70), h = pick(rng, 0, 50);
    const ref::Ratios r{uint32_t(pick(rng, 0, 4)), uint32_t(pick(rng, 1, 4)), uint32_t(pick(rng, 1, 4)),
                        uint32_t(pick(rng, 0, 4))};
    const int rop = static_cast<int>(pick(rng, 0, 2));
    const int angle = kAngles[round % 6];
    Picture expected = dst;
    const int want = ref::zoom_rotate({expected.data(), dst.width, dst.height, dstX, dstY, src.data(), src.width,
                                       src.height, srcX, srcY, w, h},
                                      r, rop, angle);
    ASSERT_EQ(call_zoom_rot(dst, dstX, dstY, src, srcX, srcY, w, h, r, rop, angle), want);
    ASSERT_EQ(dst.bytes, expected.bytes) << "round " << round << " angle " << angle;
  }
}

TEST(BltZoomRot, DoublingAndTurningEqualsZoomingThenRotating) {
  std::mt19937 rng(25);
  Picture src = random_picture(rng, 37, 23);
  Picture combined = blank(46, 74), zoomed = blank(74, 46), twoSteps = blank(46, 74);
  ASSERT_EQ(call_zoom_rot(combined, 0, 0, src, 0, 0, 37, 23, {2, 1, 2, 1}, 0, 90), 0);
  MlxBltZoom(zoomed.data(), 74, 46, 0, 0, src.data(), 37, 23, 0, 0, 37, 23, 2, 1, 2, 1, 0);
  MlxBltRotLeft(twoSteps.data(), 46, 74, 0, 0, zoomed.data(), 74, 46, 0, 0, 74, 46, 0);
  EXPECT_EQ(combined.bytes, twoSteps.bytes);
}

TEST(DIBZoomRot, MatchesTheTopDownZoomRotation) {
  std::mt19937 rng(26);
  for (int round = 0; round < 300; ++round) {
    Picture srcTop = random_picture(rng, pick(rng, 1, 30), pick(rng, 1, 30));
    Picture dstTop = random_picture(rng, 100, 100);
    const i64 w = pick(rng, 1, srcTop.width), h = pick(rng, 1, srcTop.height);
    const i64 srcX = pick(rng, 0, srcTop.width - w), srcY = pick(rng, 0, srcTop.height - h);
    // Whole enlargements sample rows and columns the same way from either end.
    const ref::Ratios r{uint32_t(pick(rng, 1, 3)), 1, uint32_t(pick(rng, 1, 3)), 1};
    const int angle = kAngles[round % 6], rop = static_cast<int>(pick(rng, 0, 1));
    Picture srcDib = convert(srcTop, true), dstDib = convert(dstTop, true);
    call_zoom_rot(dstTop, 2, 3, srcTop, srcX, srcY, w, h, r, rop, angle);
    call_zoom_rot(dstDib, 2, 3, srcDib, srcX, srcY, w, h, r, rop, angle);
    ASSERT_TRUE(same_pixels(dstTop, dstDib)) << "round " << round << " angle " << angle;
  }
}

}  // namespace
