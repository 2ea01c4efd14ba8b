// The ZLtp packet format shared by the link host and the camera simulator:
// the 16-byte header, the status block, the data-packet prefix and the
// mapping of camera statuses to API result codes. Portable code.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "zlx_result.h"

namespace zltp {

constexpr uint16_t kControlPort = 6220;
constexpr uint16_t kDataPort = 6221;

constexpr size_t kHeaderSize = 16;
constexpr size_t kStatusSize = 4;
constexpr size_t kDataPrefixSize = 9;     // status block, last flag, total size
constexpr uint8_t kFromPc = 0x00;
constexpr uint8_t kFromCamera = 0x80;
constexpr uint16_t kInterimDetail = 0x0004;

// A peer may announce any payload length; no control packet larger than this
// is ever awaited when the camera has not limited its packet size.
constexpr uint32_t kPayloadCeiling = 16u * 1024u * 1024u;

// The largest body of one transfer (file, thumbnail, configuration, stamp).
// Camera pictures and movies stay far below it, and a 32-bit process can
// still map it: a larger total comes from a broken or hostile peer and is
// refused before anything of that size is committed.
constexpr uint32_t kLargestTransfer = 512u * 1024u * 1024u;
// A camera without a packet limit may send a whole body in one data packet.
constexpr uint32_t kDataPayloadCeiling = kLargestTransfer + kDataPrefixSize;

// Opcodes written as their four header bytes, first byte highest.
enum Opcode : uint32_t {
  kVersionOffer = 0x31000000,
  kLinkParameters = 0x32000000,
  kCloseCamera = 0x37000000,
  kResynchronise = 0x39000000,
  kFormatDriveSecond = 0x80000000,
  kDriveList = 0x80010000,
  kDriveCapacity = 0x80010100,
  kDriveFree = 0x80010200,
  kFormatDriveFirst = 0x80020000,
  kEraseDirectorySecond = 0x81010000,
  kCreateDirectory = 0x81020000,
  kListing = 0x81030000,
  kRenameDirectory = 0x81040000,
  kEraseDirectoryFirst = 0x81050000,
  kCopyDirectory = 0x81060000,
  kMoveDirectory = 0x81070000,
  kEraseFileSecond = 0x82000000,
  kRenameFile = 0x82010000,
  kEraseFileFirst = 0x82020000,
  kCopyFile = 0x82030000,
  kMoveFile = 0x82040000,
  kSetAttribute = 0x82050000,
  kQueryStampSize = 0x83000000,
  kReceiveFile = 0xA0000000,
  kSendFile = 0xA1000000,
  kDataPacket = 0xA2000000,
  kSendFinal = 0xA3000000,
  kAbortTransfer = 0xA4000000,
  kReceiveThumbnail = 0xA5000000,
  kSendStamp = 0xA6000000,
};

struct Header {
  uint8_t direction = kFromPc;
  uint32_t payloadLength = 0;
  uint32_t opcode = 0;
  uint16_t sequence = 0;
  uint8_t listingFlag = 0;
};

using HeaderBytes = std::array<uint8_t, kHeaderSize>;

HeaderBytes EncodeHeader(const Header &header);
// Decodes a header sent in the given direction; false when the marker, the
// direction or the header-size field is wrong (a framing error).
bool DecodeHeader(const uint8_t *bytes, uint8_t direction, Header &header);

struct StatusBlock {
  uint16_t status = 0;
  uint16_t detail = 0;
  bool Interim() const { return (detail & kInterimDetail) != 0; }
};
StatusBlock DecodeStatus(const uint8_t *bytes);
void EncodeStatus(uint8_t *bytes, StatusBlock status);

// The API code of a camera status (0xFFFF for statuses without a meaning).
uint16_t MapCameraStatus(uint16_t status);
// Mapped status in the low half, detail word in the high half.
ZLXRESULT ResultFromStatus(StatusBlock status);

// The first nine payload bytes of a data packet.
struct DataPrefix {
  StatusBlock status;
  bool last = false;
  uint32_t total = 0;
};
// False when the payload is too short to hold the prefix.
bool DecodeDataPrefix(const uint8_t *payload, size_t length, DataPrefix &prefix);
void EncodeDataPrefix(uint8_t *payload, const DataPrefix &prefix);

// The largest payload accepted from the camera: bounded by the camera's
// maximum packet size when known, by the ceiling otherwise (control packets),
// or by the data ceiling (data packets).
uint32_t PayloadLimit(uint32_t maximumPacketSize);
uint32_t DataPayloadLimit(uint32_t maximumPacketSize);

}  // namespace zltp
