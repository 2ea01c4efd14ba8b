// Where a picture goes on the canvas the camera takes: sides multiples of
// 32 (at least 32), the centre of the picture cut to at most that size and
// pasted in the centre of a white canvas.
#pragma once

#include <cstdint>

struct CameraPictureLayout {
  uint32_t width, height;             // the canvas
  uint32_t cropX, cropY;              // the part of the picture taken
  uint32_t cropWidth, cropHeight;
  uint32_t pasteX, pasteY;            // where it goes on the canvas
  bool unchanged;                     // both sides were multiples of 32 already
};

CameraPictureLayout LayoutForCamera(uint32_t width, uint32_t height);
