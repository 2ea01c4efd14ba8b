#include "frame_scanner.h"

#include "crc16.h"

namespace vserver {

void FrameScanner::Feed(const uint8_t *data, size_t length) {
  for (size_t i = 0; i < length; ++i) Feed(data[i]);
}

void FrameScanner::Feed(uint8_t byte) {
  switch (state_) {
    case State::Hunt:
      if (byte == kDle)
        state_ = State::Marker;
      else
        events_.OnStrayByte(byte);
      return;
    case State::Marker:
      if (byte == kSoh) {
        state_ = State::Header;
        headerFill_ = 0;
      } else if (byte != kDle) {
        // The DLE was not a start marker after all.
        events_.OnStrayByte(kDle);
        state_ = State::Hunt;
        Feed(byte);
      } else {
        events_.OnStrayByte(kDle);
      }
      return;
    case State::Header:
      header_[headerFill_++] = byte;
      if (headerFill_ == header_.size()) HeaderComplete();
      return;
    case State::Body:
      body_[bodyFill_++] = byte;
      if (bodyFill_ == bodyNeeded_) BodyComplete();
      return;
  }
}

void FrameScanner::HeaderComplete() {
  type_ = ReadLe16(header_.data());
  length_ = ReadLe16(header_.data() + 2);
  bodyNeeded_ = size_t{length_} + TrailerSize(ackflow_);
  if (bodyNeeded_ > kMaxFrameBody || !IsChannelType(type_)) {
    // Not a frame: skip its start marker and scan the header bytes again.
    state_ = State::Hunt;
    const std::array<uint8_t, 4> again = header_;
    for (uint8_t b : again) Feed(b);
    return;
  }
  bodyFill_ = 0;
  state_ = State::Body;
}

void FrameScanner::BodyComplete() {
  state_ = State::Hunt;
  ScannedFrame frame{};
  frame.type = type_;
  frame.payload = body_.data();
  frame.length = length_;
  frame.receivedCrc = ReadLe16(body_.data() + length_);
  frame.counter = ackflow_ ? body_[length_ + 4] : 0;
  frame.computedCrc = Crc16(body_.data(), length_);
  frame.crcOk = frame.computedCrc == frame.receivedCrc;
  events_.OnFrame(frame);
}

}  // namespace vserver
