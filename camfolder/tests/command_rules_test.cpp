// The decisions of the camera commands that need no camera: new folder
// names, what a configuration file must begin with, and how a protected
// entry is named.
#include <gtest/gtest.h>

#include <cstdio>

#include <string>
#include <vector>

#include "core/command_rules.h"

namespace {

std::vector<uint8_t> Bytes(const std::string &text) { return std::vector<uint8_t>(text.begin(), text.end()); }

TEST(NewFolderName, TakesTheLowestFreeNumber) {
  EXPECT_EQ(NewFolderName({}), "NEW00001");
  EXPECT_EQ(NewFolderName({"NEW00001", "NEW00003"}), "NEW00002");
  EXPECT_EQ(NewFolderName({"NEW00001", "NEW00002"}), "NEW00003");
  // In whatever order the camera lists them, whatever their case, beside
  // names that only look alike.
  EXPECT_EQ(NewFolderName({"new00002", "DCIM", "NEW", "NEW0001", "NEW000010", "New00001"}), "NEW00003");
}

TEST(NewFolderName, NoneWhenEveryNumberIsTaken) {
  std::vector<std::string> all;
  for (int number = 1; number <= 99999; ++number) {
    char name[16];
    std::snprintf(name, sizeof name, "NEW%05d", number);
    all.emplace_back(name);
  }
  EXPECT_EQ(NewFolderName(all), std::nullopt);
  all.erase(all.begin() + 41);
  EXPECT_EQ(NewFolderName(all), "NEW00042");
}

TEST(CameraConfiguration, BeginsWithAModelNameAndItsTerminator) {
  EXPECT_TRUE(IsCameraConfiguration(Bytes(std::string("K20\0x", 5)), "K20", "K10"));
  EXPECT_TRUE(IsCameraConfiguration(Bytes(std::string("K10\0\xff\xfe", 6)), "K20", "K10"));
  // Too short, another name, a name running on, text files.
  EXPECT_FALSE(IsCameraConfiguration(Bytes(std::string("K20\0", 4)), "K20", "K10"));
  EXPECT_FALSE(IsCameraConfiguration(Bytes(std::string("K30\0xx", 6)), "K20", "K10"));
  EXPECT_FALSE(IsCameraConfiguration(Bytes("K200 settings"), "K20", "K10"));
  EXPECT_FALSE(IsCameraConfiguration(Bytes("[ZL1]\r\nLanguage=0\r\n"), "K20", "K10"));
  EXPECT_FALSE(IsCameraConfiguration({}, "K20", "K10"));
}

TEST(ProtectedEntryText, TheTextAfterTheNextToLastSlash) {
  EXPECT_EQ(ProtectedEntryText("0:/A/R.TXT"), "A/R.TXT");
  EXPECT_EQ(ProtectedEntryText("0:/A/SUB/"), "SUB/");
  EXPECT_EQ(ProtectedEntryText("0:/A/"), "A/");
  EXPECT_EQ(ProtectedEntryText("0:/"), "0:/");
  EXPECT_EQ(ProtectedEntryText(""), "");
}

}  // namespace
