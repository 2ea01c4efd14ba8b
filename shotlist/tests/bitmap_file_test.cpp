#include "bitmap_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<uint8_t> Dib(uint32_t width, uint32_t height, uint16_t bits, size_t tableEntries) {
  const auto header = DibHeader(width, height, bits);
  std::vector<uint8_t> dib(header.begin(), header.end());
  dib.resize(dib.size() + tableEntries * 4 + size_t(DibStride(width, bits)) * height);
  return dib;
}

TEST(BitmapFile, ReadsTheShapeOfDibsThatFitTheirBlock) {
  std::vector<uint8_t> dib = Dib(100, 75, 24, 0);
  auto shape = ReadDibShape(dib.data(), dib.size());
  ASSERT_TRUE(shape);
  EXPECT_EQ(shape->width, 100u);
  EXPECT_EQ(shape->height, 75u);
  EXPECT_EQ(shape->pixelOffset, 40u);
  EXPECT_FALSE(ReadDibShape(dib.data(), dib.size() - 1));  // one byte of pixels missing

  dib = Dib(10, 3, 8, 256);  // a full colour table before the pixels
  shape = ReadDibShape(dib.data(), dib.size());
  ASSERT_TRUE(shape);
  EXPECT_EQ(shape->pixelOffset, 40u + 1024u);
  const int32_t topDown = -3;
  std::memcpy(&dib[8], &topDown, 4);
  EXPECT_EQ(ReadDibShape(dib.data(), dib.size())->height, 3u);

  dib = Dib(10, 3, 24, 0);
  dib[16] = 1;  // compressed
  EXPECT_FALSE(ReadDibShape(dib.data(), dib.size()));
  dib = Dib(10, 3, 16, 0);
  EXPECT_FALSE(ReadDibShape(dib.data(), dib.size()));
  const auto huge = DibHeader(0x7FFFFFFF, 0x7FFFFFFF, 32);  // sizes whose product overflows 32 bits
  EXPECT_FALSE(ReadDibShape(huge.data(), huge.size()));
  EXPECT_FALSE(ReadDibShape(huge.data(), 39));
}

}  // namespace
