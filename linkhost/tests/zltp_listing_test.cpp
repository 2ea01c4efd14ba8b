#include <gtest/gtest.h>

#include <cstdlib>

#include "zltp_bytes.h"
#include "zltp_listing.h"

using namespace zltp;

namespace {

WireEntry Entry(const std::string &name, uint16_t year = 2024, uint8_t attribute = 0x20, uint32_t size = 1234) {
  WireEntry entry;
  entry.name = name;
  entry.year = year;
  entry.month = 6;
  entry.day = 15;
  entry.hour = 12;
  entry.minute = 30;
  entry.second = 45;
  entry.attribute = attribute;
  entry.size = size;
  return entry;
}

std::vector<uint8_t> Body(const std::vector<WireEntry> &entries) {
  std::vector<uint8_t> body(2);
  PutLe16(body.data(), static_cast<uint16_t>(entries.size()));
  for (const auto &entry : entries) EncodeListingEntry(entry, body);
  return body;
}

class UtcZone : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
  }
};

}  // namespace

TEST(Bcd, ConvertsBothWays) {
  EXPECT_EQ(BcdToInt(0x59), 59);
  EXPECT_EQ(BcdToInt(0x00), 0);
  EXPECT_EQ(IntToBcd(99), 0x99);
  EXPECT_EQ(IntToBcd(7), 0x07);
}

TEST(ListingBody, EncodesTheWireLayout) {
  std::vector<uint8_t> out;
  EncodeListingEntry(Entry("A.JPG", 1999), out);
  const std::vector<uint8_t> expected = {20, 0, 0x19, 0x99, 0x06, 0x15, 0x12, 0x30, 0x45, 0x20,
                                         0xD2, 0x04, 0, 0, 'A', '.', 'J', 'P', 'G', 0};
  EXPECT_EQ(out, expected);
}

TEST(ListingBody, DecodesSeveralEntriesInOrder) {
  const auto body = Body({Entry("DCIM", 2024, 0x10, 0), Entry("B.TXT"), Entry("LONGNAME.JPG")});
  std::vector<WireEntry> entries;
  ASSERT_TRUE(DecodeListingBody(body.data(), body.size(), entries));
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "DCIM");
  EXPECT_EQ(entries[0].attribute, 0x10);
  EXPECT_EQ(entries[2].name, "LONGNAME.JPG");
  EXPECT_EQ(entries[1].size, 1234u);
  EXPECT_EQ(entries[1].year, 2024);
}

TEST(ListingBody, EmptyBodyWithCountZeroIsFine) {
  const auto body = Body({});
  std::vector<WireEntry> entries;
  EXPECT_TRUE(DecodeListingBody(body.data(), body.size(), entries));
  EXPECT_TRUE(entries.empty());
}

TEST(ListingBody, RefusesMalformedBodiesWithoutReadingPastThem) {
  std::vector<WireEntry> entries;
  const auto good = Body({Entry("A.JPG"), Entry("B.JPG")});

  auto zeroLength = good;
  PutLe16(&zeroLength[2], 0);
  EXPECT_FALSE(DecodeListingBody(zeroLength.data(), zeroLength.size(), entries));

  auto pastEnd = good;
  PutLe16(&pastEnd[2 + 20], 200);  // second entry claims more than the body holds
  EXPECT_FALSE(DecodeListingBody(pastEnd.data(), pastEnd.size(), entries));

  auto shortCount = good;
  PutLe16(&shortCount[0], 3);  // count larger than the entries present
  EXPECT_FALSE(DecodeListingBody(shortCount.data(), shortCount.size(), entries));

  auto noTerminator = good;
  noTerminator[2 + 19] = 'X';  // first name runs into the next entry
  EXPECT_FALSE(DecodeListingBody(noTerminator.data(), noTerminator.size(), entries));

  auto belowFixed = good;
  PutLe16(&belowFixed[2], 10);
  EXPECT_FALSE(DecodeListingBody(belowFixed.data(), belowFixed.size(), entries));

  // Cut anywhere inside an entry: always refused, never read beyond the cut.
  for (size_t cut = 3; cut < good.size(); ++cut) {
    std::vector<uint8_t> truncated(good.begin(), good.begin() + cut);
    EXPECT_FALSE(DecodeListingBody(truncated.data(), truncated.size(), entries)) << "cut at " << cut;
  }
  EXPECT_FALSE(DecodeListingBody(good.data(), 1, entries));
  EXPECT_TRUE(entries.empty());  // nothing appended by a refused body
}

TEST_F(UtcZone, CenturyEndConvertsAndNormalises) {
  WireEntry entry = Entry("MEMO.TXT", 1999);
  entry.month = 12;
  entry.day = 31;
  entry.hour = 23;
  entry.minute = 59;
  entry.second = 59;
  const tagZLXFILEINFO info = FileInfoFromWire(entry);
  EXPECT_STREQ(info.name, "MEMO.TXT");
  EXPECT_EQ(info.time.year, 99);
  EXPECT_EQ(info.time.mon, 11);
  EXPECT_EQ(info.time.mday, 31);
  EXPECT_EQ(info.time.hour, 23);
  EXPECT_EQ(info.time.min, 59);
  EXPECT_EQ(info.time.sec, 59);
  EXPECT_EQ(info.time.wday, 5);   // a Friday
  EXPECT_EQ(info.time.yday, 364);
  EXPECT_EQ(info.time.isdst, 0);
  EXPECT_EQ(info.attributes, 0x20u);
}

TEST_F(UtcZone, OutOfRangeFieldsAreNormalised) {
  WireEntry entry = Entry("X", 2024);
  entry.month = 2;
  entry.day = 30;  // 30 February 2024 is 1 March
  const tagZLXTIME time = TimeFromCamera(entry);
  EXPECT_EQ(time.mon, 2);
  EXPECT_EQ(time.mday, 1);
}

TEST(ListingEntry, LongNamesAreCutToTheRecordField) {
  const auto body = Body({Entry(std::string(300, 'N'))});
  std::vector<WireEntry> entries;
  ASSERT_TRUE(DecodeListingBody(body.data(), body.size(), entries));
  const tagZLXFILEINFO info = FileInfoFromWire(entries[0]);
  EXPECT_EQ(std::string(info.name).size(), sizeof info.name - 1);
}

TEST(DriveList, DecodesEveryEntryAndRefusesOnesRunningPastTheReply) {
  const uint8_t reply[] = {0, 0, 0, 0, 2, 0, 0, 'I', 'n', 't', 0, 1, 1, 'C', 'F', 0};
  std::vector<tagZLXDRIVELISTENTRY> drives;
  ASSERT_TRUE(zltp::DecodeDriveList(reply, sizeof reply, drives));
  ASSERT_EQ(drives.size(), 2u);
  EXPECT_STREQ(drives[0].name, "Int");
  EXPECT_EQ(drives[0].present, 1u);
  EXPECT_EQ(drives[1].number, 1u);
  EXPECT_EQ(drives[1].present, 0u);
  EXPECT_FALSE(zltp::DecodeDriveList(reply, sizeof reply - 1, drives));  // last name unterminated
  EXPECT_FALSE(zltp::DecodeDriveList(reply, 4, drives));
  const uint8_t tooMany[] = {0, 0, 0, 0, 3, 0, 0, 'A', 0};
  EXPECT_FALSE(zltp::DecodeDriveList(tooMany, sizeof tooMany, drives));
}
