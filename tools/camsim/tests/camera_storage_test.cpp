#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "camera_storage.h"
#include "sample_card.h"

namespace fs = std::filesystem;

class StorageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(card_.Create(options_, error)) << error;
    storage_.emplace(options_);
  }
  std::vector<std::string> Names(const std::string &path, uint8_t kind) {
    std::vector<zltp::WireEntry> entries;
    EXPECT_EQ(storage_->List(path, kind, entries), status::kOk);
    std::vector<std::string> names;
    for (const auto &entry : entries) names.push_back(entry.name);
    return names;
  }

  ServeOptions options_;
  SampleCard card_;
  std::optional<CameraStorage> storage_;
};

TEST_F(StorageTest, SampleCardHasTwoDrivesWithPictures) {
  EXPECT_TRUE(storage_->Present(0));
  EXPECT_TRUE(storage_->Present(1));
  EXPECT_FALSE(storage_->Present(2));
  EXPECT_EQ(Names("1:/DCIM/", zltp::kListDirectories), (std::vector<std::string>{"100LUMO01", "101LUMO01"}));
  EXPECT_EQ(Names("0:/DCIM/100LUMO01/*.JPG", zltp::kListFiles),
            (std::vector<std::string>{"LUMO0001.JPG", "LUMO0002.JPG"}));
  std::vector<zltp::WireEntry> memo;
  ASSERT_EQ(storage_->List("0:/DCIM/100LUMO01/MEMO.TXT", zltp::kListFiles, memo), status::kOk);
  EXPECT_EQ(memo[0].year, 1999);
  EXPECT_EQ(memo[0].second, 59);
}

TEST_F(StorageTest, PathsAreCheckedBeforeTouchingTheHost) {
  std::vector<zltp::WireEntry> entries;
  EXPECT_EQ(storage_->List("0:/../", zltp::kListAll, entries), status::kBadParameter);
  EXPECT_EQ(storage_->List("0:/DCIM/ABCDEFGHIJKLM/", zltp::kListAll, entries), status::kNameTooLong);
  EXPECT_EQ(storage_->List("2:/", zltp::kListAll, entries), status::kNotFound);
  EXPECT_EQ(storage_->List("C:/", zltp::kListAll, entries), status::kBadParameter);
  EXPECT_EQ(storage_->List("0:/" + std::string(130, 'a'), zltp::kListAll, entries), status::kNameTooLong);
  EXPECT_EQ(storage_->Rename("0:/DCIM/100LUMO01/MEMO.TXT", "..", false), status::kBadParameter);
}

TEST_F(StorageTest, DirectoriesCannotGoIntoThemselves) {
  EXPECT_EQ(storage_->CopyOrMove("0:/DCIM/", "0:/DCIM/100LUMO01/", false, true), status::kTooDeep);
  EXPECT_EQ(storage_->CopyOrMove("0:/DCIM/100LUMO01/", "0:/DCIM/101LUMO01/", true, true), status::kOk);
  EXPECT_EQ(Names("0:/DCIM/101LUMO01/", zltp::kListDirectories), std::vector<std::string>{"100LUMO01"});
}

TEST_F(StorageTest, ReadOnlyEntriesRefuseErasure) {
  ASSERT_EQ(storage_->SetAttribute("0:/DCIM/100LUMO01/LUMO0002.JPG", kAttrReadOnly), status::kOk);
  uint16_t count = 0;
  EXPECT_EQ(storage_->EraseFiles("0:/DCIM/100LUMO01/*", 1, true, count), status::kOk);
  EXPECT_EQ(count, 3);  // the first step only counts
  EXPECT_EQ(storage_->EraseFiles("0:/DCIM/100LUMO01/*", 1, false, count), status::kRefused);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(Names("0:/DCIM/100LUMO01/", zltp::kListFiles), (std::vector<std::string>{"LUMO0002.JPG", "MEMO.TXT"}));

  ASSERT_EQ(storage_->SetAttribute("0:/DCIM/101LUMO01/", kAttrReadOnly), status::kOk);
  EXPECT_EQ(storage_->EraseFiles("0:/DCIM/101LUMO01/*", 1, false, count), status::kOk);
  EXPECT_EQ(storage_->CheckEraseDirectory("0:/DCIM/101LUMO01/"), status::kRefused);
  EXPECT_EQ(storage_->CheckEraseDirectory("0:/DCIM/100LUMO01/"), status::kNotEmpty);
  EXPECT_EQ(storage_->CheckEraseDirectory("0:/"), status::kRefused);
}

TEST_F(StorageTest, WritesHonourTheOverwriteFlagAndFreeSpace) {
  EXPECT_EQ(storage_->CheckWrite("0:/DCIM/100LUMO01/MEMO.TXT", 0), status::kExists);
  EXPECT_EQ(storage_->CheckWrite("0:/DCIM/100LUMO01/MEMO.TXT", 1), status::kOk);
  EXPECT_EQ(storage_->CheckWrite("0:/NOWHERE/A.TXT", 0), status::kNotFound);
  EXPECT_EQ(storage_->WriteFile("0:/DCIM/NEW.TXT", {'h', 'i'}), status::kOk);
  std::vector<uint8_t> back;
  EXPECT_EQ(storage_->ReadFile("0:/DCIM/NEW.TXT", back), status::kOk);
  EXPECT_EQ(back, (std::vector<uint8_t>{'h', 'i'}));
  // A file is written whole under its name, with nothing left beside it.
  EXPECT_EQ(storage_->WriteFile("0:/DCIM/NEW.TXT", {'n', 'e', 'w'}), status::kOk);
  EXPECT_EQ(storage_->ReadFile("0:/DCIM/NEW.TXT", back), status::kOk);
  EXPECT_EQ(back, (std::vector<uint8_t>{'n', 'e', 'w'}));
  EXPECT_EQ(Names("0:/DCIM/", zltp::kListAll), (std::vector<std::string>{"100LUMO01", "101LUMO01", "NEW.TXT"}));
  EXPECT_EQ(storage_->ReadFile("0:/DCIM/", back), status::kNotTransferable);
}

TEST_F(StorageTest, ErasingFilesByADirectoryPathErasesNothing) {
  // Files of the same names as the directory's own, beside the directory.
  const fs::path parent = fs::path(options_.driveFolders[0]) / "DCIM";
  fs::copy_file(parent / "100LUMO01" / "LUMO0001.JPG", parent / "LUMO0001.JPG");
  fs::copy_file(parent / "100LUMO01" / "MEMO.TXT", parent / "MEMO.TXT");
  uint16_t count = 7;
  EXPECT_EQ(storage_->EraseFiles("0:/DCIM/100LUMO01", 1, false, count), status::kNotFound);
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(fs::exists(parent / "LUMO0001.JPG"));
  EXPECT_TRUE(fs::exists(parent / "MEMO.TXT"));
  EXPECT_EQ(Names("0:/DCIM/100LUMO01/", zltp::kListFiles),
            (std::vector<std::string>{"LUMO0001.JPG", "LUMO0002.JPG", "MEMO.TXT"}));
  // A file and a pattern are still erased.
  EXPECT_EQ(storage_->EraseFiles("0:/DCIM/MEMO.TXT", 1, false, count), status::kOk);
  EXPECT_EQ(count, 1);
  EXPECT_FALSE(fs::exists(parent / "MEMO.TXT"));
}
