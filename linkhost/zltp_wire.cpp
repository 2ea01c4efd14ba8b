#include "zltp_wire.h"

#include "zltp_bytes.h"

namespace zltp {

HeaderBytes EncodeHeader(const Header &header) {
  HeaderBytes bytes{};
  bytes[0] = 0x00;
  bytes[1] = header.direction;
  PutLe16(&bytes[2], kHeaderSize);
  PutLe32(&bytes[4], header.payloadLength);
  PutBe32(&bytes[8], header.opcode);
  PutLe16(&bytes[12], header.sequence);
  bytes[14] = header.listingFlag;
  bytes[15] = 0;
  return bytes;
}

bool DecodeHeader(const uint8_t *bytes, uint8_t direction, Header &header) {
  if (bytes[0] != 0x00 || bytes[1] != direction || GetLe16(&bytes[2]) != kHeaderSize) return false;
  header.direction = bytes[1];
  header.payloadLength = GetLe32(&bytes[4]);
  header.opcode = GetBe32(&bytes[8]);
  header.sequence = GetLe16(&bytes[12]);
  header.listingFlag = bytes[14];
  return true;
}

StatusBlock DecodeStatus(const uint8_t *bytes) { return {GetBe16(bytes), GetBe16(bytes + 2)}; }

void EncodeStatus(uint8_t *bytes, StatusBlock status) {
  PutBe16(bytes, status.status);
  PutBe16(bytes + 2, status.detail);
}

uint16_t MapCameraStatus(uint16_t status) {
  switch (status) {
    case 0: return ZLX_OK;
    case 1: return ZLX_E_VERSION;
    case 3: return ZLX_E_NOT_SUPPORTED;
    case 5: return ZLX_E_INVALID_PARAMETER;
    case 7: return ZLX_E_CAMERA_STATUS7;
    case 8: case 140: case 141: return ZLX_E_NOT_TRANSFERABLE;
    case 9: return ZLX_E_DRIVE_FULL;
    case 10: return ZLX_E_READ_ONLY;
    case 11: return ZLX_E_NOT_FORMATTED;
    case 12: return ZLX_E_DRIVE_ACCESS;
    case 14: return ZLX_E_CAMERA_STATUS14;
    case 15: return ZLX_E_CANCELLED;
    case 128: case 129: case 130: return ZLX_E_NOT_FOUND;
    case 131: case 132: return ZLX_E_REFUSED;
    case 133: case 134: return ZLX_E_CANNOT_DELETE;
    case 135: return ZLX_E_CANNOT_FORMAT;
    case 136: case 137: return ZLX_E_NAME_EXISTS;
    case 138: case 139: return ZLX_E_INVALID_NAME;
    case 142: return ZLX_E_TOO_DEEP;
    case 143: case 144: return ZLX_E_RESERVED_NAME;
    default: return ZLX_E_GENERAL;
  }
}

ZLXRESULT ResultFromStatus(StatusBlock status) {
  return ZlxMakeResult(MapCameraStatus(status.status), status.detail);
}

bool DecodeDataPrefix(const uint8_t *payload, size_t length, DataPrefix &prefix) {
  if (length < kDataPrefixSize) return false;
  prefix.status = DecodeStatus(payload);
  prefix.last = payload[4] != 0;
  prefix.total = GetLe32(payload + 5);
  return true;
}

void EncodeDataPrefix(uint8_t *payload, const DataPrefix &prefix) {
  EncodeStatus(payload, prefix.status);
  payload[4] = prefix.last ? 1 : 0;
  PutLe32(payload + 5, prefix.total);
}

uint32_t PayloadLimit(uint32_t maximumPacketSize) {
  if (maximumPacketSize == 0 || maximumPacketSize > kPayloadCeiling) return kPayloadCeiling;
  return maximumPacketSize;
}

uint32_t DataPayloadLimit(uint32_t maximumPacketSize) {
  if (maximumPacketSize == 0 || maximumPacketSize > kDataPayloadCeiling) return kDataPayloadCeiling;
  return maximumPacketSize;
}

}  // namespace zltp
