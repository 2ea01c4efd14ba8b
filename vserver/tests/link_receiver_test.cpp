// The PC's receiver fed with what a camera sends: framing, resynchronisation,
// CRC and counter handling in plain and ackflow modes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "link/frame.h"
#include "link/link_receiver.h"

using namespace vserver;

namespace {

using Bytes = std::vector<uint8_t>;

struct Delivery {
  uint16_t type;
  Bytes payload;
};

class RecordingPeer : public LinkReceiverPeer {
 public:
  bool WriteControl(const uint8_t *bytes, size_t length) override {
    written.insert(written.end(), bytes, bytes + length);
    return writesWork;
  }
  void AnswerEmptyFrame(uint16_t type) override { emptyAnswers.push_back(type); }
  bool HasChannel(uint16_t type) override { return type != 0x0302; }
  void Deliver(uint16_t type, const uint8_t *payload, size_t length) override {
    delivered.push_back({type, Bytes(payload, payload + length)});
  }
  void Log(const std::string &line) override { logs.push_back(line); }

  Bytes written;
  std::vector<uint16_t> emptyAnswers;
  std::vector<Delivery> delivered;
  std::vector<std::string> logs;
  bool writesWork = true;
};

Bytes Frame(uint16_t type, const std::string &payload, bool ackflow = false, uint8_t counter = 0) {
  Bytes frame(FrameSize(payload.size(), ackflow));
  std::memcpy(frame.data() + kFrameHeaderSize, payload.data(), payload.size());
  BuildFrame(frame.data(), static_cast<uint16_t>(payload.size()), type, ackflow, counter);
  return frame;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes &part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::string Text(const Bytes &bytes) { return std::string(bytes.begin(), bytes.end()); }

class LinkReceiverTest : public ::testing::Test {
 protected:
  void Feed(const Bytes &bytes) { receiver.Feed(bytes.data(), bytes.size()); }
  void FeedByteByByte(const Bytes &bytes) {
    for (uint8_t b : bytes) receiver.Feed(&b, 1);
  }

  RecordingPeer peer;
  LinkReceiver receiver{peer};
};

}  // namespace

TEST_F(LinkReceiverTest, FramesInEveryChunkingAreDeliveredOnce) {
  // A payload holding DLE SOH and DLE ETX itself: frames are found by length, not by markers.
  const std::string tricky("a\x10\x01\x10\x03z", 6);
  const Bytes stream = Join({Frame(0x0600, "hello"), Frame(0x0680, tricky), Frame(0x0500, "")});
  for (size_t chunk : {size_t{1}, size_t{2}, size_t{5}, size_t{7}, stream.size()}) {
    peer.delivered.clear();
    receiver.Reset(false);
    for (size_t at = 0; at < stream.size(); at += chunk)
      receiver.Feed(stream.data() + at, std::min(chunk, stream.size() - at));
    ASSERT_EQ(peer.delivered.size(), 3u) << "chunk " << chunk;
    EXPECT_EQ(Text(peer.delivered[0].payload), "hello");
    EXPECT_EQ(peer.delivered[1].type, 0x0680);
    EXPECT_EQ(Text(peer.delivered[1].payload), tricky);
    EXPECT_TRUE(peer.delivered[2].payload.empty());
  }
  EXPECT_TRUE(peer.written.empty()) << "plain mode writes no acknowledgements";
}

TEST_F(LinkReceiverTest, NoiseUnknownTypesAndOversizedLengthsAreSkipped) {
  receiver.Reset(false);
  Bytes unknown = Frame(0x0700, "skip me");
  Bytes oversized = {0x10, 0x01, 0x00, 0x06, 0xD0, 0x07};  // 2000 bytes of payload: no frame
  FeedByteByByte(Join({{0x00, 0x10, 0x10, 0x42}, unknown, oversized, Frame(0x0600, "after")}));
  ASSERT_EQ(peer.delivered.size(), 1u);
  EXPECT_EQ(Text(peer.delivered[0].payload), "after");
}

TEST_F(LinkReceiverTest, AFrameStartInsideARejectedHeaderIsFound) {
  receiver.Reset(false);
  // The rejected header's own bytes hold the next start marker.
  const Bytes good = Frame(0x0600, "x");
  Feed(Join({{0x10, 0x01, 0x99, 0x99}, good}));
  ASSERT_EQ(peer.delivered.size(), 1u);
  EXPECT_EQ(Text(peer.delivered[0].payload), "x");
}

TEST_F(LinkReceiverTest, LargestFrameFitsAndTheNextSizeDoesNot) {
  receiver.Reset(false);
  Feed(Frame(0x0600, std::string(kMaxFrameBody - kPlainTrailerSize, 'q')));
  ASSERT_EQ(peer.delivered.size(), 1u);
  receiver.Reset(true);
  Feed(Frame(0x0600, std::string(kMaxFrameBody - kPlainTrailerSize, 'q'), true, 0));
  EXPECT_EQ(peer.delivered.size(), 1u) << "the counter byte makes the frame one too long";
}

TEST_F(LinkReceiverTest, PlainModeWrongCrcAnswersWithAnEmptyFrame) {
  receiver.Reset(false);
  Bytes bad = Frame(0x0500, "damaged");
  bad[kFrameHeaderSize + 7] ^= 0xFF;
  Feed(Join({bad, Frame(0x0500, "fine")}));
  ASSERT_EQ(peer.emptyAnswers, std::vector<uint16_t>{0x0500});
  ASSERT_EQ(peer.delivered.size(), 2u);
  EXPECT_TRUE(peer.delivered[0].payload.empty()) << "the slot receives an empty payload";
  EXPECT_EQ(Text(peer.delivered[1].payload), "fine");
  ASSERT_EQ(peer.logs.size(), 1u);
  EXPECT_EQ(peer.logs[0].rfind("Error CRC ERROR:len= 7 CRC=", 0), 0u);
}

TEST_F(LinkReceiverTest, AckflowAcknowledgesWithTheCounter) {
  receiver.Reset(true);
  Feed(Join({Frame(0x0600, "a", true, 0), Frame(0x0600, "b", true, 1)}));
  EXPECT_EQ(peer.written, (Bytes{0x06, 0x00, 0x06, 0x01}));
  EXPECT_EQ(peer.delivered.size(), 2u);
  EXPECT_EQ(receiver.ReceiveCounter(), 2);
}

TEST_F(LinkReceiverTest, AckflowRepeatedFrameIsAcknowledgedAgainNotDelivered) {
  receiver.Reset(true);
  const Bytes first = Frame(0x0600, "once", true, 0);
  Feed(Join({first, first}));
  EXPECT_EQ(peer.delivered.size(), 1u);
  EXPECT_EQ(peer.written, (Bytes{0x06, 0x00, 0x06, 0x00}));
  ASSERT_EQ(peer.logs.size(), 1u);
  EXPECT_EQ(peer.logs[0], "CNT PC:1 DC:0");
}

TEST_F(LinkReceiverTest, AckflowCounterWrapsAround) {
  receiver.Reset(true);
  for (int i = 0; i < 257; ++i) Feed(Frame(0x0600, "n", true, static_cast<uint8_t>(i)));
  EXPECT_EQ(peer.delivered.size(), 257u);
  EXPECT_EQ(receiver.ReceiveCounter(), 1);
}

TEST_F(LinkReceiverTest, AckflowWrongCrcIsRefusedAndTheDamagedRestSkipped) {
  receiver.Reset(true);
  Bytes bad = Frame(0x0600, "damaged", true, 0);
  bad[kFrameHeaderSize] ^= 0x01;
  Feed(bad);
  EXPECT_EQ(peer.written, Bytes{0x15});
  EXPECT_EQ(receiver.Nak(), NakState::Sent);
  EXPECT_TRUE(peer.delivered.empty());
  // After the NAK everything up to the next end marker is dropped.
  Feed(Frame(0x0600, "lost", true, 0));
  EXPECT_EQ(receiver.Nak(), NakState::None);
  Feed(Frame(0x0600, "resent", true, 0));
  ASSERT_EQ(peer.delivered.size(), 1u);
  EXPECT_EQ(Text(peer.delivered[0].payload), "resent");
}

TEST_F(LinkReceiverTest, AckflowUnexpectedCounterIsRefused) {
  receiver.Reset(true);
  Feed(Frame(0x0600, "early", true, 5));
  EXPECT_EQ(peer.written, Bytes{0x15});
  ASSERT_EQ(peer.logs.size(), 1u);
  EXPECT_EQ(peer.logs[0], "!!!CNT NG PC:0 DC:5");
  EXPECT_TRUE(peer.delivered.empty());
}

TEST_F(LinkReceiverTest, FailedNakWriteIsRepeatedAtTheFrameEnd) {
  receiver.Reset(true);
  peer.writesWork = false;
  receiver.OnLineError();
  EXPECT_EQ(receiver.Nak(), NakState::WriteFailed);
  peer.writesWork = true;
  Feed({0x55, 0x10, 0x03});
  EXPECT_EQ(peer.written, (Bytes{0x15, 0x15}));
  EXPECT_EQ(receiver.Nak(), NakState::None);
}

TEST_F(LinkReceiverTest, FramesWithoutAChannelAreAcknowledgedAndDiscarded) {
  receiver.Reset(true);
  Feed(Frame(0x0302, "nobody", true, 0));
  EXPECT_EQ(peer.written, (Bytes{0x06, 0x00}));
  EXPECT_TRUE(peer.delivered.empty());
  EXPECT_EQ(receiver.ReceiveCounter(), 1);
  EXPECT_EQ(receiver.DiscardedFrames(), 1u);
  EXPECT_EQ(receiver.DiscardedBytes(), 6u);
  // The counters still agree: the next frame of an open channel is delivered.
  Feed(Frame(0x0500, "next", true, 1));
  EXPECT_EQ(peer.written, (Bytes{0x06, 0x00, 0x06, 0x01}));
  ASSERT_EQ(peer.delivered.size(), 1u);
  EXPECT_EQ(Text(peer.delivered[0].payload), "next");
  // A damaged one is still asked for again.
  Bytes damaged = Frame(0x0302, "bad", true, 2);
  damaged[kFrameHeaderSize] ^= 0xFF;
  Feed(damaged);
  EXPECT_EQ(peer.written.back(), 0x15);
  EXPECT_EQ(receiver.DiscardedFrames(), 1u);
}

TEST_F(LinkReceiverTest, PlainModeDropsFramesWithoutAChannelSilently) {
  receiver.Reset(false);
  Feed(Frame(0x0302, "nobody"));
  EXPECT_TRUE(peer.written.empty());
  EXPECT_TRUE(peer.emptyAnswers.empty());
  EXPECT_TRUE(peer.delivered.empty());
  EXPECT_EQ(receiver.DiscardedFrames(), 1u);
}
