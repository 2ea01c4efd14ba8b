#include "picture_size.h"

#include <gtest/gtest.h>

#include "cp932_locale.h"

namespace {

TEST(PictureSizeRules, TargetSizeFollowsTheRequestedSides) {
  EXPECT_EQ(TargetSize({0, 0}, {1280, 960}), (PictureSize{640, 480}));
  EXPECT_EQ(TargetSize({0, 0}, {600, 400}), (PictureSize{600, 400}));
  EXPECT_EQ(TargetSize({0, 0}, {1000, 333}), (PictureSize{640, 213}));
  EXPECT_EQ(TargetSize({200, 0}, {1280, 960}), (PictureSize{200, 150}));
  EXPECT_EQ(TargetSize({0, 200}, {960, 1280}), (PictureSize{150, 200}));
  EXPECT_EQ(TargetSize({300, 100}, {1280, 960}), (PictureSize{300, 100}));
}

TEST(PictureSizeRules, FitSizeKeepsProportionsAndNeverEnlarges) {
  EXPECT_EQ(FitSize({1280, 960}, {2000, 2000}), (PictureSize{1280, 960}));
  EXPECT_EQ(FitSize({1280, 960}, {200, 200}), (PictureSize{200, 150}));
  EXPECT_EQ(FitSize({1280, 960}, {0, 96}), (PictureSize{128, 96}));
  EXPECT_EQ(FitSize({10000, 10}, {100, 76}), (PictureSize{100, 1}));  // truncated, at least 1
}

TEST(PictureSizeRules, DecodeScaleIsTheSmallestThatCoversTheTarget) {
  EXPECT_EQ(DecodeScale({1280, 960}, {160, 120}), 1);
  EXPECT_EQ(DecodeScale({1280, 960}, {200, 150}), 2);
  EXPECT_EQ(DecodeScale({1280, 960}, {640, 480}), 8);
}

TEST(PictureSizeRules, OrientationsAndJpegNames) {
  const int angles[] = {0, 0, 0, 180, 180, 90, 90, 270, 270, 0};
  for (int orientation = 0; orientation <= 9; ++orientation) EXPECT_EQ(TurnAngle(orientation), angles[orientation]);
  const TextLocale locale = JapaneseLocale();
  for (const char *path : {"C:\\a\\b.JPG", "b.jpe", "C:\\x.y\\b.Jpeg"}) EXPECT_TRUE(HasJpegExtension(path, locale));
  for (const char *path : {"b.png", "b.jpgx", "C:\\x.jpg\\b"}) EXPECT_FALSE(HasJpegExtension(path, locale));
}

}  // namespace
