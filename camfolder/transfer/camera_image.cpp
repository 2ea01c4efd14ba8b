#include "transfer/camera_image.h"

#include <cstring>
#include <span>

#include "core/camera_path.h"
#include "core/camera_picture.h"
#include "items/camera_error.h"
#include "items/working_folder.h"
#include "wic_imaging.h"
#include "zlx_result.h"

namespace camfolder {

namespace {

// The JPEG quality of pictures made anew.
constexpr float kCameraQuality = 0.9f;

// Names that say the file is a picture.
bool HasPictureName(const std::string &name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string type = name.substr(dot + 1);
  for (const char *picture : {"JPG", "JPEG", "JPE", "TIF", "TIFF", "BMP", "DIB", "PNG", "GIF"})
    if (SameCameraText(type, picture)) return true;
  return false;
}

HRESULT NotAPicture(HWND owner) {
  ShowCameraError(owner, ZLX_E_NOT_TRANSFERABLE);
  return E_ABORT;
}

}  // namespace

HRESULT PrepareCameraImage(HWND owner, const char *localPath, std::string &name, unique_hglobal &data, DWORD &size,
                           bool &madeAnew) {
  madeAnew = false;
  if (const HRESULT hr = LoadLocalFile(localPath, data, size); FAILED(hr)) return hr;
  if (size == 0) return HasPictureName(name) ? NotAPicture(owner) : S_OK;
  std::vector<uint8_t> contents(size);
  {
    const global_lock bytes(data.get());
    if (!bytes) return E_OUTOFMEMORY;
    std::memcpy(contents.data(), bytes.get(), size);
  }
  WicImaging imaging;
  if (!imaging.Ready()) return NotAPicture(owner);
  GUID container{};
  const ComPtr<IWICBitmapFrameDecode> frame = imaging.OpenFrame(contents, &container);
  if (!frame) return HasPictureName(name) ? NotAPicture(owner) : S_OK;  // no picture: sent as it is
  if (IsEqualGUID(container, GUID_ContainerFormatJpeg) && IsExifJpeg(contents)) return S_OK;

  const auto pixels = imaging.CopyPixels(frame.Get());
  if (!pixels) return NotAPicture(owner);
  const auto jpeg = imaging.EncodeJpeg(MakeCameraPicture(*pixels), kCameraQuality);
  if (!jpeg || jpeg->size() > 0xFFFFFFFFu) return NotAPicture(owner);
  unique_hglobal made(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, jpeg->size()));
  if (!made) return E_OUTOFMEMORY;
  {
    const global_lock bytes(made.get());
    if (!bytes) return E_OUTOFMEMORY;
    std::memcpy(bytes.get(), jpeg->data(), jpeg->size());
  }
  data = std::move(made);
  size = static_cast<DWORD>(jpeg->size());
  name = name.substr(0, name.rfind('.')) + ".JPG";
  madeAnew = true;
  return S_OK;
}

}  // namespace camfolder
