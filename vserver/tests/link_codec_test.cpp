// CRC and frame layout of the serial camera link.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "link/crc16.h"
#include "link/frame.h"

using namespace vserver;

namespace {
std::vector<uint8_t> Bytes(const char *text) { return std::vector<uint8_t>(text, text + std::strlen(text)); }
}  // namespace

TEST(Crc16, KnownVectors) {
  const auto digits = Bytes("123456789");
  EXPECT_EQ(Crc16(digits.data(), digits.size()), 0xBEEF);
  EXPECT_EQ(Crc16(nullptr, 0), 0);
  // Appending two zero bytes gives the standard CRC-16/XMODEM check value.
  auto padded = digits;
  padded.push_back(0);
  padded.push_back(0);
  EXPECT_EQ(Crc16(padded.data(), padded.size()), 0x31C3);
  const uint8_t one = 0x01;
  EXPECT_EQ(Crc16(&one, 1), 0x0001);
  const uint8_t pair[2] = {0x01, 0x00};
  EXPECT_EQ(Crc16(pair, 2), 0x0100);  // the register shifted by a byte
}

TEST(Frame, BuiltInPlaceAroundThePayload) {
  std::vector<uint8_t> buffer(6 + 9 + 5, 0xEE);
  std::memcpy(buffer.data() + 6, "123456789", 9);
  ASSERT_EQ(BuildFrame(buffer.data(), 9, 0x0600, false, 0x77), 6u + 9 + 4);
  const std::vector<uint8_t> header(buffer.begin(), buffer.begin() + 6);
  EXPECT_EQ(header, (std::vector<uint8_t>{0x10, 0x01, 0x00, 0x06, 0x09, 0x00}));
  EXPECT_EQ(buffer[15], 0xEF);  // CRC low byte first
  EXPECT_EQ(buffer[16], 0xBE);
  EXPECT_EQ(buffer[17], 0x10);
  EXPECT_EQ(buffer[18], 0x03);
  EXPECT_EQ(buffer[19], 0xEE) << "no counter without ackflow";

  ASSERT_EQ(BuildFrame(buffer.data(), 9, 0x0600, true, 0x77), 6u + 9 + 5);
  EXPECT_EQ(buffer[19], 0x77);
}

TEST(Frame, EmptyPayload) {
  uint8_t buffer[11];
  ASSERT_EQ(BuildFrame(buffer, 0, 0x0681, true, 3), 11u);
  const std::vector<uint8_t> frame(buffer, buffer + 11);
  EXPECT_EQ(frame, (std::vector<uint8_t>{0x10, 0x01, 0x81, 0x06, 0, 0, 0, 0, 0x10, 0x03, 3}));
}

TEST(Frame, ChannelTypes) {
  for (uint16_t type : {0x0301, 0x0500, 0x0600, 0x0680, 0x0681, 0x0021, 0x0302}) EXPECT_TRUE(IsChannelType(type));
  for (uint16_t type : {0x0000, 0x0700, 0x0300, 0x0601, 0xFFFF}) EXPECT_FALSE(IsChannelType(type));
}
