#include <gtest/gtest.h>

#include "packet_reader.h"

namespace {

std::vector<uint8_t> Request(uint32_t opcode, uint16_t sequence, const std::vector<uint8_t> &payload) {
  zltp::Header header;
  header.opcode = opcode;
  header.sequence = sequence;
  header.payloadLength = static_cast<uint32_t>(payload.size());
  const auto bytes = zltp::EncodeHeader(header);
  std::vector<uint8_t> packet(bytes.begin(), bytes.end());
  packet.insert(packet.end(), payload.begin(), payload.end());
  return packet;
}

}  // namespace

TEST(PacketReader, AssemblesPacketsFedByteByByte) {
  auto stream = Request(zltp::kListing, 5, {3, '0', ':', '/', 0});
  const auto second = Request(zltp::kCloseCamera, 6, {});
  stream.insert(stream.end(), second.begin(), second.end());
  PacketReader reader(1024);
  for (uint8_t byte : stream) ASSERT_TRUE(reader.Feed(&byte, 1));
  ASSERT_TRUE(reader.HasPacket());
  Packet first = reader.Take();
  EXPECT_EQ(first.header.opcode, zltp::kListing);
  EXPECT_EQ(first.header.sequence, 5);
  EXPECT_EQ(first.payload, (std::vector<uint8_t>{3, '0', ':', '/', 0}));
  ASSERT_TRUE(reader.HasPacket());
  EXPECT_EQ(reader.Take().header.opcode, zltp::kCloseCamera);
  EXPECT_FALSE(reader.HasPacket());
}

TEST(PacketReader, CameraHeadersAndOversizedPayloadsBreakTheStream) {
  auto fromCamera = Request(zltp::kListing, 1, {});
  fromCamera[1] = zltp::kFromCamera;
  PacketReader reader(1024);
  EXPECT_FALSE(reader.Feed(fromCamera.data(), fromCamera.size()));
  EXPECT_TRUE(reader.Broken());
  const auto good = Request(zltp::kCloseCamera, 2, {});
  EXPECT_FALSE(reader.Feed(good.data(), good.size()));  // nothing accepted after a framing error
  EXPECT_FALSE(reader.HasPacket());

  PacketReader small(8);
  const auto large = Request(zltp::kSendFile, 3, std::vector<uint8_t>(9));
  EXPECT_FALSE(small.Feed(large.data(), zltp::kHeaderSize));
}
