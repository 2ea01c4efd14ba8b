#include "picture_conversion.h"

#include <cstring>
#include <fstream>
#include <new>
#include <optional>
#include <span>
#include <vector>

#include "bitmap_file.h"
#include "exif_info.h"
#include "wic_picture.h"
#include "windows_text.h"

namespace {

constexpr PictureSize kThumbnailBox{100, 76};
constexpr int kTempNameAttempts = 100;
// Far above any camera picture; a file size beyond it is refused before
// anything is allocated (on the 32-bit build a size of 4 GiB + N would
// otherwise become a buffer of N bytes).
constexpr std::streamoff kLargestPictureFile = 256 << 20;

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  const std::streamoff size = in ? std::streamoff(in.tellg()) : -1;
  if (size < 0 || size > kLargestPictureFile) return std::nullopt;
  std::vector<uint8_t> contents(static_cast<size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char *>(contents.data()), size)) return std::nullopt;  // a short read fails
  return contents;
}

// A picture file read for conversion: its contents, its Exif information
// and its clockwise turn from the Exif orientation (none without Exif).
struct SourcePicture {
  std::vector<uint8_t> contents;
  std::optional<ExifInfo> exif;
  int angle = 0;
};

std::optional<SourcePicture> OpenJpeg(const std::string &path) {
  if (!HasJpegExtension(path, SystemTextLocale())) return std::nullopt;
  auto contents = ReadWholeFile(path);
  if (!contents) return std::nullopt;
  SourcePicture picture{std::move(*contents), std::nullopt, 0};
  picture.exif = ReadExifInfo(picture.contents);
  if (picture.exif) picture.angle = TurnAngle(picture.exif->orientation);
  return picture;
}

// The first frame of an encoded picture and its stored size.
struct Frame {
  ComPtr<IWICBitmapFrameDecode> decode;
  PictureSize stored;
};

std::optional<Frame> OpenFrame(WicCodec &codec, std::span<const uint8_t> encoded) {
  Frame frame{codec.OpenFrame(encoded), {}};
  UINT width = 0, height = 0;
  if (!frame.decode || FAILED(frame.decode->GetSize(&width, &height)) || width == 0 || height == 0 ||
      width > 0xFFFF || height > 0xFFFF) {
    return std::nullopt;
  }
  frame.stored = {uint16_t(width), uint16_t(height)};
  return frame;
}

// A picture with Exif information: decoded at the smallest scale that still
// covers it fitted into `target`, turned by `angle`, then fitted into `box`.
std::optional<Pixels24> DecodeTurnFit(WicCodec &codec, const Frame &frame, PictureSize target, int angle,
                                      PictureSize box) {
  const PictureSize fitted = FitSize(frame.stored, target);
  auto decoded = codec.Decode(frame.decode.Get(), frame.stored, DecodeScale(frame.stored, fitted));
  if (!decoded) return std::nullopt;
  Pixels24 turned = TurnPixels(*decoded, angle);
  const PictureSize size = FitSize(SizeOf(turned), box);
  if (size == SizeOf(turned)) return turned;
  return codec.Zoom(turned, size);
}

// A picture without Exif information: decoded straight to its size fitted
// into `target`.
std::optional<Pixels24> DecodeFitted(WicCodec &codec, const Frame &frame, PictureSize target) {
  const PictureSize fitted = FitSize(frame.stored, target);
  auto decoded = codec.Decode(frame.decode.Get(), frame.stored, DecodeScale(frame.stored, fitted));
  if (!decoded || SizeOf(*decoded) == fitted) return decoded;
  return codec.Zoom(*decoded, fitted);
}

// Creates a new file "<temp>\~GIxxxx.BMP". Each candidate name comes from a
// reserved temporary file, kept until a free bitmap name is found so that no
// name repeats and no earlier bitmap is overwritten.
unique_file CreateTempBitmapFile(std::string &path) {
  char folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) return {};
  std::vector<std::string> reserved;
  unique_file file;
  for (int attempt = 0; attempt < kTempNameAttempts && !file; ++attempt) {
    char name[MAX_PATH] = {};
    if (GetTempFileNameA(folder, "~GI", 0, name) == 0) break;
    reserved.emplace_back(name);
    std::string candidate = name;
    if (candidate.size() < 3) break;
    candidate.replace(candidate.size() - 3, 3, "BMP");
    file.reset(CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) path = candidate;
  }
  for (const std::string &name : reserved) DeleteFileA(name.c_str());
  return file;
}

bool WriteAll(HANDLE file, std::span<const uint8_t> bytes) {
  DWORD written = 0;
  return WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
}

bool WriteBitmapFile(const Pixels24 &picture, std::string &path) {
  const std::vector<uint8_t> dib = PackDib(picture);
  std::string created;
  unique_file file = CreateTempBitmapFile(created);
  if (!file) return false;
  if (!WriteAll(file.get(), BitmapFileHeader(uint32_t(dib.size()))) || !WriteAll(file.get(), dib) ||
      !CloseHandle(file.release())) {
    file.reset();
    DeleteFileA(created.c_str());
    return false;
  }
  path = created;
  return true;
}

unique_hglobal GlobalDib(const Pixels24 &picture) {
  const std::vector<uint8_t> dib = PackDib(picture);
  unique_hglobal memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, dib.size()));
  if (!memory) return {};
  global_lock lock(memory.get());
  if (!lock) return {};
  std::memcpy(lock.get(), dib.data(), dib.size());
  return memory;
}

unique_hglobal ThumbnailOf(const std::string &picturePath) {
  auto source = OpenJpeg(picturePath);
  if (!source) return {};
  ComScope com;
  WicCodec codec;
  if (!codec.Ready()) return {};
  if (source->exif && !source->exif->thumbnail.empty()) {
    // The embedded thumbnail is used at its own size, only turned.
    if (const auto thumbnail = OpenFrame(codec, source->exif->thumbnail)) {
      if (auto picture = DecodeTurnFit(codec, *thumbnail, thumbnail->stored, source->angle,
                                       SquareOf(thumbnail->stored))) {
        return GlobalDib(*picture);
      }
    }
  }
  const auto frame = OpenFrame(codec, source->contents);
  if (!frame) return {};
  auto picture = source->exif ? DecodeTurnFit(codec, *frame, kThumbnailBox, source->angle, kThumbnailBox)
                              : DecodeFitted(codec, *frame, kThumbnailBox);
  return picture ? GlobalDib(*picture) : unique_hglobal{};
}

}  // namespace

bool ConvertToBitmapFile(const std::string &picturePath, PictureSize &size, std::string &bitmapPath) {
  auto source = OpenJpeg(picturePath);
  if (!source) return false;
  ComScope com;
  WicCodec codec;
  if (!codec.Ready()) return false;
  const auto frame = OpenFrame(codec, source->contents);
  if (!frame) return false;
  const PictureSize target = TargetSize(size, frame->stored);
  // A camera picture may stand on its side: once turned it is fitted into the
  // square of the longer wanted side, whichever way it then stands.
  auto picture = source->exif ? DecodeTurnFit(codec, *frame, target, source->angle, SquareOf(target))
                              : DecodeFitted(codec, *frame, target);
  if (!picture || !WriteBitmapFile(*picture, bitmapPath)) return false;
  size = SizeOf(*picture);
  return true;
}

unique_hglobal MakeThumbnail(const std::string &picturePath) {
  // A picture too large for the memory left fails like an unreadable one:
  // the grid shows the placeholder, the dialog stays open.
  try {
    return ThumbnailOf(picturePath);
  } catch (const std::bad_alloc &) {
    return {};
  }
}
