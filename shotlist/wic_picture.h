// Decoding and scaling pictures with Windows Imaging Component.
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <optional>
#include <span>

#include "com_scope.h"
#include "pixels.h"
#include "wic_imaging.h"

class WicCodec {
 public:
  // Fails (Ready() false) when the imaging factory cannot be created.
  bool Ready() const { return imaging_.Ready(); }

  // The first frame of an encoded picture held in `contents`, which must stay
  // alive as long as the frame is used.
  ComPtr<IWICBitmapFrameDecode> OpenFrame(std::span<const uint8_t> contents) { return imaging_.OpenFrame(contents); }

  // The frame decoded at scale n/8 (n = 1, 2 or 8): by the codec's own scaled
  // decoding when it offers it, else decoded in full and scaled down.
  std::optional<Pixels24> Decode(IWICBitmapFrameDecode *frame, PictureSize full, int scale);

  // The picture scaled to `size`.
  std::optional<Pixels24> Zoom(const Pixels24 &picture, PictureSize size);

 private:
  std::optional<Pixels24> DecodeScaledByCodec(IWICBitmapFrameDecode *frame, UINT width, UINT height);
  std::optional<Pixels24> Scale(IWICBitmapSource *source, UINT width, UINT height);

  WicImaging imaging_;
};
