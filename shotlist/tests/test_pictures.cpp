#include "test_pictures.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

using Microsoft::WRL::ComPtr;

namespace {

void Check(HRESULT hr, const char *what) {
  if (FAILED(hr)) throw std::runtime_error(std::string(what) + " failed");
}

uint32_t Get32(const uint8_t *p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

size_t Stride(int width) { return (size_t(width) * 3 + 3) & ~size_t(3); }

}  // namespace

Bytes EncodeJpeg(uint32_t width, uint32_t height, Color corner, Color rest) {
  const size_t stride = Stride(int(width));
  Bytes pixels(stride * height);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      std::memcpy(&pixels[y * stride + x * 3], (x < width / 2 && y < height / 2) ? &corner : &rest, 3);
    }
  }
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)), "factory");
  Check(CreateStreamOnHGlobal(nullptr, TRUE, &stream), "stream");
  Check(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder), "encoder");
  Check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), "encoder start");
  Check(encoder->CreateNewFrame(&frame, nullptr), "frame");
  Check(frame->Initialize(nullptr), "frame start");
  Check(frame->SetSize(width, height), "size");
  Check(frame->SetPixelFormat(&format), "format");
  Check(frame->WritePixels(height, UINT(stride), UINT(pixels.size()), pixels.data()), "pixels");
  Check(frame->Commit(), "frame commit");
  Check(encoder->Commit(), "encoder commit");
  HGLOBAL memory = nullptr;
  STATSTG stat = {};
  Check(GetHGlobalFromStream(stream.Get(), &memory), "memory");
  Check(stream->Stat(&stat, STATFLAG_NONAME), "stat");
  const auto *data = static_cast<const uint8_t *>(GlobalLock(memory));
  Bytes jpeg(data, data + stat.cbSize.QuadPart);
  GlobalUnlock(memory);
  return jpeg;
}

Bytes WithExif(const Bytes &jpeg, uint16_t orientation, const Bytes &thumbnail) {
  const Bytes segment = ExifSegment(true, orientation, thumbnail);
  Bytes file(jpeg.begin(), jpeg.begin() + 2);
  file.insert(file.end(), segment.begin(), segment.end());
  file.insert(file.end(), jpeg.begin() + 2, jpeg.end());
  return file;
}

void WriteFileBytes(const std::string &path, const Bytes &bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

bool BitmapImage::IsNear(int x, int y, Color color) const {
  const uint8_t *p = &rows[(height - 1 - y) * Stride(width) + x * 3];
  return std::abs(p[0] - color.blue) <= 40 && std::abs(p[1] - color.green) <= 40 && std::abs(p[2] - color.red) <= 40;
}

BitmapImage ParseDib(const uint8_t *dib, size_t size) {
  BitmapImage image;
  if (size < 40 || Get32(dib) != 40 || dib[14] != 24) return image;
  image.width = int(Get32(dib + 4));
  image.height = int(Get32(dib + 8));
  if (image.width <= 0 || image.height <= 0 || size < 40 + Stride(image.width) * image.height) return image;
  image.rows.assign(dib + 40, dib + 40 + Stride(image.width) * image.height);
  image.valid = true;
  return image;
}

BitmapImage ReadBitmapFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  const Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M' || Get32(&file[2]) != file.size() ||
      Get32(&file[10]) != 54) {
    return {};
  }
  return ParseDib(file.data() + 14, file.size() - 14);
}
