// Zooming and gray reduction against the reference model, and the run
// scaling cases that keep thin strokes alive.
#include <gtest/gtest.h>

#include "monoimg/monoimg.h"
#include "reference_model.h"
#include "test_images.h"

namespace {

using namespace testimg;

std::uint32_t pick_term(std::mt19937& rng) {
  switch (rng() % 10) {
    case 0: return 0;
    case 1: return 65537;
    default: return static_cast<std::uint32_t>(pick(rng, 1, 9));
  }
}

ref::Ratios random_ratios(std::mt19937& rng) { return {pick_term(rng), pick_term(rng), pick_term(rng), pick_term(rng)}; }

int32_t call_zoom(Picture& dst, i64 dstX, i64 dstY, Picture& src, i64 srcX, i64 srcY, i64 w, i64 h, ref::Ratios r,
                  int rop) {
  auto* f = dst.bottomUp ? MlxDIBZoom : MlxBltZoom;
  return f(dst.data(), int32_t(dst.width), int32_t(dst.height), int32_t(dstX), int32_t(dstY), src.data(),
           int32_t(src.width), int32_t(src.height), int32_t(srcX), int32_t(srcY), int32_t(w), int32_t(h), r.xNum,
           r.xDen, r.yNum, r.yDen, rop);
}

TEST(BltZoom, RandomZoomsMatchTheModel) {
  std::mt19937 rng(11);
  for (int round = 0; round < 2500; ++round) {
    Picture src = random_picture(rng, pick(rng, 1, 150), pick(rng, 1, 12));
    Picture dst = random_picture(rng, pick(rng, 1, 200), pick(rng, 1, 20));
    const i64 srcX = pick(rng, -10, src.width), srcY = pick(rng, -3, src.height);
    const i64 dstX = pick(rng, -60, dst.width), dstY = pick(rng, -10, dst.height);
    const i64 w = pick(rng, -1, 160), h = pick(rng, -1, 14);
    const ref::Ratios r = random_ratios(rng);
    const int rop = static_cast<int>(pick(rng, 0, 2));
    Picture expected = dst;
    const int want = ref::zoom({expected.data(), dst.width, dst.height, dstX, dstY, src.data(), src.width,
                                src.height, srcX, srcY, w, h},
                               r, rop);
    ASSERT_EQ(call_zoom(dst, dstX, dstY, src, srcX, srcY, w, h, r, rop), want);
    ASSERT_EQ(dst.bytes, expected.bytes) << "round " << round << " ratios " << r.xNum << "/" << r.xDen << " "
                                         << r.yNum << "/" << r.yDen;
  }
}

TEST(BltZoom, ThinStrokesSurviveReduction) {
  // A one-pixel vertical line reduced by 1/3 across stays one pixel wide.
  Picture src = blank(9, 6);
  for (i64 y = 0; y < 6; ++y) src.set(4, y, true);
  Picture dst = blank(8, 6);
  ASSERT_EQ(call_zoom(dst, 0, 0, src, 0, 0, 9, 6, {1, 3, 1, 1}, 0), 0);
  for (i64 y = 0; y < 6; ++y) EXPECT_EQ(dst.bytes[y], 0b01000000) << "row " << y;

  // Runs three pixels apart, reduced by 1/4, never touch: a run that would
  // start where its predecessor ends moves right by one pixel, and a single
  // pixel that has no room left there is dropped.
  Picture pair = blank(16, 1);
  pair.set(0, 0, true);
  for (i64 x = 4; x < 8; ++x) pair.set(x, 0, true);
  Picture out = blank(8, 1);
  call_zoom(out, 0, 0, pair, 0, 0, 16, 1, {1, 4, 1, 1}, 0);
  EXPECT_EQ(out.bytes[0], 0b10100000);
  Picture dots = blank(16, 1);
  dots.set(0, 0, true);
  dots.set(4, 0, true);
  out = blank(8, 1);
  call_zoom(out, 0, 0, dots, 0, 0, 16, 1, {1, 4, 1, 1}, 0);
  EXPECT_EQ(out.bytes[0], 0b10000000);

  // Enlarging by 3 turns the run [2, 4) into [6, 12).
  Picture run = blank(8, 1);
  run.bytes[0] = 0b00110000;
  Picture big = blank(24, 1);
  call_zoom(big, 0, 0, run, 0, 0, 8, 1, {3, 1, 1, 1}, 0);
  EXPECT_EQ(big.bytes, (std::vector<uint8_t>{0b00000011, 0b11110000, 0}));
}

TEST(BltZoom, DegenerateRatiosBehaveAsPlainBlits) {
  std::mt19937 rng(12);
  for (ref::Ratios r : {ref::Ratios{0, 5, 1, 1}, ref::Ratios{1, 1, 7, 0}, ref::Ratios{70000, 3, 4, 4},
                        ref::Ratios{3, 3, 1, 1}}) {
    Picture src = random_picture(rng, 77, 9);
    Picture viaZoom = random_picture(rng, 70, 8);
    Picture viaBlit = viaZoom;
    call_zoom(viaZoom, -3, 2, src, 5, 1, 60, 7, r, 1);
    MlxBitBlt(viaBlit.data(), 70, 8, -3, 2, src.data(), 77, 9, 5, 1, 60, 7, 1);
    EXPECT_EQ(viaZoom.bytes, viaBlit.bytes) << r.xNum << "/" << r.xDen << " " << r.yNum << "/" << r.yDen;
  }
}

TEST(DIBZoom, MatchesTheTopDownZoomOnTheSamePicture) {
  std::mt19937 rng(13);
  for (int round = 0; round < 400; ++round) {
    // Outputs that fit the destination: the padded DIB row has more room.
    Picture srcTop = random_picture(rng, pick(rng, 1, 60), pick(rng, 1, 12));
    Picture dstTop = random_picture(rng, 200, 40);
    const i64 w = pick(rng, 1, srcTop.width), h = pick(rng, 1, srcTop.height);
    const i64 srcX = pick(rng, 0, srcTop.width - w), srcY = pick(rng, 0, srcTop.height - h);
    // Whole vertical enlargements sample the rows the same way from either end.
    const ref::Ratios r{uint32_t(pick(rng, 1, 3)), uint32_t(pick(rng, 1, 3)), uint32_t(pick(rng, 1, 3)), 1};
    const i64 dstX = pick(rng, 0, 10), dstY = pick(rng, 0, 3);
    Picture srcDib = convert(srcTop, true), dstDib = convert(dstTop, true);
    call_zoom(dstTop, dstX, dstY, srcTop, srcX, srcY, w, h, r, 0);
    call_zoom(dstDib, dstX, dstY, srcDib, srcX, srcY, w, h, r, 0);
    ASSERT_TRUE(same_pixels(dstTop, dstDib)) << "round " << round << " src " << srcTop.width << "x" << srcTop.height
                                             << " rect " << srcX << "," << srcY << " " << w << "x" << h << " at "
                                             << dstX << "," << dstY << " ratios " << r.xNum << "/" << r.xDen << " "
                                             << r.yNum << "/" << r.yDen;
  }
}

// A gray destination: `bits` per pixel, rows of whole bytes (DIB rows padded).
struct GrayImage {
  i64 width, height, stride;
  std::vector<uint8_t> bytes;
  int value(i64 x, i64 y) const {
    if (stride >= width) return bytes[y * stride + x];
    const uint8_t b = bytes[y * stride + x / 2];
    return x % 2 ? b & 15 : b >> 4;
  }
};

GrayImage gray_image(std::mt19937& rng, i64 width, i64 height, int mode, bool dib) {
  const i64 stride = mode >= 3 ? (dib ? (width + 3) / 4 * 4 : width) : (dib ? (width + 7) / 8 * 4 : (width + 1) / 2);
  GrayImage g{width, height, stride, std::vector<uint8_t>(size_t(stride * height))};
  for (auto& b : g.bytes) b = static_cast<uint8_t>(rng());
  return g;
}

TEST(ZoomToGray, RandomReductionsMatchTheModel) {
  std::mt19937 rng(14);
  for (int round = 0; round < 2000; ++round) {
    const int mode = static_cast<int>(pick(rng, 1, 4));
    Picture src = random_picture(rng, pick(rng, 1, 120), pick(rng, 1, 16));
    GrayImage dst = gray_image(rng, pick(rng, 1, 80), pick(rng, 1, 12), mode, false);
    const i64 srcX = pick(rng, -5, src.width), srcY = pick(rng, -3, src.height);
    const i64 dstX = pick(rng, -20, dst.width), dstY = pick(rng, -6, dst.height);
    const i64 w = pick(rng, 0, 130), h = pick(rng, 0, 18);
    const ref::Ratios r{uint32_t(pick(rng, 0, 5)), uint32_t(pick(rng, 0, 9)), uint32_t(pick(rng, 0, 5)),
                        uint32_t(pick(rng, 0, 9))};
    GrayImage expected = dst;
    const int want = ref::zoom_to_gray({expected.bytes.data(), dst.width, dst.height, dstX, dstY, src.data(),
                                        src.width, src.height, srcX, srcY, w, h},
                                       r, mode);
    ASSERT_EQ(MlxZoomToGray(dst.bytes.data(), int32_t(dst.width), int32_t(dst.height), int32_t(dstX), int32_t(dstY),
                            src.data(), int32_t(src.width), int32_t(src.height), int32_t(srcX), int32_t(srcY),
                            int32_t(w), int32_t(h), r.xNum, r.xDen, r.yNum, r.yDen, 0, mode),
              want);
    ASSERT_EQ(dst.bytes, expected.bytes) << "round " << round << " mode " << mode;
  }
}

TEST(ZoomToGray, SolidSourcesGiveFullCountsAndOddStartsKeepTheirNeighbour) {
  Picture solid = blank(32, 8);
  std::fill(solid.bytes.begin(), solid.bytes.end(), 0xFF);
  std::vector<uint8_t> four(8, 0);
  MlxZoomToGray(four.data(), 16, 1, 0, 0, solid.data(), 32, 8, 0, 0, 32, 2, 1, 2, 1, 2, 0, 1);
  EXPECT_EQ(four, std::vector<uint8_t>(8, 0x44));
  std::vector<uint8_t> eight(8, 0);
  MlxZoomToGray(eight.data(), 8, 1, 0, 0, solid.data(), 32, 8, 0, 0, 32, 4, 1, 4, 1, 4, 0, 3);
  EXPECT_EQ(eight, std::vector<uint8_t>(8, 16));
  std::vector<uint8_t> odd(2, 0xAB);
  MlxZoomToGray(odd.data(), 4, 1, 1, 0, solid.data(), 32, 8, 0, 0, 4, 2, 1, 2, 1, 2, 0, 1);
  EXPECT_EQ(odd, (std::vector<uint8_t>{0xA4, 0x4B}));
}

TEST(DIBZoomToGray, MatchesTheTopDownReduction) {
  std::mt19937 rng(16);
  for (int round = 0; round < 300; ++round) {
    const int mode = static_cast<int>(pick(rng, 0, 3));
    Picture srcTop = random_picture(rng, pick(rng, 1, 55), pick(rng, 4, 16));
    Picture srcDib = convert(srcTop, true);
    // Rows reduced by no more than the sample rows per output row, from a
    // height the reduction divides, are counted the same way from either end.
    const uint32_t down = uint32_t(1) << pick(rng, 0, mode == 0 ? 0 : mode < 3 ? 1 : 2);
    const i64 w = pick(rng, 1, srcTop.width), h = down * pick(rng, 1, srcTop.height / down);
    const i64 srcX = pick(rng, 0, srcTop.width - w), srcY = pick(rng, 0, srcTop.height - h);
    const ref::Ratios r{1, uint32_t(pick(rng, 1, 3)), 1, down};
    const i64 outW = 60, outH = 20, dstX = pick(rng, 0, 5), dstY = pick(rng, 0, 3);
    if (mode == 0) {
      Picture top = random_picture(rng, outW, outH), dib = convert(top, true);
      MlxZoomToGray(top.data(), outW, outH, dstX, dstY, srcTop.data(), srcTop.width, srcTop.height, srcX, srcY, w, h,
                    r.xNum, r.xDen, r.yNum, r.yDen, 0, mode);
      MlxDIBZoomToGray(dib.data(), outW, outH, dstX, dstY, srcDib.data(), srcDib.width, srcDib.height, srcX, srcY,
                       w, h, r.xNum, r.xDen, r.yNum, r.yDen, 0, mode);
      ASSERT_TRUE(same_pixels(top, dib)) << "round " << round;
      continue;
    }
    GrayImage top = gray_image(rng, outW, outH, mode, false), dib = gray_image(rng, outW, outH, mode, true);
    for (i64 y = 0; y < outH; ++y)
      for (i64 x = 0; x < outW; ++x) {
        const int v = top.value(x, y);
        uint8_t* cell = &dib.bytes[(outH - 1 - y) * dib.stride + (mode >= 3 ? x : x / 2)];
        if (mode >= 3)
          *cell = uint8_t(v);
        else
          *cell = uint8_t(x % 2 ? (*cell & 0xF0) | v : (*cell & 0x0F) | v << 4);
      }
    MlxZoomToGray(top.bytes.data(), outW, outH, dstX, dstY, srcTop.data(), srcTop.width, srcTop.height, srcX, srcY,
                  w, h, r.xNum, r.xDen, r.yNum, r.yDen, 0, mode);
    MlxDIBZoomToGray(dib.bytes.data(), outW, outH, dstX, dstY, srcDib.data(), srcDib.width, srcDib.height, srcX,
                     srcY, w, h, r.xNum, r.xDen, r.yNum, r.yDen, 0, mode);
    for (i64 y = 0; y < outH; ++y)
      for (i64 x = 0; x < outW; ++x)
        ASSERT_EQ(top.value(x, y), dib.value(x, outH - 1 - y))
            << "round " << round << " at " << x << "," << y << " mode " << mode << " src " << srcTop.width << "x"
            << srcTop.height << " rect " << srcX << "," << srcY << " " << w << "x" << h << " to " << dstX << ","
            << dstY << " ratios 1/" << r.xDen << " 1/" << r.yDen;
  }
}

}  // namespace
