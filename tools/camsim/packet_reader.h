// Byte-fed reader of ZLtp packets from the link host: bytes go in as they
// arrive, whole packets (header and payload) come out. A header that is not
// a PC header, or a payload above the limit, is a framing error after which
// the reader accepts nothing more.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "zltp_wire.h"

struct Packet {
  zltp::Header header;
  std::vector<uint8_t> payload;
};

class PacketReader {
 public:
  explicit PacketReader(uint32_t payloadLimit) : limit_(payloadLimit) {}

  // Consumes the bytes; false once the stream has a framing error.
  bool Feed(const uint8_t *bytes, size_t length);
  bool HasPacket() const { return !ready_.empty(); }
  Packet Take();
  bool Broken() const { return broken_; }

 private:
  uint32_t limit_;
  bool broken_ = false;
  bool inPayload_ = false;
  uint8_t headerBytes_[zltp::kHeaderSize] = {};
  size_t headerFill_ = 0;
  Packet current_;
  std::deque<Packet> ready_;
};
