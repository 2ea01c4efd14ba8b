#include "packet_reader.h"

#include <algorithm>
#include <cstring>

bool PacketReader::Feed(const uint8_t *bytes, size_t length) {
  while (length > 0 && !broken_) {
    if (!inPayload_) {
      const size_t n = std::min(length, zltp::kHeaderSize - headerFill_);
      std::memcpy(headerBytes_ + headerFill_, bytes, n);
      headerFill_ += n;
      bytes += n;
      length -= n;
      if (headerFill_ < zltp::kHeaderSize) break;
      headerFill_ = 0;
      current_ = Packet{};
      if (!zltp::DecodeHeader(headerBytes_, zltp::kFromPc, current_.header) ||
          current_.header.payloadLength > limit_) {
        broken_ = true;
        break;
      }
      current_.payload.reserve(current_.header.payloadLength);
      inPayload_ = true;
    }
    const size_t wanted = current_.header.payloadLength - current_.payload.size();
    const size_t n = std::min(length, wanted);
    current_.payload.insert(current_.payload.end(), bytes, bytes + n);
    bytes += n;
    length -= n;
    if (current_.payload.size() == current_.header.payloadLength) {
      ready_.push_back(std::move(current_));
      inPayload_ = false;
    }
  }
  return !broken_;
}

Packet PacketReader::Take() {
  Packet packet = std::move(ready_.front());
  ready_.pop_front();
  return packet;
}
