#include "frame.h"

#include "crc16.h"

namespace vserver {

bool IsChannelType(uint16_t type) {
  switch (type) {
    case channel::kProbe:
    case channel::kHttp:
    case channel::kZltpControl:
    case channel::kZltpData:
    case channel::kZltpDataAnnounce:
    case channel::kCamera0021:
    case channel::kCamera0302:
      return true;
    default:
      return false;
  }
}

size_t BuildFrame(uint8_t *buffer, uint16_t payloadLength, uint16_t type, bool ackflow, uint8_t counter) {
  buffer[0] = kDle;
  buffer[1] = kSoh;
  WriteLe16(buffer + 2, type);
  WriteLe16(buffer + 4, payloadLength);
  uint8_t *trailer = buffer + kFrameHeaderSize + payloadLength;
  WriteLe16(trailer, Crc16(buffer + kFrameHeaderSize, payloadLength));
  trailer[2] = kDle;
  trailer[3] = kEtx;
  if (ackflow) trailer[4] = counter;
  return FrameSize(payloadLength, ackflow);
}

}  // namespace vserver
