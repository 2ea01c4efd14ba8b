#include "wic_picture.h"

#include "bitmap_file.h"
#include "wic_source_transform.h"

std::optional<Pixels24> WicCodec::Decode(IWICBitmapFrameDecode *frame, PictureSize full, int scale) {
  if (scale == 8) return imaging_.CopyPixels(frame);
  const UINT width = (UINT(full.width) * scale + 7) / 8;
  const UINT height = (UINT(full.height) * scale + 7) / 8;
  if (auto scaled = DecodeScaledByCodec(frame, width, height)) return scaled;
  return Scale(frame, width, height);
}

std::optional<Pixels24> WicCodec::Zoom(const Pixels24 &picture, PictureSize size) {
  ComPtr<IWICBitmap> bitmap;
  if (FAILED(imaging_.Factory()->CreateBitmapFromMemory(picture.width, picture.height, GUID_WICPixelFormat24bppBGR,
                                              picture.Stride(), UINT(picture.data.size()),
                                              const_cast<BYTE *>(picture.data.data()), &bitmap))) {
    return std::nullopt;
  }
  return Scale(bitmap.Get(), size.width, size.height);
}

std::optional<Pixels24> WicCodec::DecodeScaledByCodec(IWICBitmapFrameDecode *frame, UINT width, UINT height) {
  ComPtr<IWICBitmapSourceTransform> transform;
  if (FAILED(frame->QueryInterface(IID_PPV_ARGS(&transform)))) return std::nullopt;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(transform->GetClosestSize(&width, &height)) || FAILED(transform->GetClosestPixelFormat(&format)) ||
      format != GUID_WICPixelFormat24bppBGR || !PictureSizeAcceptable(width, height)) {
    return std::nullopt;
  }
  Pixels24 pixels(width, height);
  if (FAILED(transform->CopyPixels(nullptr, width, height, &format, WICBitmapTransformRotate0, pixels.Stride(),
                                   UINT(pixels.data.size()), pixels.data.data()))) {
    return std::nullopt;
  }
  return pixels;
}

std::optional<Pixels24> WicCodec::Scale(IWICBitmapSource *source, UINT width, UINT height) {
  ComPtr<IWICBitmapScaler> scaler;
  if (!PictureSizeAcceptable(width, height) || FAILED(imaging_.Factory()->CreateBitmapScaler(&scaler)) ||
      FAILED(scaler->Initialize(source, width, height, WICBitmapInterpolationModeFant))) {
    return std::nullopt;
  }
  return imaging_.CopyPixels(scaler.Get());
}

