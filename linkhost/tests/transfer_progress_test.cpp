#include <gtest/gtest.h>

#include "transfer_progress.h"

TEST(TransferPercent, StaysMonotonicAndWithinRangeBeyond32BitProducts) {
  const uint64_t total = 100'000'000;  // done × 100 passes 2^32 from 42,949,673 bytes on
  unsigned last = 0;
  for (uint64_t done = 0; done <= total; done += 1'048'576 - 7) {
    const unsigned percent = TransferPercent(done, total);
    EXPECT_GE(percent, last) << done;
    EXPECT_LE(percent, 100u);
    last = percent;
  }
  EXPECT_EQ(TransferPercent(42'949'673, total), 42u);
  EXPECT_EQ(TransferPercent(total, total), 100u);
  EXPECT_EQ(TransferPercent(0, 0), 100u);  // an empty body is complete
  EXPECT_EQ(TransferPercent(0xFFFFFFFFu - 1, 0xFFFFFFFFu), 99u);
}
