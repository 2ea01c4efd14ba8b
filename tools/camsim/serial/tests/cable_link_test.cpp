// The camera's end of the cable driven byte by byte from a PC side over a
// socket pair: the probe, acknowledgements, resends and the status page.
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "cable_link.h"
#include "camera_channels.h"
#include "link/frame.h"
#include "link/frame_scanner.h"
#include "link/speed_table.h"

using namespace vserver;

namespace {

using Bytes = std::vector<uint8_t>;

// The PC's end: sends frames and collects what the camera answers.
class PcSide : public FrameScannerEvents {
 public:
  explicit PcSide(int fd) : fd_(fd), scanner_(*this) {}

  void SetAckflow(bool ackflow) { scanner_.SetAckflow(ackflow); }
  void Send(const Bytes &bytes) { ASSERT_EQ(write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size())); }
  void SendFrame(uint16_t type, const std::string &payload, bool ackflow, uint8_t counter = 0) {
    Bytes frame(FrameSize(payload.size(), ackflow));
    std::memcpy(frame.data() + kFrameHeaderSize, payload.data(), payload.size());
    BuildFrame(frame.data(), static_cast<uint16_t>(payload.size()), type, ackflow, counter);
    Send(frame);
  }
  // Reads until the condition holds; false after two seconds of silence.
  template <typename Condition>
  bool ReadUntil(Condition condition) {
    uint8_t buffer[4096];
    while (!condition()) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 2000) <= 0) return false;
      const ssize_t got = read(fd_, buffer, sizeof buffer);
      if (got <= 0) return false;
      scanner_.Feed(buffer, static_cast<size_t>(got));
    }
    return true;
  }
  bool Silent(int ms) {
    pollfd p{fd_, POLLIN, 0};
    return poll(&p, 1, ms) == 0;
  }

  struct Frame {
    uint16_t type;
    std::string payload;
    uint8_t counter;
    bool crcOk;
  };
  std::vector<Frame> frames;
  Bytes stray;

 private:
  void OnFrame(const ScannedFrame &frame) override {
    frames.push_back({frame.type, std::string(reinterpret_cast<const char *>(frame.payload), frame.length),
                      frame.counter, frame.crcOk});
  }
  void OnStrayByte(uint8_t byte) override { stray.push_back(byte); }

  int fd_;
  FrameScanner scanner_;
};

const std::string kProbe(reinterpret_cast<const char *>(kProbePayload.data()), kProbePayload.size());

class CableLinkTest : public ::testing::Test {
 protected:
  void Start() {
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds_), 0);
    pc_ = std::make_unique<PcSide>(fds_[0]);
    channels_ = std::make_unique<camsim_serial::CameraChannels>(options_);
    link_ = std::make_unique<camsim_serial::CableLink>(fds_[1], options_, *channels_);
    channels_->Attach(*link_);
    reader_ = std::thread([this] { link_->Run(stop_); });
  }
  void TearDown() override {
    stop_ = true;
    if (reader_.joinable()) reader_.join();
    if (channels_) channels_->Finish();
    close(fds_[0]);
    close(fds_[1]);
  }
  // Probes until the camera answers; the number of probes it took.
  size_t Probe() {
    for (size_t probe = 1; probe <= kSpeedTable.size(); ++probe) {
      pc_->SendFrame(channel::kProbe, kProbe, false);
      if (pc_->ReadUntil([&] { return !pc_->frames.empty(); })) return probe;
    }
    return 0;
  }

  SerialOptions options_;
  int fds_[2] = {-1, -1};
  std::atomic<bool> stop_{false};
  std::unique_ptr<PcSide> pc_;
  std::unique_ptr<camsim_serial::CameraChannels> channels_;
  std::unique_ptr<camsim_serial::CableLink> link_;
  std::thread reader_;
};

}  // namespace

TEST_F(CableLinkTest, ProbeIsAnsweredAtTheLineSpeedOnly) {
  options_.speed = 38400;
  Start();
  pc_->SendFrame(channel::kProbe, kProbe, false);
  EXPECT_TRUE(pc_->Silent(200));
  pc_->SendFrame(channel::kProbe, kProbe, false);
  EXPECT_TRUE(pc_->Silent(200));
  pc_->SendFrame(channel::kProbe, kProbe, false);
  ASSERT_TRUE(pc_->ReadUntil([&] { return !pc_->frames.empty(); }));
  EXPECT_EQ(pc_->frames[0].type, channel::kProbe);
  EXPECT_EQ(pc_->frames[0].payload, std::string("\x02\x01" "ackflow\0", 10));
}

TEST_F(CableLinkTest, PlainCameraRepliesWithTwoBytes) {
  options_.ackflow = false;
  Start();
  ASSERT_EQ(Probe(), 1u);
  EXPECT_EQ(pc_->frames[0].payload, "\x02\x01");
}

TEST_F(CableLinkTest, AckflowRequestAcknowledgedAndAnsweredOnce) {
  Start();
  ASSERT_EQ(Probe(), 1u);
  pc_->frames.clear();
  pc_->SetAckflow(true);
  const std::string request = "GET /pad/2000 HTTP/1.0\r\n\r\n";
  pc_->SendFrame(channel::kHttp, request, true, 0);
  pc_->SendFrame(channel::kHttp, request, true, 0);  // as if our first ACK was lost
  // Each camera frame waits for our ACK before the next one comes.
  std::string response;
  for (uint8_t counter = 0;; ++counter) {
    ASSERT_TRUE(pc_->ReadUntil([&] { return pc_->frames.size() > counter; })) << counter;
    const auto &frame = pc_->frames[counter];
    EXPECT_EQ(frame.counter, counter);
    EXPECT_TRUE(frame.crcOk);
    pc_->Send({kAck, counter});
    if (frame.payload.empty()) break;
    response += frame.payload;
  }
  EXPECT_EQ(pc_->stray, (Bytes{kAck, 0, kAck, 0})) << "the repeat is acknowledged again";
  EXPECT_EQ(response.rfind("HTTP/1.0 200 OK\r\n", 0), 0u);
  EXPECT_NE(response.find("<p>GET /pad/2000 HTTP/1.0</p>"), std::string::npos);
  EXPECT_GT(response.size(), 2000u);
  EXPECT_TRUE(pc_->Silent(300)) << "one request, one response";
}

TEST_F(CableLinkTest, RefusedFrameIsSentAgainUnchanged) {
  options_.faults.badCrcFrame = 1;
  Start();
  ASSERT_EQ(Probe(), 1u);
  pc_->frames.clear();
  pc_->SetAckflow(true);
  pc_->SendFrame(channel::kHttp, "GET / HTTP/1.0\r\n\r\n", true, 0);
  ASSERT_TRUE(pc_->ReadUntil([&] { return !pc_->frames.empty(); }));
  EXPECT_FALSE(pc_->frames[0].crcOk);
  pc_->Send({kNak});
  ASSERT_TRUE(pc_->ReadUntil([&] { return pc_->frames.size() > 1; }));
  EXPECT_TRUE(pc_->frames[1].crcOk);
  EXPECT_EQ(pc_->frames[1].counter, pc_->frames[0].counter);
  EXPECT_EQ(pc_->frames[1].payload, pc_->frames[0].payload);
  // A bad frame from the PC is refused.
  Bytes bad(FrameSize(1, true));
  bad[kFrameHeaderSize] = 'x';
  BuildFrame(bad.data(), 1, channel::kHttp, true, 1);
  bad[kFrameHeaderSize] = 'y';
  pc_->Send(bad);
  ASSERT_TRUE(pc_->ReadUntil([&] { return pc_->stray.size() >= 3; }));
  EXPECT_EQ(pc_->stray.back(), kNak);
}

TEST_F(CableLinkTest, AcknowledgementCountersThatLookLikeAFrameStartAreTakenAtOnce) {
  Start();
  ASSERT_EQ(Probe(), 1u);
  pc_->frames.clear();
  pc_->SetAckflow(true);
  // A response of more than 17 frames: the 17th has counter 0x10, the DLE.
  pc_->SendFrame(channel::kHttp, "GET /pad/40000 HTTP/1.0\r\n\r\n", true, 0);
  for (uint8_t counter = 0;; ++counter) {
    // Each frame follows its predecessor's ACK at once, not after a resend wait.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(pc_->ReadUntil([&] { return pc_->frames.size() > counter; })) << int(counter);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000)) << int(counter);
    pc_->Send({kAck, counter});
    if (pc_->frames[counter].payload.empty()) break;
  }
  EXPECT_GT(pc_->frames.size(), 17u);
  for (size_t i = 0; i < pc_->frames.size(); ++i) EXPECT_EQ(pc_->frames[i].counter, i) << "sent once each";
}
