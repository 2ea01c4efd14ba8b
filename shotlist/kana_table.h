// Conversion table from single-byte characters of code page 932 to their
// full-width double-byte forms.
#pragma once

#include <cstdint>
#include <span>

struct KanaEntry {
  uint16_t fullWidth;  // double-byte code, high byte first when written
  uint8_t key;         // the single byte it replaces
  uint8_t voicing;     // 0 plain, 1 with the voiced mark 0xDE, 2 with the semi-voiced mark 0xDF
};

// All 124 entries; the voiced forms follow the plain form of the same key.
std::span<const KanaEntry> KanaTable();
