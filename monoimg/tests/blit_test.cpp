// Blitting and inversion against the reference model and the edge cases of
// the pixel rules.
#include <gtest/gtest.h>

#include "monoimg/monoimg.h"
#include "reference_model.h"
#include "test_images.h"

namespace {

using namespace testimg;

int32_t call_blt(Picture& dst, i64 dstX, i64 dstY, Picture& src, i64 srcX, i64 srcY, i64 w, i64 h, int rop) {
  auto* f = dst.bottomUp ? MlxDIBBlt : MlxBitBlt;
  return f(dst.data(), int32_t(dst.width), int32_t(dst.height), int32_t(dstX), int32_t(dstY), src.data(),
           int32_t(src.width), int32_t(src.height), int32_t(srcX), int32_t(srcY), int32_t(w), int32_t(h), rop);
}

TEST(BitBlt, RandomRectanglesMatchTheModelAtEveryShift) {
  std::mt19937 rng(1);
  for (int round = 0; round < 3000; ++round) {
    Picture src = random_picture(rng, pick(rng, 1, 300), pick(rng, 1, 12));
    Picture dst = random_picture(rng, pick(rng, 1, 300), pick(rng, 1, 12));
    const i64 srcX = pick(rng, -20, src.width + 5), srcY = pick(rng, -3, src.height + 1);
    const i64 dstX = pick(rng, -40, dst.width + 5), dstY = pick(rng, -5, dst.height + 1);
    const i64 w = pick(rng, -2, 320), h = pick(rng, -1, 14);
    const int rop = static_cast<int>(pick(rng, 0, 3));
    Picture expected = dst;
    ref::bit_blt({expected.data(), dst.width, dst.height, dstX, dstY, src.data(), src.width, src.height, srcX, srcY,
                  w, h},
                 rop);
    ASSERT_EQ(call_blt(dst, dstX, dstY, src, srcX, srcY, w, h, rop), 0);
    ASSERT_EQ(dst.bytes, expected.bytes) << "round " << round << " src " << src.width << "x" << src.height << " at "
                                         << srcX << "," << srcY << " dst " << dst.width << "x" << dst.height
                                         << " at " << dstX << "," << dstY << " size " << w << "x" << h << " rop "
                                         << rop;
  }
}

// Within one image a rectangle moved to earlier rows, or left within the
// same rows, reads each pixel before it is overwritten: the result is that
// of a blit from a copy of the image.
TEST(BitBlt, AnImageMovedUpOrLeftOntoItselfComesOutAsFromACopy) {
  std::mt19937 rng(7);
  for (int round = 0; round < 3000; ++round) {
    Picture image = random_picture(rng, pick(rng, 1, 300), pick(rng, 1, 12));
    const i64 srcY = pick(rng, 0, image.height - 1), dstY = pick(rng, 0, srcY);
    const i64 srcX = pick(rng, 0, image.width), dstX = dstY < srcY ? pick(rng, 0, image.width) : pick(rng, 0, srcX);
    if (dstY == srcY && dstX == srcX) continue;
    const i64 w = pick(rng, 1, image.width), h = pick(rng, 1, image.height);
    const int rop = static_cast<int>(pick(rng, 0, 1));
    Picture copy = image, expected = image;
    ASSERT_EQ(call_blt(expected, dstX, dstY, copy, srcX, srcY, w, h, rop), 0);
    ASSERT_EQ(call_blt(image, dstX, dstY, image, srcX, srcY, w, h, rop), 0);
    ASSERT_EQ(image.bytes, expected.bytes) << "round " << round << " " << image.width << "x" << image.height
                                           << " from " << srcX << "," << srcY << " to " << dstX << "," << dstY
                                           << " size " << w << "x" << h << " rop " << rop;
  }
}

TEST(BitBlt, EdgeCasesOfClipping) {
  Picture src = blank(16, 1);
  src.bytes = {0b10110011, 0b01010101};
  // A negative destination x starts the copy three source pixels later.
  Picture dst = blank(16, 1);
  MlxBitBlt(dst.data(), 16, 1, -3, 0, src.data(), 16, 1, 0, 0, 8, 1, 0);
  EXPECT_EQ(dst.bytes[0], 0b10011000);
  // A source rectangle wholly outside the source changes nothing.
  dst.bytes = {0x5A, 0xA5};
  EXPECT_EQ(MlxBitBlt(dst.data(), 16, 1, 0, 0, src.data(), 16, 1, 16, 0, 8, 1, 0), 0);
  EXPECT_EQ(MlxBitBlt(dst.data(), 16, 1, 0, 0, src.data(), 16, 1, 0, 1, 8, 1, 0), 0);
  EXPECT_EQ(dst.bytes, (std::vector<uint8_t>{0x5A, 0xA5}));
  // OR with an empty source keeps the destination; copy clears it.
  Picture empty = blank(16, 1);
  MlxBitBlt(dst.data(), 16, 1, 0, 0, empty.data(), 16, 1, 0, 0, 16, 1, 1);
  EXPECT_EQ(dst.bytes, (std::vector<uint8_t>{0x5A, 0xA5}));
  MlxBitBlt(dst.data(), 16, 1, 0, 0, empty.data(), 16, 1, 0, 0, 16, 1, 0);
  EXPECT_EQ(dst.bytes, (std::vector<uint8_t>{0, 0}));
  // Five pixels from source x 6 to destination x 1 keep pixels 0, 6 and 7.
  Picture ones = blank(16, 1);
  ones.bytes = {0x03, 0xE0};
  dst.bytes = {0x81, 0x00};
  MlxBitBlt(dst.data(), 16, 1, 1, 0, ones.data(), 16, 1, 6, 0, 5, 1, 0);
  EXPECT_EQ(dst.bytes[0], 0b11111101);
  dst.bytes = {0xFF, 0xFF};
  MlxBitBlt(dst.data(), 16, 1, 1, 0, empty.data(), 16, 1, 6, 0, 5, 1, 0);
  EXPECT_EQ(dst.bytes, (std::vector<uint8_t>{0b10000011, 0xFF}));
}

TEST(DIBBlt, TopRowsOfADibAreItsLastStoredRows) {
  Picture dst = blank(32, 100, true);
  Picture src = blank(32, 100, true);
  std::fill(src.bytes.begin(), src.bytes.end(), 0xFF);
  MlxDIBBlt(dst.data(), 32, 100, 0, 0, src.data(), 32, 100, 0, 0, 32, 10, 0);
  for (i64 row = 0; row < 100; ++row)
    EXPECT_EQ(dst.bytes[row * 4], row >= 90 ? 0xFF : 0) << "stored row " << row;
}

TEST(DIBBlt, MatchesTheTopDownBlitOnTheSamePicture) {
  std::mt19937 rng(2);
  for (int round = 0; round < 500; ++round) {
    Picture srcTop = random_picture(rng, pick(rng, 1, 100), pick(rng, 1, 10));
    Picture dstTop = random_picture(rng, pick(rng, 1, 100), pick(rng, 1, 10));
    const i64 w = pick(rng, 1, std::min(srcTop.width, dstTop.width));
    const i64 h = pick(rng, 1, std::min(srcTop.height, dstTop.height));
    const i64 srcX = pick(rng, 0, srcTop.width - w), srcY = pick(rng, 0, srcTop.height - h);
    const i64 dstX = pick(rng, 0, dstTop.width - w), dstY = pick(rng, 0, dstTop.height - h);
    const int rop = static_cast<int>(pick(rng, 0, 1));
    Picture srcDib = convert(srcTop, true), dstDib = convert(dstTop, true);
    call_blt(dstTop, dstX, dstY, srcTop, srcX, srcY, w, h, rop);
    call_blt(dstDib, dstX, dstY, srcDib, srcX, srcY, w, h, rop);
    ASSERT_TRUE(same_pixels(dstTop, dstDib)) << "round " << round;
  }
}

TEST(BitBltToDIB, CopiesTopDownRowsIntoBottomUpStorageAndClipsToBothImages) {
  std::mt19937 rng(3);
  for (int round = 0; round < 1500; ++round) {
    Picture src = random_picture(rng, pick(rng, 1, 200), pick(rng, 1, 10));
    Picture dst = random_picture(rng, pick(rng, 1, 200), pick(rng, 1, 10), true);
    const i64 srcX = pick(rng, -10, src.width), srcY = pick(rng, -3, src.height);
    const i64 dstX = pick(rng, -10, dst.width), dstY = pick(rng, -3, dst.height);
    const i64 w = pick(rng, -1, 220), h = pick(rng, -1, 12);
    Picture expected = dst;
    ref::bit_blt_to_dib(
        {expected.data(), dst.width, dst.height, dstX, dstY, src.data(), src.width, src.height, srcX, srcY, w, h});
    ASSERT_EQ(MlxBitBltToDIB(dst.data(), int32_t(dst.width), int32_t(dst.height), int32_t(dstX), int32_t(dstY),
                             src.data(), int32_t(src.width), int32_t(src.height), int32_t(srcX), int32_t(srcY),
                             int32_t(w), int32_t(h), 1),
              0);
    ASSERT_EQ(dst.bytes, expected.bytes) << "round " << round;
  }
}

TEST(Rop, InvertsExactlyTheClippedRectangle) {
  std::mt19937 rng(4);
  for (int round = 0; round < 3000; ++round) {
    Picture image = random_picture(rng, pick(rng, 1, 200), pick(rng, 1, 10));
    const i64 x = pick(rng, -20, image.width + 3), y = pick(rng, -3, image.height + 1);
    const i64 w = pick(rng, -2, 230), h = pick(rng, -2, 14);
    Picture expected = image;
    ref::invert(expected.data(), image.width, image.height, x, y, w, h, 2);
    ASSERT_EQ(MlxRop(image.data(), int32_t(image.width), int32_t(image.height), int32_t(x), int32_t(y), int32_t(w),
                     int32_t(h), 2, 0),
              0);
    ASSERT_EQ(image.bytes, expected.bytes) << "round " << round;
  }
}

TEST(Rop, ByteEdgesAndUnsupportedOperations) {
  Picture image = blank(24, 1);
  MlxRop(image.data(), 24, 1, 8, 0, 8, 1, 2, 0);
  EXPECT_EQ(image.bytes, (std::vector<uint8_t>{0x00, 0xFF, 0x00}));
  image = blank(24, 1);
  MlxRop(image.data(), 24, 1, 7, 0, 2, 1, 2, 0);
  EXPECT_EQ(image.bytes, (std::vector<uint8_t>{0x01, 0x80, 0x00}));
  for (int rop : {0, 1, 3, -2}) {
    EXPECT_EQ(MlxRop(image.data(), 24, 1, 0, 0, 24, 1, rop, 0), MLX_BAD_ARGUMENT);
    EXPECT_EQ(MlxDIBRop(image.data(), 24, 1, 0, 0, 24, 1, rop, 0), MLX_BAD_ARGUMENT);
  }
  EXPECT_EQ(image.bytes, (std::vector<uint8_t>{0x01, 0x80, 0x00}));
}

TEST(DIBRop, MatchesTheTopDownInversion) {
  std::mt19937 rng(5);
  for (int round = 0; round < 500; ++round) {
    Picture top = random_picture(rng, pick(rng, 1, 100), pick(rng, 1, 10));
    Picture dib = convert(top, true);
    const i64 w = pick(rng, 1, top.width), h = pick(rng, 1, top.height);
    const i64 x = pick(rng, 0, top.width - w), y = pick(rng, 0, top.height - h);
    MlxRop(top.data(), int32_t(top.width), int32_t(top.height), int32_t(x), int32_t(y), int32_t(w), int32_t(h), 2, 0);
    MlxDIBRop(dib.data(), int32_t(dib.width), int32_t(dib.height), int32_t(x), int32_t(y), int32_t(w), int32_t(h), 2,
              0);
    ASSERT_TRUE(same_pixels(top, dib)) << "round " << round;
  }
}

}  // namespace
