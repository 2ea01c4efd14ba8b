// Pictures made ready for the camera's picture folders: full colour, sides
// multiples of 32, the centre of the picture on a white canvas.
#pragma once

#include <cstdint>
#include <span>

#include "pixels24.h"

Pixels24 MakeCameraPicture(const Pixels24 &picture);

// Whether a JPEG file carries the camera's Exif segment (APP1 "Exif"): such
// pictures are the camera's own and go back as they are.
bool IsExifJpeg(std::span<const uint8_t> file);
