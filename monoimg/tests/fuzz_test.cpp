// Random and extreme arguments for every export: buffers are allocated to
// their exact size (AddressSanitizer reports any access outside them) and the
// whole destination must equal the reference model's, so nothing outside the
// written rectangle may change.
#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "monoimg/monoimg.h"
#include "reference_model.h"
#include "test_images.h"

namespace {

using ref::i64;
using testimg::pick;

// A buffer of exactly `size` bytes with random contents.
struct Buffer {
  std::unique_ptr<uint8_t[]> bytes;
  i64 size;
  Buffer(std::mt19937& rng, i64 n) : bytes(new uint8_t[size_t(n)]), size(n) {
    for (i64 i = 0; i < n; ++i) bytes[size_t(i)] = static_cast<uint8_t>(rng());
  }
  Buffer(const Buffer& other) : bytes(new uint8_t[size_t(other.size)]), size(other.size) {
    std::copy(other.bytes.get(), other.bytes.get() + size, bytes.get());
  }
  bool operator==(const Buffer& other) const {
    return size == other.size && std::equal(bytes.get(), bytes.get() + size, other.bytes.get());
  }
};

int32_t coordinate(std::mt19937& rng, i64 size) {
  static const i64 extremes[] = {INT_MIN, INT_MIN + 1, -(1 << 30), -100, -9, -1, 0, 1, 7, 8, 9, 1 << 30,
                                 INT_MAX - 1, INT_MAX};
  switch (rng() % 12) {
    case 0: return int32_t(extremes[rng() % 14]);
    case 1: return int32_t(size + pick(rng, -2, 2));
    default: return int32_t(pick(rng, -size / 2 - 3, size + 3));
  }
}

uint32_t ratio_term(std::mt19937& rng) {
  static const uint32_t extremes[] = {0, 1, 2, 3, 7, 65536, 65537, 0x80000000u, UINT_MAX};
  return rng() % 3 == 0 ? extremes[rng() % 9] : uint32_t(pick(rng, 1, 5));
}

// An image dimension: usually small, sometimes zero or negative.
int32_t dimension(std::mt19937& rng) {
  const int kind = int(rng() % 30);
  if (kind == 0) return 0;
  if (kind == 1) return int32_t(-pick(rng, 1, 40));
  return int32_t(pick(rng, 1, 45));
}

i64 padded(i64 width, i64 unit) { return width < 0 ? width : (width + unit - 1) / unit * unit; }
i64 bytes_for(i64 width, i64 height, i64 rowBytes) { return width > 0 && height > 0 ? rowBytes * height : 0; }

// One random call's arguments.
struct Call {
  int32_t dstW, dstH, dstX, dstY, srcW, srcH, srcX, srcY, w, h;
  uint32_t xNum, xDen, yNum, yDen;
  int32_t rop, angle, mode;
};

Call random_call(std::mt19937& rng) {
  Call c{};
  c.dstW = dimension(rng);
  c.dstH = dimension(rng);
  c.srcW = dimension(rng);
  c.srcH = dimension(rng);
  c.dstX = coordinate(rng, c.dstW);
  c.dstY = coordinate(rng, c.dstH);
  c.srcX = coordinate(rng, c.srcW);
  c.srcY = coordinate(rng, c.srcH);
  c.w = coordinate(rng, c.srcW);
  c.h = coordinate(rng, c.srcH);
  c.xNum = ratio_term(rng);
  c.xDen = ratio_term(rng);
  c.yNum = ratio_term(rng);
  c.yDen = ratio_term(rng);
  static const int32_t rops[] = {0, 1, 2, -1, INT_MAX};
  static const int32_t angles[] = {90, 180, 270, 0, -90, 0x10000 + 270, 45};
  static const int32_t modes[] = {-5, -1, 0, 1, 2, 3, 4, 0x10001, 0x7FFF0003};
  c.rop = rops[rng() % 5];
  c.angle = angles[rng() % 7];
  c.mode = modes[rng() % 9];
  return c;
}

ref::Args args(const Call& c, uint8_t* dst, const uint8_t* src) {
  return {dst, c.dstW, c.dstH, c.dstX, c.dstY, src, c.srcW, c.srcH, c.srcX, c.srcY, c.w, c.h};
}

ref::Ratios ratios(const Call& c) { return {c.xNum, c.xDen, c.yNum, c.yDen}; }

// The ratio the bi-level exports actually use.
ref::Ratios limited(ref::Ratios r) {
  if (r.xNum == 0 || r.xDen == 0 || r.xNum > 65536) r.xNum = r.xDen = 1;
  if (r.yNum == 0 || r.yDen == 0 || r.yNum > 65536) r.yNum = r.yDen = 1;
  return r;
}

i64 scaled(i64 v, uint32_t num, uint32_t den) { return v <= 0 ? 0 : i64((unsigned __int128)v * num / den); }

// The same call on bottom-up bitmaps, as arguments on their storage.
ref::Args flipped(const Call& c, uint8_t* dst, const uint8_t* src, i64 dstUnit, i64 dstRows) {
  return {dst, padded(c.dstW, dstUnit), c.dstH, c.dstX, i64(c.dstH) - c.dstY - dstRows, src, padded(c.srcW, 32),
          c.srcH, c.srcX, i64(c.srcH) - c.h - c.srcY, c.w, c.h};
}

bool quarter(int32_t angle) { return uint16_t(angle) == 90 || uint16_t(angle) == 270; }
int32_t mirrored(int32_t angle) { return uint16_t(angle) == 90 ? 270 : uint16_t(angle) == 270 ? 90 : angle; }

class Fuzz : public ::testing::Test {
 protected:
  template <typename Library, typename Model>
  // `dib` gives the layout of both images, or of the destination only when
  // `plainSource` is set; `gray` marks destinations in the gray formats.
  void run(int rounds, bool dib, int gray, Library library, Model model, bool plainSource = false) {
    std::mt19937 rng(777);
    for (int round = 0; round < rounds; ++round) {
      const Call c = random_call(rng);
      const int mode = static_cast<int16_t>(c.mode);
      // Row length of the destination as the call's format has it.
      i64 dstRow = dib ? ref::dib_stride(c.dstW) : ref::plain_stride(c.dstW);
      if (gray && mode > 0)
        dstRow = mode >= 3 ? (dib ? padded(c.dstW, 4) : c.dstW) : (dib ? padded(c.dstW, 8) / 2 : (c.dstW + 1) / 2);
      const i64 srcRow = dib && !plainSource ? ref::dib_stride(c.srcW) : ref::plain_stride(c.srcW);
      Buffer src(rng, bytes_for(c.srcW, c.srcH, srcRow));
      Buffer dst(rng, bytes_for(c.dstW, c.dstH, dstRow));
      Buffer expected = dst;
      const int want = model(c, expected.bytes.get(), src.bytes.get());
      const int got = library(c, dst.bytes.get(), src.bytes.get());
      ASSERT_EQ(got, want) << "round " << round;
      ASSERT_TRUE(dst == expected) << "round " << round << " dst " << c.dstW << "x" << c.dstH << " at " << c.dstX
                                   << "," << c.dstY << " src " << c.srcW << "x" << c.srcH << " rect " << c.srcX
                                   << "," << c.srcY << " " << c.w << "x" << c.h << " ratios " << c.xNum << "/"
                                   << c.xDen << " " << c.yNum << "/" << c.yDen << " rop " << c.rop << " angle "
                                   << c.angle << " mode " << c.mode;
    }
  }
};

constexpr int kRounds = 20000;

// The arguments every blit-family export starts with, and the ratios.
#define IMAGES d, c.dstW, c.dstH, c.dstX, c.dstY, s, c.srcW, c.srcH, c.srcX, c.srcY, c.w, c.h
#define RATIOS c.xNum, c.xDen, c.yNum, c.yDen
#define CASE [](const Call& c, uint8_t* d, const uint8_t* s)

TEST_F(Fuzz, BlitsAndInversions) {
  run(kRounds, false, 0, CASE { return MlxBitBlt(IMAGES, c.rop); },
      CASE { return ref::bit_blt(args(c, d, s), c.rop); });
  run(kRounds, true, 0, CASE { return MlxDIBBlt(IMAGES, c.rop); },
      CASE { return ref::bit_blt(flipped(c, d, s, 32, c.h), c.rop); });
  run(kRounds, true, 0, CASE { return MlxBitBltToDIB(IMAGES, c.rop); },
      CASE { return ref::bit_blt_to_dib(args(c, d, s)); }, true);
  run(kRounds, false, 0, CASE { return MlxRop(d, c.dstW, c.dstH, c.dstX, c.dstY, c.w, c.h, c.rop, 0); },
      CASE { return ref::invert(d, c.dstW, c.dstH, c.dstX, c.dstY, c.w, c.h, c.rop); });
  run(kRounds, true, 0, CASE { return MlxDIBRop(d, c.dstW, c.dstH, c.dstX, c.dstY, c.w, c.h, c.rop, 0); },
      CASE { return ref::invert(d, padded(c.dstW, 32), c.dstH, c.dstX, i64(c.dstH) - c.h - c.dstY, c.w, c.h, c.rop); });
}

TEST_F(Fuzz, Zooms) {
  run(kRounds, false, 0, CASE { return MlxBltZoom(IMAGES, RATIOS, c.rop); },
      CASE { return ref::zoom(args(c, d, s), ratios(c), c.rop); });
  run(kRounds, true, 0, CASE { return MlxDIBZoom(IMAGES, RATIOS, c.rop); },
      CASE {
        const ref::Ratios r = limited(ratios(c));
        return ref::zoom(flipped(c, d, s, 32, scaled(c.h, r.yNum, r.yDen)), r, c.rop);
      });
  run(kRounds, false, 1, CASE { return MlxZoomToGray(IMAGES, RATIOS, 0, c.mode); },
      CASE { return ref::zoom_to_gray(args(c, d, s), ratios(c), static_cast<int16_t>(c.mode)); });
  run(kRounds, true, 1, CASE { return MlxDIBZoomToGray(IMAGES, RATIOS, 0, c.mode); },
      CASE {
        const int mode = static_cast<int16_t>(c.mode);
        const ref::Ratios y = limited(ratios(c));
        const ref::Ratios r{c.xNum, c.xDen, y.yNum, y.yDen};
        const i64 unit = mode <= 0 ? 32 : mode <= 2 ? 8 : 4;
        return ref::zoom_to_gray(flipped(c, d, s, unit, scaled(c.h, r.yNum, r.yDen)), r, mode);
      });
}

TEST_F(Fuzz, Rotations) {
  run(kRounds, false, 0, CASE { return MlxBltRot(IMAGES, c.rop, c.angle); },
      CASE { return ref::rotate(args(c, d, s), c.rop, c.angle); });
  run(kRounds, true, 0, CASE { return MlxDIBRot(IMAGES, c.rop, c.angle); },
      CASE { return ref::rotate(flipped(c, d, s, 32, quarter(c.angle) ? c.w : c.h), c.rop, mirrored(c.angle)); });
  run(kRounds, false, 0, CASE { return MlxBltZoomRot(IMAGES, RATIOS, c.rop, c.angle); },
      CASE { return ref::zoom_rotate(args(c, d, s), ratios(c), c.rop, c.angle); });
  run(kRounds, true, 0, CASE { return MlxDIBZoomRot(IMAGES, RATIOS, c.rop, c.angle); },
      CASE {
        const ref::Ratios r = limited(ratios(c));
        const i64 rows = quarter(c.angle) ? scaled(c.w, r.xNum, r.xDen) : scaled(c.h, r.yNum, r.yDen);
        return ref::zoom_rotate(flipped(c, d, s, 32, rows), r, c.rop, mirrored(c.angle));
      });
}

}  // namespace
