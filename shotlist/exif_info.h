// What the picture conversion takes from the Exif segment of a JPEG file: the
// orientation and the embedded thumbnail. Every offset and length in the
// file is checked against the data it points into.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

struct ExifInfo {
  int orientation = 1;
  std::span<const uint8_t> thumbnail;  // JPEG bytes of the embedded thumbnail; empty when there is none
};

// The Exif information of a JPEG file's contents; nothing when the contents
// are not a JPEG file with a readable Exif segment before its image data.
std::optional<ExifInfo> ReadExifInfo(std::span<const uint8_t> file);
