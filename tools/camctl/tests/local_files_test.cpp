#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "console_report.h"
#include "local_files.h"

namespace fs = std::filesystem;

namespace {

class LocalFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::UnitTest &run = *::testing::UnitTest::GetInstance();
    root_ = fs::temp_directory_path() /
            ("camctl-test-" + std::to_string(getpid()) + "-" + run.current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }
  std::string At(const std::string &name) const { return (root_ / name).string(); }
  fs::path root_;
};

TEST_F(LocalFiles, WritesAndReadsBackEveryByte) {
  std::vector<uint8_t> bytes(70000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  std::string error;
  ASSERT_TRUE(WriteLocalFile(At("a.bin"), bytes.data(), bytes.size(), error)) << error;
  std::vector<uint8_t> back;
  ASSERT_TRUE(ReadLocalFile(At("a.bin"), back, error)) << error;
  EXPECT_EQ(back, bytes);
  ASSERT_TRUE(WriteLocalFile(At("empty.bin"), nullptr, 0, error)) << error;
  ASSERT_TRUE(ReadLocalFile(At("empty.bin"), back, error));
  EXPECT_TRUE(back.empty());
}

TEST_F(LocalFiles, FailuresNameThePath) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_FALSE(ReadLocalFile(At("missing.bin"), bytes, error));
  EXPECT_NE(error.find("missing.bin"), std::string::npos);
  EXPECT_FALSE(WriteLocalFile(At("no/such/folder/x.bin"), bytes.data(), 0, error));
  EXPECT_NE(error.find("x.bin"), std::string::npos);
  fs::create_directories(root_ / "sub");
  EXPECT_FALSE(ReadLocalFile(At("sub"), bytes, error));
  std::FILE *blocker = std::fopen(At("file").c_str(), "wb");
  std::fclose(blocker);
  EXPECT_FALSE(CreateLocalFolder(At("file/inner"), error));
}

TEST_F(LocalFiles, TargetsAndFolders) {
  EXPECT_EQ(LocalTarget("", "A.JPG"), "A.JPG");
  EXPECT_EQ(LocalTarget(At("new.jpg"), "A.JPG"), At("new.jpg"));
  EXPECT_EQ(LocalTarget(root_.string(), "A.JPG"), (root_ / "A.JPG").string());
  EXPECT_EQ(LocalTarget("out/", "A.JPG"), "out/A.JPG");
  EXPECT_EQ(LocalName("pics/trip/"), "trip");
  EXPECT_EQ(LocalName("C:\\pics\\A.JPG"), "A.JPG");
  std::string error;
  ASSERT_TRUE(CreateLocalFolder(At("x/y"), error)) << error;
  ASSERT_TRUE(CreateLocalFolder(At("x/y"), error));  // an existing folder is fine
  ASSERT_TRUE(WriteLocalFile(At("x/b.txt"), nullptr, 0, error));
  ASSERT_TRUE(WriteLocalFile(At("x/a.txt"), nullptr, 0, error));
  std::vector<LocalEntry> entries;
  ASSERT_TRUE(ListLocalFolder(At("x"), entries, error)) << error;
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "a.txt");
  EXPECT_EQ(entries[2].name, "y");
  EXPECT_TRUE(entries[2].folder);
  EXPECT_FALSE(ListLocalFolder(At("none"), entries, error));
}

TEST_F(LocalFiles, ConfirmationNeedsAnExplicitYes) {
  auto ask = [&](const char *input) {
    std::FILE *in = std::tmpfile();
    std::fputs(input, in);
    std::rewind(in);
    std::FILE *out = std::tmpfile();
    const bool answer = AskYesNo("Format drive 1?", in, out);
    std::fclose(in);
    std::fclose(out);
    return answer;
  };
  EXPECT_TRUE(ask("y\n"));
  EXPECT_TRUE(ask("Yes\n"));
  EXPECT_FALSE(ask("n\n"));
  EXPECT_FALSE(ask("\n"));
  EXPECT_FALSE(ask(""));  // end of input
}

}  // namespace
