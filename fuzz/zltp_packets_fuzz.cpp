// What a camera sends the link host: packet headers, status blocks, data
// packets with listing bodies, and the drive list reply, read as a stream.
#include <cstring>
#include <vector>

#include "fuzz_input.h"
#include "zltp_listing.h"
#include "zltp_wire.h"

using namespace zltp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput input(data, size);
  const uint32_t maximum = input.Le32();  // the camera's packet size
  while (input.Left() >= kHeaderSize) {
    const std::vector<uint8_t> bytes = input.Bytes(kHeaderSize);
    Header header;
    if (!DecodeHeader(bytes.data(), kFromCamera, header)) {
      DecodeHeader(bytes.data(), kFromPc, header);
      continue;
    }
    if (header.payloadLength > DataPayloadLimit(maximum)) continue;
    const std::vector<uint8_t> payload = input.Bytes(header.payloadLength);
    if (payload.size() >= kStatusSize) Use(ResultFromStatus(DecodeStatus(payload.data())));
    DataPrefix prefix;
    if (DecodeDataPrefix(payload.data(), payload.size(), prefix)) {
      Use(ResultFromStatus(prefix.status));
      std::vector<uint8_t> body(payload.begin() + kDataPrefixSize, payload.end());
      std::vector<WireEntry> entries;
      if (DecodeListingBody(body.data(), body.size(), entries)) {
        for (const WireEntry &entry : entries) {
          const tagZLXFILEINFO info = FileInfoFromWire(entry);
          if (strnlen(info.name, sizeof info.name) == sizeof info.name) __builtin_trap();
        }
      }
    }
    if (header.payloadLength <= PayloadLimit(maximum)) {
      std::vector<tagZLXDRIVELISTENTRY> drives;
      if (DecodeDriveList(payload.data(), payload.size(), drives)) {
        for (const auto &drive : drives)
          if (strnlen(drive.name, sizeof drive.name) == sizeof drive.name) __builtin_trap();
      }
    }
  }
  return 0;
}
