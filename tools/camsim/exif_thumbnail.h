// The Exif thumbnail of a JPEG picture: written into the sample pictures and
// read back for the receive-thumbnail request.
#pragma once

#include <cstdint>
#include <vector>

// The picture with an Exif segment carrying the thumbnail right after SOI.
std::vector<uint8_t> WithExifThumbnail(const std::vector<uint8_t> &jpeg, const std::vector<uint8_t> &thumbnail);
// The thumbnail of the picture's Exif segment; false when it has none.
bool ExtractExifThumbnail(const std::vector<uint8_t> &jpeg, std::vector<uint8_t> &thumbnail);
