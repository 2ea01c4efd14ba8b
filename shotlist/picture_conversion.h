// Conversion of camera JPEG pictures into bitmaps: a scaled bitmap file in the
// temporary folder, and small thumbnails in memory. Both turn the picture as
// its Exif orientation asks and decode large pictures at a reduced scale.
#pragma once

#include <string>

#include "picture_size.h"
#include "shared/win_raii.h"

// Writes the picture, scaled by the size rules to `size` (0 sides: not
// given), as a 24-bit ".BMP" file under a unique "~GI" name in the temporary
// folder. A picture with Exif information is decoded for the fitted size,
// turned, then fitted into the square of the longer side of the target size;
// one without is fitted into the target size. On success `size` holds the
// size written and `bitmapPath` the file, which the caller owns.
bool ConvertToBitmapFile(const std::string &picturePath, PictureSize &size, std::string &bitmapPath);

// The picture fitted into 100 x 76 pixels (an embedded Exif thumbnail at its
// own size) as movable global memory holding a packed DIB; empty on any
// failure, running out of memory included.
unique_hglobal MakeThumbnail(const std::string &picturePath);
