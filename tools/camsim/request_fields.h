// The fields of the link host's request payloads, as the simulated camera
// takes them apart. Every read is checked against the payload.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads a NUL-terminated string at offset and moves offset behind it; false
// when it has no terminator inside the payload.
bool TakeString(const std::vector<uint8_t> &payload, size_t &offset, std::string &out);

// Flags (big-endian), then two strings: rename, copy and move.
bool FlagsAndTwoStrings(const std::vector<uint8_t> &payload, uint32_t &flags, std::string &a, std::string &b);

// The 50-byte stamp request: kind, name (16 bytes), eight sizes.
struct StampRequest {
  uint16_t kind = 0;
  std::string name;
  uint64_t total = 0;  // the sum of the sizes, which may pass 32 bits
};
bool DecodeStampRequest(const std::vector<uint8_t> &payload, StampRequest &stamp);
