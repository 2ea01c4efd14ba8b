// CRC-16/XMODEM of a frame payload (polynomial 0x1021, register starting at 0,
// computed without the 16 appended zero bits: "123456789" gives 0xBEEF).
#pragma once

#include <cstddef>
#include <cstdint>

namespace vserver {

uint16_t Crc16(const uint8_t *data, size_t length);

}  // namespace vserver
