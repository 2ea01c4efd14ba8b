#include <gtest/gtest.h>

#include "camera_path.h"

namespace {

std::string Normal(const std::string &text) {
  std::string path, error;
  EXPECT_TRUE(NormalizeCameraPath(text, path, error)) << text << ": " << error;
  return path;
}

TEST(CameraPath, NormalizesWhatUsersType) {
  EXPECT_EQ(Normal("1:"), "1:/");
  EXPECT_EQ(Normal("0:\\DCIM\\100LUMO01\\"), "0:/DCIM/100LUMO01/");
  EXPECT_EQ(Normal("2:/A.JPG"), "2:/A.JPG");
  std::string path, error;
  for (const char *bad : {"", "3:/", "0", "0:DCIM", "/DCIM/", "C:/x", "0:/DCIM//A.JPG"}) {
    EXPECT_FALSE(NormalizeCameraPath(bad, path, error)) << bad;
    EXPECT_FALSE(error.empty());
  }
  // 127 characters pass, 128 are refused.
  const std::string longest = "0:/" + std::string(124, 'A');
  EXPECT_EQ(Normal(longest), longest);
  EXPECT_FALSE(NormalizeCameraPath(longest + "B", path, error));
  EXPECT_NE(error.find("too long"), std::string::npos);
}

TEST(CameraPath, SplitsAndJoins) {
  EXPECT_EQ(ParentFolder("0:/DCIM/A.JPG"), "0:/DCIM/");
  EXPECT_EQ(ParentFolder("0:/DCIM/100LUMO01/"), "0:/DCIM/");
  EXPECT_EQ(ParentFolder("0:/DCIM"), "0:/");
  EXPECT_EQ(ParentFolder("0:/"), "0:/");
  EXPECT_EQ(LastName("0:/DCIM/100LUMO01/"), "100LUMO01");
  EXPECT_EQ(LastName("0:/DCIM/A.JPG"), "A.JPG");
  EXPECT_EQ(LastName("1:/"), "");
  EXPECT_EQ(JoinCameraPath("0:/DCIM", "A.JPG"), "0:/DCIM/A.JPG");
  EXPECT_EQ(JoinCameraPath("0:/DCIM/", "A.JPG"), "0:/DCIM/A.JPG");
  EXPECT_EQ(AsFolderPath("0:/DCIM"), "0:/DCIM/");
  EXPECT_EQ(WithoutClosingSlash("0:/DCIM/"), "0:/DCIM");
  EXPECT_EQ(WithoutClosingSlash("0:/"), "0:/");
  EXPECT_TRUE(IsDriveRoot("2:/"));
  EXPECT_FALSE(IsDriveRoot("2:/A/"));
  EXPECT_EQ(DriveOf("2:/A/"), 2);
  EXPECT_TRUE(HasWildcard("0:/DCIM/*.JPG"));
  EXPECT_TRUE(SameCameraName("lumo0001.jpg", "LUMO0001.JPG"));
  EXPECT_FALSE(SameCameraName("LUMO0001.JPG", "LUMO0001.JP"));
}

}  // namespace
