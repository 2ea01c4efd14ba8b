// Builds the Exif segment (APP1) of a JPEG file for tests: an orientation in
// the first directory and, when given, a thumbnail in the second.
#pragma once

#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

// From the segment marker on; `lengthExtra` makes the recorded thumbnail
// length that much longer than the thumbnail.
Bytes ExifSegment(bool littleEndian, uint16_t orientation, const Bytes &thumbnail, uint32_t lengthExtra = 0);
