#include <gtest/gtest.h>

#include "exif_thumbnail.h"
#include "sample_images.h"

TEST(ExifThumbnail, WrittenThumbnailIsFoundAgain) {
  const auto picture = WithExifThumbnail(kPictureA, kThumbnailA);
  EXPECT_EQ(picture.size(), kPictureA.size() + kThumbnailA.size() + 2 + 2 + 6 + 56);
  EXPECT_EQ(picture[2], 0xFF);
  EXPECT_EQ(picture[3], 0xE1);
  std::vector<uint8_t> thumbnail;
  ASSERT_TRUE(ExtractExifThumbnail(picture, thumbnail));
  EXPECT_EQ(thumbnail, kThumbnailA);
}

TEST(ExifThumbnail, PicturesWithoutOrWithBrokenExifHaveNone) {
  std::vector<uint8_t> thumbnail;
  EXPECT_FALSE(ExtractExifThumbnail(kPictureB, thumbnail));
  EXPECT_FALSE(ExtractExifThumbnail({0xFF, 0xD8}, thumbnail));
  EXPECT_FALSE(ExtractExifThumbnail({'n', 'o'}, thumbnail));
  const auto picture = WithExifThumbnail(kPictureB, kThumbnailB);
  // Every truncation is refused or still yields a thumbnail inside the data.
  for (size_t cut = 0; cut < 120; ++cut) {
    std::vector<uint8_t> truncated(picture.begin(), picture.begin() + cut);
    if (ExtractExifThumbnail(truncated, thumbnail)) {
      EXPECT_LE(thumbnail.size(), truncated.size());
    }
  }
  // An IFD offset far outside the segment is refused.
  auto broken = picture;
  broken[12 + 7] = 0xF0;  // high byte of the IFD0 offset
  EXPECT_FALSE(ExtractExifThumbnail(broken, thumbnail));
}
