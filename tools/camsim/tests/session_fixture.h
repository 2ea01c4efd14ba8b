// A raw link-host peer for the simulator's server, over real loopback
// sockets on an address of this test process alone, and a fixture that runs
// the server on a sample card.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "sample_card.h"
#include "socket_io.h"
#include "zltp_bytes.h"
#include "zltp_server.h"
#include "zltp_wire.h"

namespace session_fixture {

// So that runs side by side never collide.
inline const std::string kAddress =
    "127.61." + std::to_string((getpid() >> 8) & 0xFF) + "." + std::to_string(1 + getpid() % 250);

inline int ConnectTo(uint16_t port) {
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

inline bool ReadExactly(int fd, uint8_t *buffer, size_t length) {
  while (length > 0) {
    const long n = ReadSome(fd, buffer, length, 10000);
    if (n <= 0) return false;
    buffer += n;
    length -= static_cast<size_t>(n);
  }
  return true;
}

struct Reply {
  zltp::Header header;
  std::vector<uint8_t> payload;
  uint16_t Status() const { return payload.size() >= 4 ? zltp::GetBe16(payload.data()) : 0xFFFF; }
};

class Client {
 public:
  Client() : control_(ConnectTo(zltp::kControlPort)), data_(ConnectTo(zltp::kDataPort)) {}
  ~Client() {
    CloseFd(control_);
    CloseFd(data_);
  }
  bool Connected() const { return control_ >= 0 && data_ >= 0; }
  // A request with the next sequence number; false once the camera is gone.
  bool Send(uint32_t opcode, const std::vector<uint8_t> &payload, bool onData = false) {
    zltp::Header header;
    header.opcode = opcode;
    header.sequence = ++sequence_;
    header.payloadLength = static_cast<uint32_t>(payload.size());
    const zltp::HeaderBytes bytes = zltp::EncodeHeader(header);
    std::vector<uint8_t> packet(bytes.begin(), bytes.end());
    packet.insert(packet.end(), payload.begin(), payload.end());
    return WriteAll(onData ? data_ : control_, packet.data(), packet.size());
  }
  void SendRaw(const std::vector<uint8_t> &bytes) { WriteAll(control_, bytes.data(), bytes.size()); }
  // The next packet from the camera; none when it closed the connection.
  std::optional<Reply> Read(bool fromData = false) {
    const int fd = fromData ? data_ : control_;
    uint8_t bytes[zltp::kHeaderSize];
    Reply reply;
    if (!ReadExactly(fd, bytes, sizeof bytes) || !zltp::DecodeHeader(bytes, zltp::kFromCamera, reply.header))
      return std::nullopt;
    reply.payload.resize(reply.header.payloadLength);
    if (!ReadExactly(fd, reply.payload.data(), reply.payload.size())) return std::nullopt;
    return reply;
  }
  uint16_t sequence_ = 0;

 private:
  int control_;
  int data_;
};

// Runs the server on a sample card; derived fixtures set options_ first.
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

}  // namespace session_fixture
