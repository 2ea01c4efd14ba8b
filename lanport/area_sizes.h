// Sizes of the parameter areas of the commands that carry contents. A
// caller's 32-bit lengths are summed in 64 bits: near 2^32 a 32-bit sum would
// wrap into a small area that the fixed fields would then overrun.
#pragma once

#include <cstdint>
#include <optional>

#include "zlx_records.h"

// Send file and set configuration: the data and the 156 bytes around it.
// None when the area and the command block's header do not fit 32 bits.
std::optional<uint32_t> ContentsAreaSize(uint32_t dataLength);

// Send stamp: the eight parts and the 72 bytes around them; none as above.
std::optional<uint32_t> StampAreaSize(const uint32_t (&partLengths)[ZLX_STAMP_PARTS]);
