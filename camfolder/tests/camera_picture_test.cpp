// Camera pictures against a per-pixel model of the layout, and the test for
// the camera's own JPEG files.
#include <gtest/gtest.h>

#include <random>

#include "core/camera_picture.h"
#include "core/picture_layout.h"

namespace {

Pixels24 Random(uint32_t width, uint32_t height, std::mt19937 &random) {
  Pixels24 picture(width, height);
  for (uint8_t &byte : picture.data) byte = static_cast<uint8_t>(random());
  return picture;
}

// The canvas pixel by pixel: the pasted part shows the picture's centre,
// everything else is white.
void ExpectModel(const Pixels24 &picture, const Pixels24 &made) {
  const CameraPictureLayout l = LayoutForCamera(picture.width, picture.height);
  ASSERT_EQ(made.width, l.width);
  ASSERT_EQ(made.height, l.height);
  for (uint32_t y = 0; y < made.height; ++y) {
    for (uint32_t x = 0; x < made.width; ++x) {
      const bool inside = x >= l.pasteX && x < l.pasteX + l.cropWidth && y >= l.pasteY && y < l.pasteY + l.cropHeight;
      for (int c = 0; c < 3; ++c) {
        const uint8_t expected =
            inside ? picture.Pixel(x - l.pasteX + l.cropX, y - l.pasteY + l.cropY)[c] : uint8_t{0xFF};
        ASSERT_EQ(made.Pixel(x, y)[c], expected) << picture.width << "x" << picture.height << " at " << x << "," << y;
      }
    }
  }
}

TEST(CameraPicture, MatchesThePerPixelModel) {
  std::mt19937 random(7);
  for (const auto &[w, h] : std::vector<std::pair<uint32_t, uint32_t>>{
           {1, 1}, {10, 40}, {31, 33}, {33, 31}, {100, 70}, {64, 65}, {97, 3}, {200, 150}}) {
    const Pixels24 picture = Random(w, h, random);
    ExpectModel(picture, MakeCameraPicture(picture));
  }
  for (int i = 0; i < 40; ++i) {
    const Pixels24 picture = Random(1 + random() % 150, 1 + random() % 150, random);
    ExpectModel(picture, MakeCameraPicture(picture));
  }
}

TEST(CameraPicture, MultiplesOf32StayAsTheyAre) {
  std::mt19937 random(3);
  const Pixels24 picture = Random(64, 32, random);
  const Pixels24 made = MakeCameraPicture(picture);
  EXPECT_EQ(made.data, picture.data);
  // Made pictures are camera pictures already.
  const Pixels24 once = MakeCameraPicture(Random(100, 70, random));
  EXPECT_EQ(MakeCameraPicture(once).data, once.data);
}

std::vector<uint8_t> Segment(uint8_t marker, const std::string &payload) {
  const size_t length = payload.size() + 2;
  std::vector<uint8_t> bytes = {0xFF, marker, uint8_t(length >> 8), uint8_t(length & 0xFF)};
  bytes.insert(bytes.end(), payload.begin(), payload.end());
  return bytes;
}

std::vector<uint8_t> Jpeg(std::initializer_list<std::vector<uint8_t>> segments) {
  std::vector<uint8_t> file = {0xFF, 0xD8};
  for (const auto &segment : segments) file.insert(file.end(), segment.begin(), segment.end());
  file.insert(file.end(), {0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9});
  return file;
}

TEST(CameraPicture, ExifJpegsAreTheCamerasOwn) {
  const std::string exif("Exif\0\0MM\0*", 10);
  EXPECT_TRUE(IsExifJpeg(Jpeg({Segment(0xE1, exif)})));
  EXPECT_TRUE(IsExifJpeg(Jpeg({Segment(0xE0, "JFIF"), Segment(0xE1, exif)})));
  EXPECT_FALSE(IsExifJpeg(Jpeg({Segment(0xE0, "JFIF")})));
  EXPECT_FALSE(IsExifJpeg(Jpeg({Segment(0xE1, "http://ns.adobe.com/xap/1.0/")})));
  std::vector<uint8_t> cut = Jpeg({Segment(0xE1, exif)});
  cut.resize(8);  // the segment claims more than there is
  EXPECT_FALSE(IsExifJpeg(cut));
  EXPECT_FALSE(IsExifJpeg(std::vector<uint8_t>{'B', 'M', 0, 0}));
  EXPECT_FALSE(IsExifJpeg({}));
}

}  // namespace
