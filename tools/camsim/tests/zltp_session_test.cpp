// The simulator's session against a raw client over real loopback sockets:
// malformed requests get a clear status, a broken stream ends only its link.
#include <gtest/gtest.h>

#include <cstring>

#include "faults.h"
#include "session_fixture.h"

using namespace zltp;
using namespace session_fixture;

TEST_F(SessionTest, MalformedRequestsGetABadParameterStatus) {
  Client client;
  ASSERT_TRUE(client.Connected());
  const std::vector<std::pair<uint32_t, std::vector<uint8_t>>> requests = {
      {kRenameFile, {0, 0, 0}},                        // flags cut short
      {kRenameDirectory, {0, 0, 0, 0, '0', ':', '/'}},  // path without terminator
      {kEraseFileFirst, {0, 0, 0, 1}},                  // no path field
      {kSetAttribute, {}},
      {kCreateDirectory, {'0', ':', '/', 'A'}},
      {kDriveCapacity, {}},
      {kSendStamp, std::vector<uint8_t>(10)},
  };
  for (const auto &[opcode, payload] : requests) {
    client.Send(opcode, payload);
    const auto reply = client.Read();
    ASSERT_TRUE(reply) << std::hex << opcode;
    EXPECT_EQ(reply->header.sequence, client.sequence_);
    EXPECT_EQ(reply->Status(), 5) << std::hex << opcode;
  }
  client.Send(kListing, {3, '0', ':', '/'});  // the answer of a listing comes as a data packet
  const auto packet = client.Read(true);
  ASSERT_TRUE(packet);
  EXPECT_EQ(packet->Status(), 5);
  EXPECT_EQ(packet->payload.size(), kDataPrefixSize);
  client.Send(0x12345678, {});
  EXPECT_EQ(client.Read()->Status(), 3);  // not supported
}

TEST_F(SessionTest, AFramingErrorEndsOnlyThatLink) {
  {
    Client broken;
    ASSERT_TRUE(broken.Connected());
    broken.SendRaw(std::vector<uint8_t>(16, 0xAB));
    EXPECT_FALSE(broken.Read());  // closed by the camera
  }
  Client next;
  ASSERT_TRUE(next.Connected());
  next.Send(kVersionOffer, {2, 0});
  const auto reply = next.Read();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->Status(), 0);
  EXPECT_EQ(GetLe16(reply->payload.data() + 8), 2);
}

TEST_F(SessionTest, ABodyLargerThanAnnouncedIsRefused) {
  Client client;
  ASSERT_TRUE(client.Connected());
  std::vector<uint8_t> request(8);
  PutLe32(request.data() + 4, 4);
  const std::string name = "0:/DCIM/X.BIN";
  request.insert(request.end(), name.begin(), name.end() + 1);
  client.Send(kSendFile, request);
  const uint16_t sequence = client.sequence_;
  std::vector<uint8_t> chunk(kDataPrefixSize + 8, 0x55);
  DataPrefix prefix;
  prefix.total = 4;
  prefix.last = true;
  EncodeDataPrefix(chunk.data(), prefix);
  client.sequence_ = static_cast<uint16_t>(sequence - 1);  // data packets carry the request's sequence
  client.Send(kDataPacket, chunk, true);
  const auto reply = client.Read();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->header.opcode, kSendFinal);
  EXPECT_EQ(reply->header.sequence, sequence);
  EXPECT_EQ(reply->Status(), 5);
}

namespace {

class StatusFaultTest : public SessionTest {
 protected:
  void SetUp() override {
    std::string error;
    options_.faults.Add(*ParseFault("status=12@81030000", error));
    SessionTest::SetUp();
  }
};

}  // namespace

TEST_F(StatusFaultTest, AStatusFaultAnswersListingsWithItsStatus) {
  Client client;
  ASSERT_TRUE(client.Connected());
  client.Send(kListing, {3, '0', ':', '/', 0});
  const auto packet = client.Read(true);
  ASSERT_TRUE(packet);
  EXPECT_EQ(packet->Status(), 12);
  client.Send(kDriveCapacity, {0});  // other requests are answered as always
  const auto reply = client.Read();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->Status(), 0);
}

TEST_F(SessionTest, StampSizesPassing32BitsTogetherAreRefused) {
  Client client;
  ASSERT_TRUE(client.Connected());
  // Kind 1, a name, and sizes whose 32-bit sum would be 10.
  std::vector<uint8_t> request(50, 0);
  PutLe16(request.data(), 1);
  std::memcpy(request.data() + 2, "LOGO", 4);
  PutLe32(request.data() + 18, 0xFFFFFFFFu);
  PutLe32(request.data() + 22, 11);
  client.Send(kSendStamp, request);
  const auto reply = client.Read();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->header.opcode, kSendStamp);
  EXPECT_EQ(reply->header.sequence, client.sequence_);
  EXPECT_EQ(reply->Status(), 5);
}
