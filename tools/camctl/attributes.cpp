#include "attributes.h"

#include <cstdlib>

#include "zlx_records.h"

namespace {

struct AttributeLetter {
  char letter;
  uint32_t bit;
};

const AttributeLetter kLetters[] = {{'r', 0x01}, {'h', 0x02}, {'s', 0x04}, {'a', 0x20}};

// The bit of one letter, or 0 for a letter that is none of r h s a.
uint32_t BitOf(char letter) {
  for (const AttributeLetter &entry : kLetters)
    if (entry.letter == letter) return entry.bit;
  return 0;
}

}  // namespace

std::string FormatAttributes(uint32_t attributes) {
  std::string text = (attributes & ZLX_ATTR_DIRECTORY) ? "d" : "-";
  for (const AttributeLetter &entry : kLetters) text += (attributes & entry.bit) ? entry.letter : '-';
  return text;
}

bool ApplyAttributeText(const std::string &text, uint32_t current, uint32_t &result, std::string &error) {
  const uint32_t folderBit = current & ZLX_ATTR_DIRECTORY;
  error = "bad attributes '" + text + "': expected a number, letters out of r h s a, +x/-x changes or -";
  if (text.empty()) return false;
  if (text == "-") {
    result = folderBit;
    return true;
  }
  if (text[0] >= '0' && text[0] <= '9') {
    char *end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 0);
    if (*end != '\0' || value > 0xFF) return false;
    result = (static_cast<uint32_t>(value) & ~ZLX_ATTR_DIRECTORY) | folderBit;
    return true;
  }
  const bool changes = text[0] == '+' || text[0] == '-';
  uint32_t value = changes ? current : folderBit;
  char sign = '+';
  int letters = 0;
  for (char c : text) {
    if (c == '+' || c == '-') {
      if (!changes) return false;
      sign = c;
      continue;
    }
    const uint32_t bit = BitOf(c);
    if (bit == 0) return false;
    value = sign == '+' ? (value | bit) : (value & ~bit);
    ++letters;
  }
  if (letters == 0) return false;
  result = value;
  return true;
}
