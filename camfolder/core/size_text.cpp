#include "core/size_text.h"

#include <cstdio>

SizeTextParts SplitSizeText(uint64_t value) {
  char text[32];
  if (value < 1000) {
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(value));
    return {text, kBytes};
  }
  int divisions = 0;
  // Gigabytes are the largest unit: totals beyond are shown as many of them.
  while (value >= 1024000 && divisions < kGigabytes - 1) {
    value /= 1024;
    ++divisions;
  }
  const uint64_t whole = value / 1024;
  if (value > 102399) {
    std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(whole));
    return {text, static_cast<SizeUnit>(divisions + 1)};
  }
  std::snprintf(text, sizeof text, "%u.%03u", static_cast<unsigned>(whole),
                static_cast<unsigned>((value % 1024) * 1000 / 1024));
  return {std::string(text).substr(0, 4), static_cast<SizeUnit>(divisions + 1)};
}
