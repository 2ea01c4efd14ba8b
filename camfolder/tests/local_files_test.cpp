// The local side of the camera folder: whole files in and out of movable
// memory, and the removal of a local folder tree.
#include <gtest/gtest.h>

#include <string>

#include "items/working_folder.h"
#include "unix_paths.h"
#include "win_raii.h"

using namespace camfolder;

namespace {

class LocalFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "lumo-local-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(GetTickCount());
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
  }
  void TearDown() override { RemoveFolderTree(folder_.c_str()); }
  std::string Path(const std::string &name) const { return folder_ + "\\" + name; }

  std::string folder_;
};

std::string Contents(const unique_hglobal &block, DWORD size) {
  const global_lock bytes(block.get());
  return std::string(static_cast<const char *>(bytes.get()), size);
}

TEST_F(LocalFiles, WholeFilesInAndOut) {
  std::string bytes(70000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + (i >> 9));
  ASSERT_EQ(SaveLocalFile(Path("a.bin").c_str(), bytes.data(), static_cast<DWORD>(bytes.size())), S_OK);
  unique_hglobal block;
  DWORD size = 0;
  ASSERT_EQ(LoadLocalFile(Path("a.bin").c_str(), block, size), S_OK);
  ASSERT_EQ(size, bytes.size());
  EXPECT_EQ(Contents(block, size), bytes);
  EXPECT_EQ(GlobalFlags(block.get()) & GMEM_DISCARDED, 0u);

  // Saving again truncates; an empty file gives no block at all.
  ASSERT_EQ(SaveLocalFile(Path("a.bin").c_str(), "", 0), S_OK);
  ASSERT_EQ(LoadLocalFile(Path("a.bin").c_str(), block, size), S_OK);
  EXPECT_EQ(size, 0u);
  EXPECT_FALSE(block);

  EXPECT_EQ(LoadLocalFile(Path("missing.bin").c_str(), block, size), E_UNEXPECTED);
  EXPECT_EQ(LoadLocalFile(folder_.c_str(), block, size), E_UNEXPECTED);
  EXPECT_EQ(SaveLocalFile(Path("no\\such\\folder.bin").c_str(), "x", 1), STG_E_WRITEFAULT);
}

// A backup replaces the old one only when it is whole: a failure keeps the
// old file and leaves nothing beside it.
TEST_F(LocalFiles, AFileIsReplacedOnlyWhenWhollyWritten) {
  const std::string backup = Path("K20.bak");
  ASSERT_EQ(SaveLocalFile(backup.c_str(), "old settings", 12), S_OK);
  ASSERT_EQ(ReplaceLocalFile(backup.c_str(), "new settings!", 13), S_OK);
  EXPECT_EQ(ReadFileBytes(backup), "new settings!");
  EXPECT_EQ(ReplaceLocalFile(Path("missing\\K20.bak").c_str(), "x", 1), STG_E_WRITEFAULT);
  const std::string deep = folder_ + "\\" + std::string(250 - folder_.size(), 'd') + "\\K20.bak";
  EXPECT_EQ(ReplaceLocalFile(deep.c_str(), "x", 1), STG_E_WRITEFAULT);

  // Held open by another program without sharing its deletion: not replaced.
  const unique_file held(CreateFileA(backup.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  EXPECT_EQ(ReplaceLocalFile(backup.c_str(), "newer", 5), STG_E_WRITEFAULT);
  EXPECT_EQ(ReadFileBytes(backup), "new settings!");
  WIN32_FIND_DATAA entry;
  const unique_find find(FindFirstFileA(Path("*").c_str(), &entry));
  int files = 0;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
  } while (FindNextFileA(find.get(), &entry));
  EXPECT_EQ(files, 1);  // no temporary file left
}

TEST_F(LocalFiles, FolderTreesAreRemovedOnlyByFullPath) {
  EXPECT_EQ(RemoveFolderTree(nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  for (const char *bad : {"", "C:", "C:\\", "relative\\path", "\\\\server\\share\\x", "1:\\x"})
    EXPECT_EQ(RemoveFolderTree(bad), static_cast<DWORD>(ERROR_BAD_PATHNAME)) << bad;

  const std::string tree = Path("tree");
  ASSERT_TRUE(CreateDirectoryA(tree.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((tree + "\\sub").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((tree + "\\sub\\deeper").c_str(), nullptr));
  ASSERT_EQ(SaveLocalFile((tree + "\\one.txt").c_str(), "1", 1), S_OK);
  ASSERT_EQ(SaveLocalFile((tree + "\\sub\\deeper\\two.txt").c_str(), "2", 1), S_OK);
  ASSERT_TRUE(SetFileAttributesA((tree + "\\one.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(RemoveFolderTree((tree + "\\").c_str()), static_cast<DWORD>(ERROR_SUCCESS));  // trailing "\" dropped
  EXPECT_EQ(GetFileAttributesA(tree.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesA(folder_.c_str()), INVALID_FILE_ATTRIBUTES);  // only the tree itself
}

}  // namespace
