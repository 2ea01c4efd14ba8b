// Small pieces of the property sheets' texts that need no window: common
// values of several items and numbers ready for the locale's grouping.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The value every text has; nullopt for none or different texts. Camera
// texts (paths) are compared without regard to case, the shell's type names
// exactly.
enum class TextCase { kExact, kCameraNames };
std::optional<std::string> CommonText(std::span<const std::string> texts, TextCase compare);

// The decimal digits of a number, as the locale's number formatting takes it.
std::string DecimalDigits(uint64_t value);

// The locale's digit grouping ("3;0", "3;2;0", "3") as the number of the
// explicit number format (3, 32, 30): a last group of 0 repeats the one
// before it, any other last group ends the grouping.
uint32_t NumberGrouping(std::string_view localeGrouping);

// A formatted number cut at the locale's decimal separator ("1,234.00" →
// "1,234"); the whole text when it has none.
std::wstring CutAtDecimal(std::wstring_view formatted, std::wstring_view decimalSeparator);
