#include "core/sheet_values.h"

#include "core/camera_path.h"

std::optional<std::string> CommonText(std::span<const std::string> texts, TextCase compare) {
  if (texts.empty()) return std::nullopt;
  for (const std::string &text : texts.subspan(1)) {
    const bool same = compare == TextCase::kCameraNames ? SameCameraText(text, texts[0]) : text == texts[0];
    if (!same) return std::nullopt;
  }
  return texts[0];
}

std::string DecimalDigits(uint64_t value) {
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + value % 10));
    value /= 10;
  } while (value != 0);
  return digits;
}

std::wstring CutAtDecimal(std::wstring_view formatted, std::wstring_view decimalSeparator) {
  if (decimalSeparator.empty()) return std::wstring(formatted);
  return std::wstring(formatted.substr(0, formatted.find(decimalSeparator)));
}

uint32_t NumberGrouping(std::string_view localeGrouping) {
  std::string digits;
  for (const char c : localeGrouping)
    if (c >= '0' && c <= '9') digits.push_back(c);
  if (digits.empty()) return 0;
  if (digits.size() > 1 && digits.back() == '0')
    digits.pop_back();
  else
    digits.push_back('0');
  // The number format takes at most a few groups; more would not fit.
  if (digits.size() > 9) digits.resize(9);
  uint32_t grouping = 0;
  for (const char c : digits) grouping = grouping * 10 + static_cast<uint32_t>(c - '0');
  return grouping;
}
