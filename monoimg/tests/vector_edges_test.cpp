// Rows that start, end and split around the vector widths of the inner
// loops (16 and 32 bytes, 64-pixel words), on wide pictures the random
// model tests seldom reach, at every bit offset. Each runs on every
// instruction set (simd_main.cpp).
#include <gtest/gtest.h>

#include "monoimg/monoimg.h"
#include "reference_model.h"
#include "test_images.h"

namespace {

using namespace testimg;

// Pixel widths of rows whose whole bytes fall just short of, on and just past
// one, two and three 16-byte vectors, plus a few in between.
const i64 kWidths[] = {1, 7, 64, 120, 127, 128, 129, 136, 255, 256, 257, 263, 383, 384, 385, 390, 511, 520, 777};

TEST(VectorEdges, BlitsAtEveryShiftAndWidth) {
  std::mt19937 rng(31);
  for (const i64 width : kWidths)
    for (int srcX = 0; srcX < 8; ++srcX)
      for (int dstX = 0; dstX < 16; dstX += 3)
        for (int rop = 0; rop < 2; ++rop) {
          Picture src = random_picture(rng, width + 17, 3);
          Picture dst = random_picture(rng, width + 23, 3);
          Picture expected = dst;
          ref::bit_blt({expected.data(), dst.width, dst.height, dstX, 0, src.data(), src.width, 3, srcX, 0, width, 3},
                       rop);
          MlxBitBlt(dst.data(), int32_t(dst.width), 3, dstX, 0, src.data(), int32_t(src.width), 3, srcX, 0,
                    int32_t(width), 3, rop);
          ASSERT_EQ(dst.bytes, expected.bytes)
              << "width " << width << " from " << srcX << " to " << dstX << " rop " << rop;
        }
}

// Moving pixels left within one row reads every source byte before it is
// overwritten, so the result is that of a blit from a copy.
TEST(VectorEdges, BlitsLeftWithinOneRowReadBeforeWriting) {
  std::mt19937 rng(37);
  for (const i64 width : kWidths)
    for (const int distance : {1, 5, 8, 13, 40})
      for (int rop = 0; rop < 2; ++rop) {
        Picture image = random_picture(rng, width + 60, 2);
        const Picture source = image;
        Picture expected = image;
        const auto w = int32_t(image.width);
        const int32_t srcX = int32_t(pick(rng, distance, 14));
        MlxBitBlt(expected.data(), w, 2, srcX - distance, 0, source.bytes.data(), w, 2, srcX, 0, int32_t(width), 2,
                  rop);
        MlxBitBlt(image.data(), w, 2, srcX - distance, 0, image.data(), w, 2, srcX, 0, int32_t(width), 2, rop);
        ASSERT_EQ(image.bytes, expected.bytes) << "width " << width << " distance " << distance << " rop " << rop;
      }
}

TEST(VectorEdges, WholeRowCopiesOfEqualImages) {
  std::mt19937 rng(32);
  for (const i64 width : {i64{128}, i64{256}, i64{2480}}) {
    Picture src = random_picture(rng, width, 9);
    Picture dst = random_picture(rng, width, 9);
    const auto w = int32_t(width);
    ASSERT_EQ(MlxBitBlt(dst.data(), w, 9, 0, 0, src.data(), w, 9, 0, 0, w, 9, 0), 0);
    EXPECT_EQ(dst.bytes, src.bytes) << "width " << width;
  }
}

TEST(VectorEdges, TurnsOfWideSegmentsAndRowGroups) {
  std::mt19937 rng(33);
  for (const i64 width : kWidths)
    for (const i64 height : {i64{1}, i64{15}, i64{16}, i64{17}, i64{40}})
      for (const int angle : {90, 180, 270}) {
        const i64 srcX = pick(rng, 0, 7), dstX = pick(rng, 0, 9), dstY = pick(rng, 0, 5);
        Picture src = random_picture(rng, width + 9, height + 2);
        Picture dst = angle == 180 ? random_picture(rng, width + 12, height + 7)
                                   : random_picture(rng, height + 12, width + 7);
        Picture expected = dst;
        const int rop = static_cast<int>(pick(rng, 0, 1));
        ref::rotate({expected.data(), dst.width, dst.height, dstX, dstY, src.data(), src.width, src.height, srcX, 1,
                     width, height},
                    rop, angle);
        ASSERT_EQ(MlxBltRot(dst.data(), int32_t(dst.width), int32_t(dst.height), int32_t(dstX), int32_t(dstY),
                            src.data(), int32_t(src.width), int32_t(src.height), int32_t(srcX), 1, int32_t(width),
                            int32_t(height), rop, angle),
                  0);
        ASSERT_EQ(dst.bytes, expected.bytes) << "width " << width << " height " << height << " angle " << angle
                                             << " from " << srcX << " to " << dstX << "," << dstY;
      }
}

TEST(VectorEdges, InversionsOfWideRows) {
  std::mt19937 rng(36);
  for (const i64 width : kWidths)
    for (int x = 0; x < 8; ++x) {
      Picture image = random_picture(rng, width + 17, 2);
      Picture expected = image;
      ref::invert(expected.data(), image.width, 2, x, 0, width, 2, MLX_ROP_INVERT);
      MlxRop(image.data(), int32_t(image.width), 2, x, 0, int32_t(width), 2, MLX_ROP_INVERT, 0);
      ASSERT_EQ(image.bytes, expected.bytes) << "width " << width << " from " << x;
    }
}

TEST(VectorEdges, GrayReductionsOfWideRows) {
  std::mt19937 rng(34);
  for (const i64 width : kWidths)
    for (int mode = 1; mode <= 3; ++mode) {
      const uint32_t across = mode == 1 ? 2 : 4, down = mode == 3 ? 4 : 2;
      const i64 srcX = pick(rng, 0, 9);
      Picture src = random_picture(rng, width + 10, 2 * down);
      const i64 outWidth = width / across + 1, outRows = 2;
      const i64 stride = mode == 3 ? outWidth : (outWidth + 1) / 2;
      std::vector<uint8_t> dst(size_t(stride * outRows));
      for (auto& b : dst) b = static_cast<uint8_t>(rng());
      std::vector<uint8_t> expected = dst;
      const i64 dstX = pick(rng, 0, 1);
      ref::zoom_to_gray({expected.data(), outWidth, outRows, dstX, 0, src.data(), src.width, src.height, srcX, 0,
                         width, src.height},
                        {1, across, 1, down}, mode);
      MlxZoomToGray(dst.data(), int32_t(outWidth), int32_t(outRows), int32_t(dstX), 0, src.data(), int32_t(src.width),
                    int32_t(src.height), int32_t(srcX), 0, int32_t(width), int32_t(src.height), 1, across, 1, down, 0,
                    mode);
      ASSERT_EQ(dst, expected) << "width " << width << " mode " << mode << " from " << srcX;
    }
}

TEST(VectorEdges, ZoomsOfRowsAroundWholeWords) {
  std::mt19937 rng(35);
  for (const i64 width : kWidths)
    for (const ref::Ratios r : {ref::Ratios{1, 3, 1, 3}, ref::Ratios{2, 1, 1, 1}, ref::Ratios{5, 7, 1, 2}}) {
      const i64 srcX = pick(rng, 0, 9);
      Picture src = random_picture(rng, width + 10, 4);
      Picture dst = random_picture(rng, 2 * width + 3, 5);
      Picture expected = dst;
      ref::zoom({expected.data(), dst.width, dst.height, 1, 0, src.data(), src.width, 4, srcX, 0, width, 4}, r, 0);
      MlxBltZoom(dst.data(), int32_t(dst.width), int32_t(dst.height), 1, 0, src.data(), int32_t(src.width), 4,
                 int32_t(srcX), 0, int32_t(width), 4, r.xNum, r.xDen, r.yNum, r.yDen, 0);
      ASSERT_EQ(dst.bytes, expected.bytes) << "width " << width << " ratio " << r.xNum << "/" << r.xDen;
    }
}

}  // namespace
