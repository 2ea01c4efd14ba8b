// The short size texts of the camera folder: "999 バイト", "0.97KB", "195KB",
// "1.90MB". The number is made here; the unit is a string resource.
#pragma once

#include <cstdint>
#include <string>

enum SizeUnit : int { kBytes = 0, kKilobytes = 1, kMegabytes = 2, kGigabytes = 3 };

struct SizeTextParts {
  std::string number;
  SizeUnit unit;
};

// Below 1000 the plain number of bytes; otherwise the value is divided by
// 1024 until it is below 1,024,000, then shown in units of 1024 with up to
// four characters ("1.46") or as a whole number above 102,399.
SizeTextParts SplitSizeText(uint64_t value);
