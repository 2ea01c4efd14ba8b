// The share of a transfer done, for the progress bar. Computed in 64 bits:
// done × 100 overflows 32 bits for bodies above 42,949,672 bytes.
#pragma once

#include <cstdint>

constexpr unsigned TransferPercent(uint64_t done, uint64_t total) {
  if (total == 0 || done >= total) return 100;
  return static_cast<unsigned>(done * 100 / total);
}
