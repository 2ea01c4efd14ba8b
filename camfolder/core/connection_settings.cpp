#include "core/connection_settings.h"

#include <cstdio>

int DeviceNumber(std::string_view name) {
  for (size_t i = 0; i < kConnectionDevices.size(); ++i)
    if (name == kConnectionDevices[i]) return static_cast<int>(i);
  return -1;
}

std::optional<uint32_t> ParseIpAddress(std::string_view text) {
  uint32_t address = 0;
  size_t at = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (at >= text.size() || text[at] != '.') return std::nullopt;
      ++at;
    }
    unsigned value = 0;
    size_t digits = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 4) {
      value = value * 10 + static_cast<unsigned>(text[at] - '0');
      ++at;
      ++digits;
    }
    if (digits == 0 || value > 255) return std::nullopt;
    address = (address << 8) | value;
  }
  if (at != text.size()) return std::nullopt;
  return address;
}

std::string FormatIpAddress(uint32_t address) {
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", address >> 24, (address >> 16) & 0xFF, (address >> 8) & 0xFF,
                address & 0xFF);
  return text;
}
