// What a camera sends over the serial cable: the PC's frame scanner and link
// receiver in plain or ackflow mode, fed in chunks of any size, with some
// channels open and some gone.
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "link/frame.h"
#include "link/frame_scanner.h"
#include "link/link_receiver.h"

using namespace vserver;

namespace {

class Peer : public LinkReceiverPeer {
 public:
  explicit Peer(uint8_t open) : open_(open) {}
  bool WriteControl(const uint8_t *bytes, size_t length) override {
    if (length == 0 || length > 2) __builtin_trap();
    return !(bytes[0] & 0x80) || (open_ & 1);  // writes fail now and then
  }
  void AnswerEmptyFrame(uint16_t type) override {
    if (!IsChannelType(type)) __builtin_trap();
  }
  bool HasChannel(uint16_t type) override {
    switch (type) {
      case channel::kHttp: return open_ & 2;
      case channel::kZltpControl: return open_ & 4;
      case channel::kZltpData: return open_ & 8;
      default: return open_ & 16;
    }
  }
  void Deliver(uint16_t type, const uint8_t *payload, size_t length) override {
    if (!HasChannel(type) || length > kMaxFrameBody) __builtin_trap();
    uint8_t sum = 0;
    for (size_t i = 0; i < length; ++i) sum += payload[i];
    Use(sum);
  }
  void Log(const std::string &line) override { Use(line.size()); }

 private:
  uint8_t open_;
};

class Frames : public FrameScannerEvents {
 public:
  void OnFrame(const ScannedFrame &frame) override {
    if (frame.length + TrailerSize(ackflow) > kMaxFrameBody || !IsChannelType(frame.type)) __builtin_trap();
    Use(frame.payload[frame.length]);  // the CRC follows the payload in the buffer
  }
  bool ackflow = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput input(data, size);
  const uint8_t mode = input.Byte();
  Peer peer(input.Byte());
  LinkReceiver receiver(peer);
  receiver.Reset(mode & 1);
  Frames frames;
  frames.ackflow = mode & 2;
  FrameScanner scanner(frames);
  scanner.SetAckflow(frames.ackflow);
  while (input.Left() > 0) {
    const size_t chunk = 1 + input.Byte() % 64;
    const std::vector<uint8_t> bytes = input.Bytes(chunk);
    receiver.Feed(bytes.data(), bytes.size());
    scanner.Feed(bytes.data(), bytes.size());
    if (mode & 4) receiver.OnLineError();
  }
  return 0;
}
