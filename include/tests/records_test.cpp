#include <gtest/gtest.h>

#include <cstring>

#include "zlx_records.h"
#include "zlx_result.h"

TEST(ResultCode, SplitsCodeFromDetailWord) {
  const ZLXRESULT r = ZlxMakeResult(ZLX_E_NOT_FOUND, 0x0004);
  EXPECT_EQ(r, 0x0004FE07u);
  EXPECT_EQ(ZlxCode(r), ZLX_E_NOT_FOUND);
  EXPECT_EQ(ZlxDetail(r), 0x0004);
  EXPECT_FALSE(ZlxSucceeded(r));
  // A success may carry a detail word: only the low half decides.
  EXPECT_TRUE(ZlxSucceeded(ZlxMakeResult(ZLX_OK, 0xBEEF)));
}

TEST(ResultCode, EveryNamedCodeHasItsOwnMeaning) {
  const uint16_t codes[] = {0x0000, 0x8F07, 0x8F09, 0x8F11, 0x8F45, 0x8F48, 0x8F61, 0x8F9B, 0x8FFD, 0x8FFE,
                            0x8FFF, 0xFE07, 0xFE08, 0xFE09, 0xFE0F, 0xFE11, 0xFE12, 0xFE13, 0xFE15, 0xFE18,
                            0xFF45, 0xFF46, 0xFF48, 0xFF4A, 0xFF4B, 0xFF4F, 0xFF61, 0xFF68, 0xFF83, 0xFF87,
                            0xFFFF};
  const char *unknown = ZlxResultMeaning(0x1234);
  for (size_t i = 0; i < std::size(codes); ++i) {
    EXPECT_STRNE(ZlxResultMeaning(codes[i]), unknown) << std::hex << codes[i];
    for (size_t j = 0; j < i; ++j) EXPECT_STRNE(ZlxResultMeaning(codes[i]), ZlxResultMeaning(codes[j]));
  }
  EXPECT_STREQ(ZlxResultMeaning(0x00AAFF4B), ZlxResultMeaning(0xFF4B));
}
