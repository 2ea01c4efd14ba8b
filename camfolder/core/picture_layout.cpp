#include "core/picture_layout.h"

namespace {

constexpr uint32_t kUnit = 32;

uint32_t CanvasSide(uint32_t side) { return side < kUnit ? kUnit : side / kUnit * kUnit; }

}  // namespace

CameraPictureLayout LayoutForCamera(uint32_t width, uint32_t height) {
  CameraPictureLayout layout{};
  layout.unchanged = width > 0 && height > 0 && width % kUnit == 0 && height % kUnit == 0;
  layout.width = CanvasSide(width);
  layout.height = CanvasSide(height);
  layout.cropWidth = width < layout.width ? width : layout.width;
  layout.cropHeight = height < layout.height ? height : layout.height;
  layout.cropX = (width - layout.cropWidth) / 2;
  layout.cropY = (height - layout.cropHeight) / 2;
  layout.pasteX = (layout.width - layout.cropWidth) / 2;
  layout.pasteY = (layout.height - layout.cropHeight) / 2;
  return layout;
}
