// Area sizes of the send commands with lengths near 2^32, as a 32-bit
// caller can pass them.
#include <gtest/gtest.h>

#include "area_sizes.h"

TEST(ContentsAreaSize, AddsTheFixedFieldsOrRefusesWhatDoesNotFit) {
  EXPECT_EQ(ContentsAreaSize(0), 156u);
  EXPECT_EQ(ContentsAreaSize(1000), 1156u);
  // The largest area whose block (8 bytes more) still has a 32-bit size.
  EXPECT_EQ(ContentsAreaSize(0xFFFFFFFFu - 8 - 156), 0xFFFFFFFFu - 8);
  EXPECT_EQ(ContentsAreaSize(0xFFFFFFFFu - 8 - 155), std::nullopt);
  // Lengths whose 32-bit sum with the fixed fields would wrap to a tiny area.
  EXPECT_EQ(ContentsAreaSize(0xFFFFFFF0u), std::nullopt);
  EXPECT_EQ(ContentsAreaSize(0xFFFFFFFFu), std::nullopt);
}

TEST(StampAreaSize, SumsEveryPartWithoutWrapping) {
  const uint32_t none[ZLX_STAMP_PARTS] = {};
  EXPECT_EQ(StampAreaSize(none), 72u);
  const uint32_t some[ZLX_STAMP_PARTS] = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(StampAreaSize(some), 72u + 36u);
  // Two parts whose sum is exactly 2^32: a 32-bit total of 0.
  const uint32_t wrapToZero[ZLX_STAMP_PARTS] = {0x80000000u, 0x80000000u};
  EXPECT_EQ(StampAreaSize(wrapToZero), std::nullopt);
  // Eight large parts, and parts that wrap to just below the fixed fields.
  uint32_t large[ZLX_STAMP_PARTS];
  for (uint32_t &length : large) length = 0xFFFFFFFFu;
  EXPECT_EQ(StampAreaSize(large), std::nullopt);
  const uint32_t wrapSmall[ZLX_STAMP_PARTS] = {0xFFFFFFFFu, 10};
  EXPECT_EQ(StampAreaSize(wrapSmall), std::nullopt);
  uint32_t largest[ZLX_STAMP_PARTS] = {0x7FFFFFFFu, 0x7FFFFFFFu - 72u - 7u};
  EXPECT_EQ(StampAreaSize(largest), 0xFFFFFFFFu - 8);
  ++largest[7];
  EXPECT_EQ(StampAreaSize(largest), std::nullopt);
}
