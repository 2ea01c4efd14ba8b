#include "crc16.h"

#include <array>

namespace vserver {
namespace {

constexpr std::array<uint16_t, 256> MakeTable() {
  std::array<uint16_t, 256> table{};
  for (unsigned index = 0; index < 256; ++index) {
    uint16_t value = static_cast<uint16_t>(index << 8);
    for (int bit = 0; bit < 8; ++bit)
      value = static_cast<uint16_t>((value & 0x8000) ? (value << 1) ^ 0x1021 : value << 1);
    table[index] = value;
  }
  return table;
}

constexpr std::array<uint16_t, 256> kTable = MakeTable();

}  // namespace

uint16_t Crc16(const uint8_t *data, size_t length) {
  uint16_t reg = 0;
  for (size_t i = 0; i < length; ++i)
    reg = static_cast<uint16_t>(kTable[reg >> 8] ^ static_cast<uint16_t>(reg << 8) ^ data[i]);
  return reg;
}

}  // namespace vserver
