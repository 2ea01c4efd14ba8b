// The PC's side of receiving on the serial link: finds frames in the bytes
// read from the port, checks counter and CRC, answers with ACK or NAK in
// ackflow mode and hands good payloads to the channel of their type.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "frame_scanner.h"

namespace vserver {

// What the receiver needs from the link around it.
class LinkReceiverPeer {
 public:
  // Writes acknowledgement bytes to the camera; false when the write failed.
  virtual bool WriteControl(const uint8_t *bytes, size_t length) = 0;
  // Answers a damaged frame with an empty frame of its type (plain mode).
  virtual void AnswerEmptyFrame(uint16_t type) = 0;
  // True when a channel of the type is open.
  virtual bool HasChannel(uint16_t type) = 0;
  // Gives the payload to the channel of the type (may block until the
  // channel's owner has taken its previous payload).
  virtual void Deliver(uint16_t type, const uint8_t *payload, size_t length) = 0;
  virtual void Log(const std::string &line) = 0;

 protected:
  ~LinkReceiverPeer() = default;
};

enum class NakState { None = 0, Sent = 1, WriteFailed = 2 };

class LinkReceiver : private FrameScannerEvents {
 public:
  explicit LinkReceiver(LinkReceiverPeer &peer) : peer_(peer), scanner_(*this) {}

  // Starts a link: plain or ackflow mode, counters at 0, nothing pending.
  void Reset(bool ackflow);
  void Feed(const uint8_t *data, size_t length);
  // The port reported a line error: in ackflow mode ask for a resend.
  void OnLineError();

  bool Ackflow() const { return scanner_.Ackflow(); }
  uint8_t ReceiveCounter() const { return receiveCounter_; }
  NakState Nak() const { return nak_; }
  // Frames (and their payload bytes) of channels that were no longer open.
  uint64_t DiscardedFrames() const { return discardedFrames_; }
  uint64_t DiscardedBytes() const { return discardedBytes_; }

 private:
  void OnFrame(const ScannedFrame &frame) override;
  void DeliverFrame(const ScannedFrame &frame);
  void SendNak();
  void SkipToFrameEnd(uint8_t byte);
  void Discard(const ScannedFrame &frame);

  LinkReceiverPeer &peer_;
  FrameScanner scanner_;
  uint8_t receiveCounter_ = 0;
  NakState nak_ = NakState::None;
  bool sawDle_ = false;  // while skipping to the end marker after a NAK
  uint64_t discardedFrames_ = 0;
  uint64_t discardedBytes_ = 0;
};

}  // namespace vserver
