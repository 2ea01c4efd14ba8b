#include "link_receiver.h"

#include <cstdio>

namespace vserver {
namespace {

std::string Format(const char *format, int a, int b) {
  char text[96];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

}  // namespace

void LinkReceiver::Reset(bool ackflow) {
  scanner_.SetAckflow(ackflow);
  scanner_.Reset();
  receiveCounter_ = 0;
  nak_ = NakState::None;
  sawDle_ = false;
}

void LinkReceiver::Feed(const uint8_t *data, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (nak_ != NakState::None)
      SkipToFrameEnd(data[i]);
    else
      scanner_.Feed(data[i]);
  }
}

// After a NAK the rest of the damaged frame is dropped up to its end marker.
void LinkReceiver::SkipToFrameEnd(uint8_t byte) {
  if (sawDle_ && byte == kEtx) {
    sawDle_ = false;
    if (nak_ == NakState::WriteFailed) SendNak();
    nak_ = NakState::None;
    scanner_.Reset();
    return;
  }
  sawDle_ = byte == kDle;
}

void LinkReceiver::OnLineError() {
  if (Ackflow() && nak_ == NakState::None) SendNak();
}

void LinkReceiver::SendNak() {
  const uint8_t nak = kNak;
  nak_ = peer_.WriteControl(&nak, 1) ? NakState::Sent : NakState::WriteFailed;
  sawDle_ = false;
}

void LinkReceiver::OnFrame(const ScannedFrame &frame) {
  if (!Ackflow()) {
    DeliverFrame(frame);
    return;
  }
  const uint8_t expected = receiveCounter_;
  if (expected == static_cast<uint8_t>(frame.counter + 1)) {
    // The camera missed our ACK and sent its previous frame again.
    peer_.Log(Format("CNT PC:%d DC:%d", expected, frame.counter));
    const uint8_t ack[2] = {kAck, static_cast<uint8_t>(expected - 1)};
    peer_.WriteControl(ack, sizeof ack);
  } else if (frame.counter == expected) {
    DeliverFrame(frame);
  } else {
    peer_.Log(Format("!!!CNT NG PC:%d DC:%d", expected, frame.counter));
    SendNak();
  }
}

void LinkReceiver::DeliverFrame(const ScannedFrame &frame) {
  // A frame for a channel that is gone (its client closed in the middle of a
  // response) is discarded. In ackflow mode it is acknowledged first: left
  // unacknowledged, the camera would send it again and its counter would no
  // longer be the one this end expects, which leaves the link dead.
  const bool channel = peer_.HasChannel(frame.type);
  if (!channel && !Ackflow()) {
    Discard(frame);
    return;
  }
  if (!frame.crcOk) {
    char text[96];
    std::snprintf(text, sizeof text, "Error CRC ERROR:len= %d CRC=%x \xE5\x8F\x97\xE4\xBF\xA1" "CRC%x", frame.length,
                  static_cast<unsigned>(frame.computedCrc), static_cast<unsigned>(frame.receivedCrc));
    peer_.Log(text);
    if (Ackflow()) {
      SendNak();
    } else {
      peer_.AnswerEmptyFrame(frame.type);
      peer_.Deliver(frame.type, frame.payload, 0);
    }
    return;
  }
  if (Ackflow()) {
    const uint8_t ack[2] = {kAck, receiveCounter_};
    if (!peer_.WriteControl(ack, sizeof ack)) {
      nak_ = NakState::WriteFailed;
      return;
    }
    ++receiveCounter_;
  }
  if (!channel) {
    Discard(frame);
    return;
  }
  peer_.Deliver(frame.type, frame.payload, frame.length);
}

void LinkReceiver::Discard(const ScannedFrame &frame) {
  ++discardedFrames_;
  discardedBytes_ += frame.length;
}

}  // namespace vserver
