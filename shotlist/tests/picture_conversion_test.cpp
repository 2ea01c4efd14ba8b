// Thumbnails of pictures made with WIC.
#include "picture_conversion.h"

#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "test_pictures.h"

namespace {

namespace fs = std::filesystem;

class PictureConversion : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    folder_ = fs::temp_directory_path() /
              ("shotlist_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    fs::remove_all(folder_);
    CoUninitialize();
  }
  std::string Write(const std::string &name, const Bytes &jpeg) {
    WriteFileBytes((folder_ / name).string(), jpeg);
    return (folder_ / name).string();
  }
  BitmapImage Thumbnail(const std::string &name, const Bytes &jpeg) {
    unique_hglobal memory = MakeThumbnail(Write(name, jpeg));
    if (!memory) return {};
    global_lock lock(memory.get());
    EXPECT_NE(lock.get(), static_cast<void *>(memory.get()));  // movable: the handle is not the address
    return ParseDib(static_cast<const uint8_t *>(lock.get()), GlobalSize(memory.get()));
  }
  fs::path folder_;
};

TEST_F(PictureConversion, ThumbnailFitsThePictureIntoTheGridBox) {
  const Bytes picture = EncodeJpeg(1280, 960, kRed, kBlue);
  BitmapImage image = Thumbnail("land.jpg", picture);
  ASSERT_TRUE(image.valid);
  EXPECT_EQ(image.width, 100);
  EXPECT_EQ(image.height, 75);
  EXPECT_TRUE(image.IsNear(10, 10, kRed));
  EXPECT_TRUE(image.IsNear(90, 65, kBlue));

  image = Thumbnail("turned.jpg", WithExif(picture, 8));
  EXPECT_EQ(image.width, 57);
  EXPECT_EQ(image.height, 76);
  EXPECT_TRUE(image.IsNear(10, 65, kRed));  // turned by 270 degrees: top left goes bottom left

  image = Thumbnail("tiny.jpg", EncodeJpeg(40, 30, kRed, kBlue));
  EXPECT_EQ(image.width, 40);  // never enlarged
  EXPECT_FALSE(Thumbnail("x.png", picture).valid);
  EXPECT_FALSE(Thumbnail("empty.jpg", {}).valid);
}

TEST_F(PictureConversion, ThumbnailUsesTheEmbeddedExifThumbnail) {
  const Bytes picture = EncodeJpeg(1280, 960, kRed, kBlue);
  const Bytes embedded = EncodeJpeg(160, 120, kGreen, kGreen);
  BitmapImage image = Thumbnail("exif.jpg", WithExif(picture, 1, embedded));
  EXPECT_EQ(image.width, 160);  // at its own size
  EXPECT_EQ(image.height, 120);
  EXPECT_TRUE(image.IsNear(80, 60, kGreen));
  image = Thumbnail("exif6.jpg", WithExif(picture, 6, embedded));
  EXPECT_EQ(image.width, 120);
  EXPECT_EQ(image.height, 160);
  // A damaged embedded thumbnail: the picture itself is used.
  image = Thumbnail("damaged.jpg", WithExif(picture, 1, Bytes(embedded.begin(), embedded.begin() + 40)));
  EXPECT_EQ(image.width, 100);
  EXPECT_TRUE(image.IsNear(10, 10, kRed));
}

// A file of 4 GiB and some bytes (sparse: it takes no disk space).
std::string WriteHugeFile(const fs::path &path) {
  unique_file file(CreateFileA(path.string().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  LARGE_INTEGER end;
  end.QuadPart = (int64_t{1} << 32) + 16;
  SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN);
  SetEndOfFile(file.get());
  return path.string();
}

TEST_F(PictureConversion, FilesFarLargerThanAnyPictureAreRefusedUnread) {
  const std::string path = WriteHugeFile(folder_ / "huge.jpg");
  PictureSize size{0, 0};
  std::string bitmap;
  EXPECT_FALSE(ConvertToBitmapFile(path, size, bitmap));
  EXPECT_FALSE(MakeThumbnail(path));
  PROCESS_MEMORY_COUNTERS counters{sizeof counters};
  ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters));
  EXPECT_LT(counters.PeakWorkingSetSize, SIZE_T{512} << 20);
}

}  // namespace
