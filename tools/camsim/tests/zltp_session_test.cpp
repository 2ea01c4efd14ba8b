// The simulator's session against a raw client over real loopback sockets:
// malformed requests get a clear status, a broken stream ends only its link.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <optional>
#include <thread>

#include "sample_card.h"
#include "socket_io.h"
#include "zltp_bytes.h"
#include "zltp_server.h"
#include "faults.h"
#include "zltp_wire.h"

using namespace zltp;

namespace {

// An address of this process alone, so that runs side by side never collide.
const std::string kAddress = "127.61." + std::to_string((getpid() >> 8) & 0xFF) + "." + std::to_string(1 + getpid() % 250);

int ConnectTo(uint16_t port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  inet_pton(AF_INET, kAddress.c_str(), &addr.sin_addr);
  if (connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

bool ReadExactly(int fd, uint8_t *buffer, size_t length) {
  while (length > 0) {
    const long n = ReadSome(fd, buffer, length, 10000);
    if (n <= 0) return false;
    buffer += n;
    length -= static_cast<size_t>(n);
  }
  return true;
}

struct Reply {
  Header header;
  std::vector<uint8_t> payload;
  uint16_t Status() const { return payload.size() >= 4 ? GetBe16(payload.data()) : 0xFFFF; }
};

class Client {
 public:
  Client() : control_(ConnectTo(kControlPort)), data_(ConnectTo(kDataPort)) {}
  ~Client() {
    CloseFd(control_);
    CloseFd(data_);
  }
  bool Connected() const { return control_ >= 0 && data_ >= 0; }
  void Send(uint32_t opcode, const std::vector<uint8_t> &payload, bool onData = false) {
    Header header;
    header.opcode = opcode;
    header.sequence = ++sequence_;
    header.payloadLength = static_cast<uint32_t>(payload.size());
    const HeaderBytes bytes = EncodeHeader(header);
    std::vector<uint8_t> packet(bytes.begin(), bytes.end());
    packet.insert(packet.end(), payload.begin(), payload.end());
    ASSERT_TRUE(WriteAll(onData ? data_ : control_, packet.data(), packet.size()));
  }
  void SendRaw(const std::vector<uint8_t> &bytes) { WriteAll(control_, bytes.data(), bytes.size()); }
  std::optional<Reply> Read(bool fromData = false) {
    const int fd = fromData ? data_ : control_;
    uint8_t bytes[kHeaderSize];
    Reply reply;
    if (!ReadExactly(fd, bytes, sizeof bytes) || !DecodeHeader(bytes, kFromCamera, reply.header)) return std::nullopt;
    reply.payload.resize(reply.header.payloadLength);
    if (!ReadExactly(fd, reply.payload.data(), reply.payload.size())) return std::nullopt;
    return reply;
  }
  uint16_t sequence_ = 0;

 private:
  int control_;
  int data_;
};

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    options_.address = kAddress;
    std::string error;
    ASSERT_TRUE(card_.Create(options_, error)) << error;
    server_.emplace(options_);
    ASSERT_TRUE(server_->Listen(error)) << error;
    thread_ = std::thread([this] { server_->Run(stop_); });
  }
  void TearDown() override {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

  ServeOptions options_;
  SampleCard card_;
  std::optional<ZltpServer> server_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace

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
