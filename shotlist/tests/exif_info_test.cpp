#include "exif_info.h"

#include <gtest/gtest.h>

#include "exif_segment.h"

namespace {

// A JPEG start with an APP0 segment before the Exif one, then the image data.
Bytes ExifJpeg(const Bytes &exifSegment) {
  Bytes file = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 'J', 'F'};
  file.insert(file.end(), exifSegment.begin(), exifSegment.end());
  file.insert(file.end(), {0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9});
  return file;
}

TEST(ReadExifInfo, FindsOrientationAndThumbnailInBothByteOrders) {
  const Bytes thumbnail = {0xFF, 0xD8, 1, 2, 3, 0xFF, 0xD9};
  for (bool little : {true, false}) {
    const Bytes file = ExifJpeg(ExifSegment(little, 6, thumbnail));
    const auto info = ReadExifInfo(file);
    ASSERT_TRUE(info) << little;
    EXPECT_EQ(info->orientation, 6);
    EXPECT_EQ(Bytes(info->thumbnail.begin(), info->thumbnail.end()), thumbnail);
  }
}

TEST(ReadExifInfo, ChecksEveryLengthAgainstTheData) {
  const Bytes lyingFile = ExifJpeg(ExifSegment(true, 1, {0xFF, 0xD9}, 1000));
  const auto lying = ReadExifInfo(lyingFile);
  ASSERT_TRUE(lying);
  EXPECT_TRUE(lying->thumbnail.empty());

  Bytes file = ExifJpeg(ExifSegment(false, 8, {0xFF, 0xD9}));
  for (size_t cut = 0; cut < file.size() - 6; ++cut) {  // every truncation before the image data
    EXPECT_FALSE(ReadExifInfo(Bytes(file.begin(), file.begin() + cut))) << cut;
  }
  file[10] = 0x00, file[11] = 0x01;  // segment length shorter than its own two bytes
  EXPECT_FALSE(ReadExifInfo(file));
  EXPECT_FALSE(ReadExifInfo(Bytes{0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02}));  // no Exif before the image data
}

}  // namespace
