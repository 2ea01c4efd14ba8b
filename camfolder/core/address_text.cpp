#include "core/address_text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<uint32_t> ParseAddressText(std::string_view text) {
  uint32_t parts[4] = {0, 0, 0, 0};
  size_t part = 0;
  size_t at = 0;
  for (;;) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    uint32_t value = 0;
    while (at < text.size() && IsDigit(text[at])) {
      value = value * 10 + static_cast<uint32_t>(text[at] - '0');
      // Checked at every digit, so that a long run of digits cannot wrap.
      if (value > 255) return std::nullopt;
      ++at;
    }
    parts[part] = value;
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at == text.size()) break;
    if (text[at] != '.' || part == 3) return std::nullopt;
    ++at;
    ++part;
  }
  return (parts[0] << 24) | (parts[1] << 16) | (parts[2] << 8) | parts[3];
}
