#include "exif_segment.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

Bytes ExifSegment(bool littleEndian, uint16_t orientation, const Bytes &thumbnail, uint32_t lengthExtra) {
  Bytes tiff = littleEndian ? Bytes{'I', 'I'} : Bytes{'M', 'M'};
  const auto put = [&](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) tiff.push_back(uint8_t(value >> (8 * (littleEndian ? i : bytes - 1 - i))));
  };
  put(42, 2), put(8, 4);
  put(1, 2), put(0x0112, 2), put(3, 2), put(1, 4), put(orientation, 2), put(0, 2);  // IFD0 at 8
  put(thumbnail.empty() ? 0 : 26, 4);
  if (!thumbnail.empty()) {
    put(2, 2), put(0x0201, 2), put(4, 2), put(1, 4), put(56, 4);  // IFD1 at 26, thumbnail at 56
    put(0x0202, 2), put(4, 2), put(1, 4), put(uint32_t(thumbnail.size()) + lengthExtra, 4), put(0, 4);
    tiff.insert(tiff.end(), thumbnail.begin(), thumbnail.end());
  }
  const size_t length = 8 + tiff.size();
  if (length > 0xFFFF) throw std::length_error("Exif segment too long");
  const uint8_t header[] = {0xFF, 0xE1, uint8_t(length >> 8), uint8_t(length), 'E', 'x', 'i', 'f', 0, 0};
  Bytes segment(sizeof header + tiff.size());
  std::copy(std::begin(header), std::end(header), segment.begin());
  std::copy(tiff.begin(), tiff.end(), segment.begin() + sizeof header);
  return segment;
}
