// Line speeds tried by the probe, fastest first, with the time the camera
// gets to answer at each.
#pragma once

#include <array>
#include <cstdint>

namespace vserver {

struct LineSpeed {
  uint32_t bitsPerSecond;
  uint32_t probeWaitMs;
};

constexpr std::array<LineSpeed, 5> kSpeedTable{{{115200, 50}, {57600, 100}, {38400, 150}, {19200, 300}, {9600, 500}}};

// The probe frame's payload: 01 01 "ackflow" 00 offers the acknowledged mode.
constexpr std::array<uint8_t, 10> kProbePayload{0x01, 0x01, 'a', 'c', 'k', 'f', 'l', 'o', 'w', 0x00};

}  // namespace vserver
