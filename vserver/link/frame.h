// The frame of the serial camera link:
//   10 01 | type (2) | length L (2) | payload (L) | CRC (2) | 10 03 | [counter]
// little-endian fields, no byte stuffing; the counter byte follows only in
// the acknowledged ("ackflow") mode.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vserver {

constexpr uint8_t kDle = 0x10;
constexpr uint8_t kSoh = 0x01;
constexpr uint8_t kEtx = 0x03;
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;

constexpr size_t kFrameHeaderSize = 6;
constexpr size_t kPlainTrailerSize = 4;    // CRC, 10 03
constexpr size_t kAckflowTrailerSize = 5;  // CRC, 10 03, counter
// Payload plus trailer of one frame never exceed this; longer length fields are not frames.
constexpr size_t kMaxFrameBody = 2000;

namespace channel {
constexpr uint16_t kProbe = 0x0301;
constexpr uint16_t kHttp = 0x0500;
constexpr uint16_t kZltpControl = 0x0600;
constexpr uint16_t kZltpData = 0x0680;
constexpr uint16_t kZltpDataAnnounce = 0x0681;
constexpr uint16_t kCamera0021 = 0x0021;
constexpr uint16_t kCamera0302 = 0x0302;
}  // namespace channel

// True for the channel types that may appear on the link.
bool IsChannelType(uint16_t type);

inline size_t TrailerSize(bool ackflow) { return ackflow ? kAckflowTrailerSize : kPlainTrailerSize; }
inline size_t FrameSize(size_t payloadLength, bool ackflow) {
  return kFrameHeaderSize + payloadLength + TrailerSize(ackflow);
}

// Completes a frame in place: the caller has written `payloadLength` payload
// bytes at buffer offset 6; this writes the header before them and the CRC,
// end marker and (in ackflow mode) the counter after them. The buffer must
// hold FrameSize(payloadLength, ackflow) bytes. Returns that size.
size_t BuildFrame(uint8_t *buffer, uint16_t payloadLength, uint16_t type, bool ackflow, uint8_t counter);

inline uint16_t ReadLe16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline void WriteLe16(uint8_t *p, uint16_t value) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace vserver
