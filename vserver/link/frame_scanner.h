// Byte-fed frame finder shared by both ends of the serial link. Frames are
// found by their start marker and length field; a header with an unknown
// channel type or an oversized length is no frame: its start marker is
// skipped and the bytes behind it are scanned again. Bytes outside frames
// are handed out as stray bytes (acknowledgements travel there).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "frame.h"

namespace vserver {

struct ScannedFrame {
  uint16_t type;
  const uint8_t *payload;
  uint16_t length;
  uint16_t receivedCrc;
  uint16_t computedCrc;
  uint8_t counter;  // ackflow mode only
  bool crcOk;
};

class FrameScannerEvents {
 public:
  virtual void OnFrame(const ScannedFrame &frame) = 0;
  virtual void OnStrayByte(uint8_t byte) {}

 protected:
  ~FrameScannerEvents() = default;
};

class FrameScanner {
 public:
  explicit FrameScanner(FrameScannerEvents &events) : events_(events) {}

  void SetAckflow(bool ackflow) { ackflow_ = ackflow; }
  bool Ackflow() const { return ackflow_; }
  void Feed(const uint8_t *data, size_t length);
  void Feed(uint8_t byte);
  // Forgets a partly received frame.
  void Reset() { state_ = State::Hunt; }

 private:
  enum class State { Hunt, Marker, Header, Body };
  void HeaderComplete();
  void BodyComplete();

  FrameScannerEvents &events_;
  bool ackflow_ = false;
  State state_ = State::Hunt;
  std::array<uint8_t, 4> header_{};
  size_t headerFill_ = 0;
  uint16_t type_ = 0;
  uint16_t length_ = 0;
  size_t bodyNeeded_ = 0;
  size_t bodyFill_ = 0;
  std::array<uint8_t, kMaxFrameBody> body_{};
};

}  // namespace vserver
