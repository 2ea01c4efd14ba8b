#include <gtest/gtest.h>

#include "zltp_bytes.h"
#include "zltp_wire.h"

using namespace zltp;

TEST(ZltpHeader, EncodesEveryFieldInItsByteOrder) {
  Header header;
  header.payloadLength = 0x01020304;
  header.opcode = kListing;
  header.sequence = 0xBEEF;
  header.listingFlag = 0x5A;
  const HeaderBytes bytes = EncodeHeader(header);
  const HeaderBytes expected = {0x00, 0x00, 0x10, 0x00, 0x04, 0x03, 0x02, 0x01,
                                0x81, 0x03, 0x00, 0x00, 0xEF, 0xBE, 0x5A, 0x00};
  EXPECT_EQ(bytes, expected);
}

TEST(ZltpHeader, AcceptsOnlyCameraHeadersWithSize16) {
  Header sent;
  sent.direction = kFromCamera;
  sent.opcode = kSendFinal;
  sent.sequence = 7;
  sent.payloadLength = 4;
  HeaderBytes bytes = EncodeHeader(sent);
  Header got;
  ASSERT_TRUE(DecodeHeader(bytes.data(), kFromCamera, got));
  EXPECT_EQ(got.opcode, kSendFinal);
  EXPECT_EQ(got.sequence, 7);
  EXPECT_EQ(got.payloadLength, 4u);
  EXPECT_FALSE(DecodeHeader(bytes.data(), kFromPc, got));  // wrong direction

  HeaderBytes marker = bytes;
  marker[0] = 0x01;
  EXPECT_FALSE(DecodeHeader(marker.data(), kFromCamera, got));
  HeaderBytes size = bytes;
  size[2] = 0x11;
  EXPECT_FALSE(DecodeHeader(size.data(), kFromCamera, got));
}

TEST(ZltpStatus, MapsTheCameraTableAndEverythingElseToGeneralFailure) {
  const std::pair<uint16_t, uint16_t> table[] = {
      {0, 0},         {1, 0x8FFE},    {3, 0xFF46},    {5, 0xFF4A},    {7, 0xFF4F},    {8, 0xFE08},
      {140, 0xFE08},  {141, 0xFE08},  {9, 0xFE09},    {10, 0xFE0F},   {11, 0xFE11},   {12, 0xFE12},
      {14, 0xFE18},   {15, 0xFF61},   {128, 0xFE07},  {129, 0xFE07},  {130, 0xFE07},  {131, 0xFE13},
      {132, 0xFE13},  {133, 0xFE15},  {134, 0xFE15},  {135, 0x8F11},  {136, 0x8F07},  {137, 0x8F07},
      {138, 0xFF45},  {139, 0xFF45},  {142, 0x8F09},  {143, 0x8F45},  {144, 0x8F45},  {2, 0xFFFF},
      {4, 0xFFFF},    {6, 0xFFFF},    {13, 0xFFFF},   {16, 0xFFFF},   {127, 0xFFFF},  {145, 0xFFFF},
      {0xFFFF, 0xFFFF}};
  for (const auto &[status, code] : table) EXPECT_EQ(MapCameraStatus(status), code) << "status " << status;
}

TEST(ZltpStatus, StatusBlockIsBigEndianAndDetailGoesToTheHighHalf) {
  const uint8_t block[4] = {0x00, 0x80, 0x12, 0x34};
  const StatusBlock status = DecodeStatus(block);
  EXPECT_EQ(status.status, 128);
  EXPECT_EQ(status.detail, 0x1234);
  EXPECT_EQ(ResultFromStatus(status), 0x1234FE07u);
  EXPECT_TRUE(DecodeStatus((const uint8_t[]){0, 0, 0, 4}).Interim());
  EXPECT_FALSE(DecodeStatus((const uint8_t[]){0, 0, 4, 0}).Interim());
}

TEST(ZltpDataPrefix, RoundTripsAndRefusesShortPayloads) {
  uint8_t payload[kDataPrefixSize];
  DataPrefix prefix;
  prefix.status = {0, 9};
  prefix.last = true;
  prefix.total = 70000;
  EncodeDataPrefix(payload, prefix);
  EXPECT_EQ(GetLe32(payload + 5), 70000u);
  DataPrefix back;
  ASSERT_TRUE(DecodeDataPrefix(payload, sizeof payload, back));
  EXPECT_TRUE(back.last);
  EXPECT_EQ(back.total, 70000u);
  EXPECT_EQ(back.status.detail, 9);
  EXPECT_FALSE(DecodeDataPrefix(payload, kDataPrefixSize - 1, back));
}

TEST(ZltpPayloadLimit, BoundsByPacketSizeOrCeiling) {
  EXPECT_EQ(PayloadLimit(0), kPayloadCeiling);
  EXPECT_EQ(PayloadLimit(1049), 1049u);
  EXPECT_EQ(PayloadLimit(0xFFFFFFFF), kPayloadCeiling);
  // Data packets of a camera without limit may carry a whole transfer.
  EXPECT_EQ(DataPayloadLimit(0), kLargestTransfer + kDataPrefixSize);
  EXPECT_EQ(DataPayloadLimit(1049), 1049u);
  EXPECT_EQ(DataPayloadLimit(0xFFFFFFFF), kDataPayloadCeiling);
}
