// Message numbers of asynchronous sockets: taken in turn, never twice, and a
// full range is reported instead of searched for ever.
#include <gtest/gtest.h>

#include "message_id_pool.h"

using winfx::MessageIdPool;

TEST(MessageIdPool, NumbersGoRoundTheRangeAndAreNeverHandedOutTwice) {
  MessageIdPool pool(10, 13);
  EXPECT_EQ(pool.Take(), 10u);
  EXPECT_EQ(pool.Take(), 11u);
  pool.Release(10);
  EXPECT_EQ(pool.Take(), 12u);  // a freed number waits its turn
  EXPECT_EQ(pool.Take(), 13u);
  EXPECT_EQ(pool.Take(), 10u);
  EXPECT_TRUE(pool.InUse(11));
}

TEST(MessageIdPool, AFullRangeGivesNoNumber) {
  MessageIdPool pool(0x8100, 0xBFFF);
  for (unsigned i = 0x8100; i <= 0xBFFF; ++i) ASSERT_TRUE(pool.Take()) << i;
  EXPECT_EQ(pool.Take(), std::nullopt);
  EXPECT_EQ(pool.Take(), std::nullopt);
  pool.Release(0x9000);
  EXPECT_EQ(pool.Take(), 0x9000u);
  EXPECT_EQ(pool.Take(), std::nullopt);
}
