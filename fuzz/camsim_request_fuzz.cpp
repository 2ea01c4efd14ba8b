// What the link host sends the simulated camera: the byte-fed packet reader
// of both connections and the fields of every request payload.
#include <string>

#include "fuzz_input.h"
#include "packet_reader.h"
#include "request_fields.h"
#include "zltp_wire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput input(data, size);
  const uint32_t limit = 16 + input.Byte() * 64u;  // small, so whole packets fit the input
  PacketReader reader(limit);
  while (input.Left() > 0 && !reader.Broken()) {
    const size_t chunk = 1 + input.Byte() % 64;
    const std::vector<uint8_t> bytes = input.Bytes(chunk);
    reader.Feed(bytes.data(), bytes.size());
    while (reader.HasPacket()) {
      const Packet packet = reader.Take();
      if (packet.payload.size() != packet.header.payloadLength || packet.payload.size() > limit) __builtin_trap();
      std::string a, b;
      uint32_t flags = 0;
      size_t offset = packet.payload.empty() ? 0 : packet.payload[0] % (packet.payload.size() + 1);
      if (TakeString(packet.payload, offset, a) && offset > packet.payload.size()) __builtin_trap();
      Use(FlagsAndTwoStrings(packet.payload, flags, a, b));
      StampRequest stamp;
      if (DecodeStampRequest(packet.payload, stamp) && stamp.name.size() > 16) __builtin_trap();
      zltp::DataPrefix prefix;
      Use(zltp::DecodeDataPrefix(packet.payload.data(), packet.payload.size(), prefix));
    }
  }
  return 0;
}
