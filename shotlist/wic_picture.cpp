#include "wic_picture.h"

#include "bitmap_file.h"
#include "wic_source_transform.h"

namespace {

// Larger pictures are refused rather than risking an allocation the process
// cannot make.
constexpr uint64_t kMaxPixelBytes = 512ull << 20;

bool SizeAcceptable(UINT width, UINT height) {
  return width > 0 && height > 0 && width <= 0xFFFF && height <= 0xFFFF &&
         uint64_t(DibStride(width, 24)) * height <= kMaxPixelBytes;
}

}  // namespace

WicCodec::WicCodec() {
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory_)))) {
    factory_.Reset();
  }
}

ComPtr<IWICBitmapFrameDecode> WicCodec::OpenFrame(std::span<const uint8_t> contents) {
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  if (contents.empty() || contents.size() > 0xFFFFFFFFu || FAILED(factory_->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE *>(contents.data()), DWORD(contents.size()))) ||
      FAILED(factory_->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
      FAILED(decoder->GetFrame(0, &frame))) {
    return nullptr;
  }
  return frame;
}

std::optional<Pixels24> WicCodec::Decode(IWICBitmapFrameDecode *frame, PictureSize full, int scale) {
  if (scale == 8) return CopyPixels(frame);
  const UINT width = (UINT(full.width) * scale + 7) / 8;
  const UINT height = (UINT(full.height) * scale + 7) / 8;
  if (auto scaled = DecodeScaledByCodec(frame, width, height)) return scaled;
  return Scale(frame, width, height);
}

std::optional<Pixels24> WicCodec::Zoom(const Pixels24 &picture, PictureSize size) {
  ComPtr<IWICBitmap> bitmap;
  if (FAILED(factory_->CreateBitmapFromMemory(picture.width, picture.height, GUID_WICPixelFormat24bppBGR,
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
      format != GUID_WICPixelFormat24bppBGR || !SizeAcceptable(width, height)) {
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
  if (!SizeAcceptable(width, height) || FAILED(factory_->CreateBitmapScaler(&scaler)) ||
      FAILED(scaler->Initialize(source, width, height, WICBitmapInterpolationModeFant))) {
    return std::nullopt;
  }
  return CopyPixels(scaler.Get());
}

std::optional<Pixels24> WicCodec::CopyPixels(IWICBitmapSource *source) {
  ComPtr<IWICFormatConverter> converter;
  UINT width = 0, height = 0;
  if (FAILED(factory_->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(source, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&width, &height)) || !SizeAcceptable(width, height)) {
    return std::nullopt;
  }
  Pixels24 pixels(width, height);
  if (FAILED(converter->CopyPixels(nullptr, pixels.Stride(), UINT(pixels.data.size()), pixels.data.data()))) {
    return std::nullopt;
  }
  return pixels;
}
