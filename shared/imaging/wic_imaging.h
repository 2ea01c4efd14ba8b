// Decoding pictures and encoding JPEG files with Windows Imaging Component.
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "pixels24.h"
#include "win_raii.h"

// Pictures larger than this many bytes of 24-bit pixels (or wider or higher
// than 65535) are refused rather than risking an allocation that fails.
bool PictureSizeAcceptable(UINT width, UINT height);

class WicImaging {
 public:
  // Not Ready() when the imaging factory cannot be made (COM must be
  // initialised on the thread).
  WicImaging();
  bool Ready() const { return factory_ != nullptr; }
  IWICImagingFactory *Factory() const { return factory_.Get(); }

  // The first frame of an encoded picture; `contents` must stay alive as
  // long as the frame is used. The container format (GUID_ContainerFormatJpeg,
  // ...) is given when asked for.
  ComPtr<IWICBitmapFrameDecode> OpenFrame(std::span<const uint8_t> contents, GUID *container = nullptr);

  // The source's pixels as 24-bit blue-green-red; nullopt for pictures too
  // large to hold.
  std::optional<Pixels24> CopyPixels(IWICBitmapSource *source);

  // A JPEG file of the pixels at the given quality (0 to 1).
  std::optional<std::vector<uint8_t>> EncodeJpeg(const Pixels24 &picture, float quality);

 private:
  ComPtr<IWICImagingFactory> factory_;
};
