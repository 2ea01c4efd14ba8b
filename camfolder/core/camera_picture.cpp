#include "core/camera_picture.h"

#include <cstring>

#include "core/picture_layout.h"

Pixels24 MakeCameraPicture(const Pixels24 &picture) {
  const CameraPictureLayout layout = LayoutForCamera(picture.width, picture.height);
  if (layout.unchanged) return picture;
  Pixels24 canvas(layout.width, layout.height);
  std::memset(canvas.data.data(), 0xFF, canvas.data.size());
  for (uint32_t y = 0; y < layout.cropHeight; ++y)
    std::memcpy(canvas.Pixel(layout.pasteX, layout.pasteY + y), picture.Pixel(layout.cropX, layout.cropY + y),
                size_t{layout.cropWidth} * 3);
  return canvas;
}

bool IsExifJpeg(std::span<const uint8_t> file) {
  if (file.size() < 4 || file[0] != 0xFF || file[1] != 0xD8) return false;
  size_t at = 2;
  // Markers up to the first scan; each segment carries its own length.
  while (at + 4 <= file.size() && file[at] == 0xFF) {
    const uint8_t marker = file[at + 1];
    if (marker == 0xDA || marker == 0xD9) return false;
    const size_t length = size_t{file[at + 2]} << 8 | file[at + 3];
    if (length < 2 || at + 2 + length > file.size()) return false;
    if (marker == 0xE1 && length >= 8 && std::memcmp(file.data() + at + 4, "Exif\0\0", 6) == 0) return true;
    at += 2 + length;
  }
  return false;
}
