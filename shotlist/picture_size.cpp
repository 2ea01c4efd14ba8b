#include "picture_size.h"

#include <algorithm>

namespace {

uint16_t ScaleSide(uint32_t side, uint32_t numerator, uint32_t denominator) {
  return static_cast<uint16_t>(side * numerator / denominator);
}

}  // namespace

PictureSize TargetSize(PictureSize requested, PictureSize picture) {
  if (requested.width != 0 && requested.height != 0) return requested;
  const bool landscape = picture.width >= picture.height;
  const uint32_t longer = landscape ? picture.width : picture.height;
  const uint32_t shorter = landscape ? picture.height : picture.width;
  if (longer == 0) return picture;
  uint32_t newLonger = 0;
  if (requested.width == 0 && requested.height == 0) {
    if (uint32_t(picture.width) * picture.height <= 640u * 480u) return picture;
    newLonger = 640;
  } else {
    newLonger = std::max(requested.width, requested.height);
  }
  const uint16_t newShorter = ScaleSide(shorter, newLonger, longer);
  const auto longSide = static_cast<uint16_t>(newLonger);
  return landscape ? PictureSize{longSide, newShorter} : PictureSize{newShorter, longSide};
}

PictureSize FitSize(PictureSize picture, PictureSize target) {
  if (picture.width == 0 || picture.height == 0) return picture;
  if (target.width == 0 || target.width > picture.width) target.width = picture.width;
  if (target.height == 0 || target.height > picture.height) target.height = picture.height;
  const double factor = std::min(double(target.width) / picture.width, double(target.height) / picture.height);
  const auto scaled = [factor](uint16_t side) {
    return static_cast<uint16_t>(std::max<uint32_t>(1, static_cast<uint32_t>(side * factor)));
  };
  return {scaled(picture.width), scaled(picture.height)};
}

PictureSize SquareOf(PictureSize size) {
  const uint16_t side = std::max(size.width, size.height);
  return {side, side};
}

int DecodeScale(PictureSize picture, PictureSize target) {
  const auto covers = [&](int divisor) {
    return picture.width / divisor >= target.width && picture.height / divisor >= target.height;
  };
  if (covers(8)) return 1;
  if (covers(4)) return 2;
  return 8;
}

int TurnAngle(int orientation) {
  switch (orientation) {
    case 3:
    case 4:
      return 180;
    case 5:
    case 6:
      return 90;
    case 7:
    case 8:
      return 270;
    default:
      return 0;
  }
}

PictureSize TurnedSize(PictureSize picture, int angle) {
  return (angle == 90 || angle == 270) ? PictureSize{picture.height, picture.width} : picture;
}

bool HasJpegExtension(std::string_view path, const TextLocale &locale) {
  const std::string_view extension = PathExtension(path, locale);
  for (std::string_view jpeg : {".JPG", ".JPE", ".JPEG"}) {
    if (extension.size() == jpeg.size() && StartsWithNoCase(extension, jpeg)) return true;
  }
  return false;
}
