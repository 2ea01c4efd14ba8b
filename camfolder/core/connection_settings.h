// The stored connection settings as the camera folder uses them: a device
// number into the fixed device table and the camera's IPv4 address as a
// 32-bit number, first octet in the most significant byte.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The device table; the index is the device number of the connection page.
constexpr std::array<const char *, 11> kConnectionDevices = {"USB",  "LAN",  "COM1", "COM2", "COM3", "COM4",
                                                             "COM5", "COM6", "COM7", "COM8", "COM9"};
constexpr int kLanDevice = 1;

struct ConnectionSettings {
  int device = -1;       // index into kConnectionDevices, -1 when the name is unknown
  uint32_t address = 0;  // 127.0.0.1 is 0x7F000001
};

int DeviceNumber(std::string_view name);
// "a.b.c.d" with four decimal numbers of 0 to 255; nullopt otherwise.
std::optional<uint32_t> ParseIpAddress(std::string_view text);
std::string FormatIpAddress(uint32_t address);
