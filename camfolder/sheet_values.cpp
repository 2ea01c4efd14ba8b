#include "sheet_values.h"

#include "camera_path.h"

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

std::string CutAtDecimal(std::string_view formatted, std::string_view decimalSeparator) {
  if (decimalSeparator.empty()) return std::string(formatted);
  return std::string(formatted.substr(0, formatted.find(decimalSeparator)));
}
