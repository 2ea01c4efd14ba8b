#include "wic_imaging.h"

#include <cstring>

bool PictureSizeAcceptable(UINT width, UINT height) {
  constexpr uint64_t kMaxPixelBytes = 512ull << 20;
  return width > 0 && height > 0 && width <= 0xFFFF && height <= 0xFFFF &&
         uint64_t{DibStride(width, 24)} * height <= kMaxPixelBytes;
}

WicImaging::WicImaging() {
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory_))))
    factory_.Reset();
}

ComPtr<IWICBitmapFrameDecode> WicImaging::OpenFrame(std::span<const uint8_t> contents, GUID *container) {
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  if (!factory_ || contents.empty() || contents.size() > 0xFFFFFFFFu || FAILED(factory_->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE *>(contents.data()), DWORD(contents.size()))) ||
      FAILED(factory_->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
      FAILED(decoder->GetFrame(0, &frame)))
    return nullptr;
  if (container && FAILED(decoder->GetContainerFormat(container))) *container = GUID{};
  return frame;
}

std::optional<Pixels24> WicImaging::CopyPixels(IWICBitmapSource *source) {
  ComPtr<IWICFormatConverter> converter;
  UINT width = 0, height = 0;
  if (!factory_ || !source || FAILED(factory_->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(source, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&width, &height)) || !PictureSizeAcceptable(width, height))
    return std::nullopt;
  Pixels24 pixels(width, height);
  if (FAILED(converter->CopyPixels(nullptr, pixels.Stride(), UINT(pixels.data.size()), pixels.data.data())))
    return std::nullopt;
  return pixels;
}

std::optional<std::vector<uint8_t>> WicImaging::EncodeJpeg(const Pixels24 &picture, float quality) {
  ComPtr<IStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> options;
  if (!factory_ || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) ||
      FAILED(factory_->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder)) ||
      FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(&frame, &options)))
    return std::nullopt;
  PROPBAG2 option{};
  option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
  VARIANT value{};
  value.vt = VT_R4;
  value.fltVal = quality;
  options->Write(1, &option, &value);  // a codec without the option keeps its own quality
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(frame->Initialize(options.Get())) || FAILED(frame->SetSize(picture.width, picture.height)) ||
      FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR ||
      FAILED(frame->WritePixels(picture.height, picture.Stride(), UINT(picture.data.size()),
                                const_cast<BYTE *>(picture.data.data()))) ||
      FAILED(frame->Commit()) || FAILED(encoder->Commit()))
    return std::nullopt;
  HGLOBAL block = nullptr;
  STATSTG stat{};
  if (FAILED(GetHGlobalFromStream(stream.Get(), &block)) || FAILED(stream->Stat(&stat, STATFLAG_NONAME)) ||
      stat.cbSize.QuadPart > GlobalSize(block))
    return std::nullopt;
  const global_lock bytes(block);
  if (!bytes) return std::nullopt;
  const auto *first = static_cast<const uint8_t *>(bytes.get());
  return std::vector<uint8_t>(first, first + stat.cbSize.QuadPart);
}
