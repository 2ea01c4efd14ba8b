#include "list_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "cp932_locale.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class ListFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("shotlist_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(folder_);
    context_.warn = [this](const std::string &text, const std::string &caption) {
      warnings_.push_back(caption + "|" + text);
    };
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string Write(const std::string &bytes, const std::string &name = "list.lst") {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
    return (folder_ / name).string();
  }
  std::string Contents(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::string Image(const std::string &name) { return folder_.string() + "/" + name; }

  fs::path folder_;
  ListContext context_{JapaneseLocale(), nullptr};
  Strings warnings_;
};

TEST_F(ListFileTest, WriterProducesExactBytesThatReadBack) {
  const std::string path = (folder_ / "trip.lst").string();
  const Strings cuts = {"Cut 1", "\r\n", "\xB6\xDE\xB1\xDE", std::string(13, 'C'), "Cut 1"};
  ASSERT_TRUE(WriteListFile(path, std::string(20, 'L'), cuts, context_.locale));
  const std::string title(16, 'L'), kana = "\x83\x4B\x83\x41\x81\x4A", cut(12, 'C');
  EXPECT_EQ(Contents(path), "[LIST TITLE]\r\ntitle=" + title + "\r\n[Cut 1]\r\n[" + kana + "]\r\n[" + cut +
                                "]\r\n[Cut 1]\r\n");
  EXPECT_EQ(ReadListTitle(path, context_), title);
  EXPECT_EQ(ReadCutTitles(path, context_), (Strings{"Cut 1", kana, cut, "Cut 1"}));
  EXPECT_EQ(CountCutTitles(path, context_), 4u);

  ASSERT_TRUE(WriteListFile(path, "\t", {}, context_.locale));
  EXPECT_EQ(Contents(path), "[LIST TITLE]\r\n");
  EXPECT_FALSE(WriteListFile((folder_ / "no" / "such.lst").string(), "T", {}, context_.locale));
}

// A link to /dev/full opens for writing, and every write through it fails.
TEST_F(ListFileTest, AFailedWriteIsReported) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "needs /dev/full";
  const fs::path full = folder_ / "FULL.lst";
  fs::create_symlink("/dev/full", full);
  EXPECT_FALSE(WriteListFile(full.string(), "T", {"Cut"}, context_.locale));
  const fs::path folder = folder_ / "DIR.lst";  // a folder of that name cannot be opened as a file
  fs::create_directory(folder);
  EXPECT_FALSE(WriteListFile(folder.string(), "T", {}, context_.locale));
  EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(ListFileTest, TitleNeedsHeaderOnFirstLineButCutsAreFoundAnywhere) {
  const std::string second = Write("[Early]\r\n[LIST TITLE]\r\ntitle=Late\r\n[Cut]\r\n");
  EXPECT_EQ(ReadListTitle(second, context_), "");
  EXPECT_EQ(ReadCutTitles(second, context_), (Strings{"Early", "Cut"}));
  const std::string mixedCase = Write("[List Title]\nTITLE= Spaced \n[a]b]c\n");
  EXPECT_EQ(ReadListTitle(mixedCase, context_), " Spaced ");
  EXPECT_EQ(ReadCutTitles(mixedCase, context_), (Strings{"a]b"}));
  const std::string missing = (folder_ / "missing.lst").string();
  EXPECT_EQ(ReadListTitle(missing, context_), "");
  EXPECT_EQ(CountCutTitles(missing, context_), 0u);
  EXPECT_EQ(ReadImagePaths(missing, "T", "C", context_), Strings{});
}

TEST_F(ListFileTest, CutLinesFollowTheBracketRules) {
  // "[" before a character whose trail byte is "]" has no closing bracket.
  const std::string path =
      Write("[LIST TITLE]\r\ntitle=T\r\n[Cut]trailing\r\n[]\r\n[Open\r\n [Indented]\r\n[\x83\x5D\r\nimage.jpg\r\n");
  EXPECT_EQ(ReadCutTitles(path, context_), (Strings{"Cut", ""}));
}

TEST_F(ListFileTest, BlankLinesChangeNothing) {
  const std::string plain = "[LIST TITLE]\r\ntitle=T\r\n[A]\r\nx.jpg\r\n[B]\r\n";
  const std::string blank = "\r\n[LIST TITLE]\n\r\r\ntitle=T\r\r\n\n\n[A]\r\n\r\n\rx.jpg\n\r\n\r[B]";
  for (const std::string &contents : {plain, blank}) {
    const std::string path = Write(contents);
    EXPECT_EQ(ReadListTitle(path, context_), "T");
    EXPECT_EQ(ReadCutTitles(path, context_), (Strings{"A", "B"}));
    EXPECT_EQ(ReadImagePaths(path, "T", "A", context_), (Strings{Image("x.jpg")}));
  }
}

TEST_F(ListFileTest, LineReaderCutsOverLongLinesWithOneWarningEach) {
  ListLineReader reader(context_.warn);
  ASSERT_TRUE(reader.Open(Write(std::string(2047, 'a') + "\r\n" + std::string(3000, 'b') + "\r\nend")));
  const std::vector<std::pair<unsigned, std::string>> expected = {
      {1, std::string(2047, 'a')}, {2, std::string(2047, 'b')}, {3, std::string(953, 'b')}, {4, "end"}, {0, ""}};
  std::string line;
  for (const auto &[number, text] : expected) {
    EXPECT_EQ(reader.ReadLine(line), number);
    EXPECT_EQ(line, text);
  }
  EXPECT_EQ(warnings_, (Strings{"Warning !|m_pBuffer overflow in line 1 (line length over 2048 chars)",
                                "Warning !|m_pBuffer overflow in line 2 (line length over 2048 chars)"}));
  ASSERT_TRUE(reader.Open(Write(std::string(2046, 'c') + "\n")));
  EXPECT_EQ(reader.ReadLine(line), 1u);
  EXPECT_EQ(line.size(), 2046u);
  EXPECT_EQ(warnings_.size(), 2u);
}

TEST_F(ListFileTest, LineReaderJoinsLinesAcrossBlocks) {
  std::string contents;
  Strings expected;
  for (int i = 0; i < 700; ++i) {
    expected.push_back(std::string(i % 37 + 1, char('a' + i % 26)));
    contents += expected.back() + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
  }
  expected.push_back("last");  // without terminator
  ListLineReader reader(context_.warn);
  ASSERT_TRUE(reader.Open(Write(contents + "last")));
  Strings lines;
  std::string line;
  for (unsigned number = 1; reader.ReadLine(line) == number; ++number) lines.push_back(line);
  EXPECT_EQ(lines, expected);
}

TEST_F(ListFileTest, ImagePathsComeFromTheRequestedCutOfTheMatchingList) {
  const std::string path = Write(
      "[LIST TITLE]\r\ntitle=Trip\r\n[Bridge]\r\n  IMG_1.JPG  \r\n\t# comment\r\nsub\\IMG_2.JPG\r\n"
      "[Tower]\r\nIMG_3.JPG\r\n[bridge]\r\nIMG_4.JPG\r\n[LIST TITLE]\r\nstray.jpg\r\n[Bridge]\r\nIMG_5.JPG\r\n");
  EXPECT_EQ(ReadImagePaths(path, "Trip", "Bridge", context_),
            (Strings{Image("IMG_1.JPG"), Image("sub\\IMG_2.JPG"), Image("IMG_4.JPG")}));
  EXPECT_EQ(ReadImagePaths(path, "TR\tIP", "Tower\r\n", context_), (Strings{Image("IMG_3.JPG")}));
  EXPECT_EQ(ReadImagePaths(path, "Other", "Bridge", context_), Strings{});

  const std::string kana = Write("[LIST TITLE]\r\ntitle=\x83\x4B\r\n[\x83\x41]\r\nk.jpg\r\n", "kana.lst");
  EXPECT_EQ(ReadImagePaths(kana, "\xB6\xDE", "\xB1", context_), (Strings{Image("k.jpg")}));
  EXPECT_EQ(ReadImagePaths(kana, "\xB6\xDE", "\x83\x61", context_), Strings{});
}

TEST(MakeImagePath, JoinsTheListFolderWithTheImageLine) {
  EXPECT_EQ(MakeImagePath("E:\\DCIM\\trip.lst", "IMG_1.JPG", JapaneseLocale()), "E:\\DCIM\\IMG_1.JPG");
  EXPECT_EQ(MakeImagePath("E:trip.lst", "..\\IMG_1.JPG", JapaneseLocale()), "E:..\\IMG_1.JPG");
}

}  // namespace
