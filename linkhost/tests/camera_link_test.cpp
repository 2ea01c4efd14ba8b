// Every camera file operation against the simulator's sample card.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <regex>

#include "link_fixture.h"

using namespace zltp;

namespace {

const std::string kFolder = "0:/DCIM/100LUMO01/";
const std::string kMemo = "0:/DCIM/100LUMO01/MEMO.TXT";

// Maps a result handle handed to this process and copies its records.
template <typename Record>
std::vector<Record> Records(uint32_t mapping, uint32_t count) {
  std::vector<Record> records(count);
  if (count == 0) return records;
  HANDLE handle = LongToHandle(static_cast<LONG>(mapping));
  void *view = MapViewOfFile(handle, FILE_MAP_READ, 0, 0, 0);
  EXPECT_NE(view, nullptr);
  if (view) {
    std::memcpy(records.data(), view, count * sizeof(Record));
    UnmapViewOfFile(view);
  }
  CloseHandle(handle);
  return records;
}

std::vector<std::string> Names(const std::vector<tagZLXFILEINFO> &entries) {
  std::vector<std::string> names;
  for (const auto &entry : entries) names.emplace_back(entry.name);
  return names;
}

}  // namespace

class CameraLinkTest : public LinkTest {
 protected:
  std::vector<std::string> List(const std::string &path, uint8_t kind = kListAll) {
    std::vector<tagZLXFILEINFO> entries;
    EXPECT_EQ(link_.List(T(path), kind, entries), 0u) << path;
    return Names(entries);
  }
  uint32_t Attribute(const std::string &folder, const std::string &name) {
    std::vector<tagZLXFILEINFO> entries;
    link_.List(T(folder), kListAll, entries);
    for (const auto &entry : entries)
      if (name == entry.name) return entry.attributes;
    return 0xFFFFFFFF;
  }
};

TEST_F(CameraLinkTest, DriveListCapacityAndFreeSpace) {
  Open({"--capacity", "0=8000000", "--free", "0=2500000"});
  uint8_t count = 0;
  uint32_t mapping = 0;
  ASSERT_EQ(link_.GetDriveList(GetCurrentProcessId(), count, mapping), 0u);
  ASSERT_EQ(count, 3);
  const auto drives = Records<tagZLXDRIVELISTENTRY>(mapping, count);
  EXPECT_EQ(drives[0].number, 0u);
  EXPECT_STREQ(drives[0].name, "Internal");
  EXPECT_EQ(drives[0].present, 1u);
  EXPECT_EQ(drives[1].present, 1u);
  EXPECT_EQ(drives[2].number, 2u);
  EXPECT_EQ(drives[2].present, 0u);

  uint32_t value = 0;
  EXPECT_EQ(link_.GetDriveCapacity(0, value), 0u);
  EXPECT_EQ(value, 8000000u);
  EXPECT_EQ(link_.GetDriveFree(0, value), 0u);
  EXPECT_EQ(value, 2500000u);
  EXPECT_EQ(ZlxCode(link_.GetDriveFree(2, value)), ZLX_E_DRIVE_ACCESS);
}

TEST_F(CameraLinkTest, DirectoryListOfEveryKind) {
  Open();
  uint32_t count = 0, mapping = 0;
  ASSERT_EQ(link_.GetDirectoryList(GetCurrentProcessId(), T(kFolder), kListAll, count, mapping), 0u);
  ASSERT_EQ(count, 3u);
  const auto entries = Records<tagZLXFILEINFO>(mapping, count);
  EXPECT_EQ(Names(entries), (std::vector<std::string>{"LUMO0001.JPG", "LUMO0002.JPG", "MEMO.TXT"}));
  EXPECT_GT(entries[0].size, 2000u);

  EXPECT_EQ(List("0:/DCIM/", kListDirectories), (std::vector<std::string>{"100LUMO01", "101LUMO01"}));
  EXPECT_TRUE(List("0:/DCIM/", kListFiles).empty());
  EXPECT_EQ(List("0:/DCIM/100LUMO01/", kListSelf), std::vector<std::string>{"100LUMO01"});

  ASSERT_EQ(link_.MakeDirectory(T("0:/DCIM"), T("EMPTY")), 0u);
  count = 7;
  mapping = 7;
  EXPECT_EQ(link_.GetDirectoryList(GetCurrentProcessId(), T("0:/DCIM/EMPTY/"), kListAll, count, mapping), 0u);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(mapping, 0u);
  EXPECT_EQ(ZlxCode(link_.GetDirectoryList(GetCurrentProcessId(), T("0:/NOWHERE/"), kListAll, count, mapping)),
            ZLX_E_NOT_FOUND);
}

TEST_F(CameraLinkTest, ListingSplitOverSeveralPacketsKeepsTheOrder) {
  Open({"--max-packet", "64"});
  EXPECT_EQ(List(kFolder), (std::vector<std::string>{"LUMO0001.JPG", "LUMO0002.JPG", "MEMO.TXT"}));
  EXPECT_NE(camsim_.Log().find("3 entries in 3 packets"), std::string::npos);
}

TEST_F(CameraLinkTest, MalformedListingEntriesEndTheListing) {
  for (const char *fault : {"bad-entry", "entry-past-end"}) {
    Open({"--fault", fault, "--max-packet", "64"});
    std::vector<tagZLXFILEINFO> entries;
    EXPECT_EQ(ZlxCode(link_.List(T(kFolder), kListAll, entries)), 0xFFFF) << fault;
    EXPECT_TRUE(entries.empty());
    uint32_t value = 0;
    EXPECT_EQ(link_.GetDriveCapacity(0, value), 0u) << fault;  // the rest was drained
    TearDown();
  }
}

TEST_F(CameraLinkTest, FileInformationWithTheCenturyEnd) {
  Open();
  tagZLXFILEINFO info{};
  ASSERT_EQ(link_.GetFileInfo(T(kMemo), info), 0u);
  EXPECT_STREQ(info.name, kMemo.c_str());
  EXPECT_EQ(info.time.year, 99);
  EXPECT_EQ(info.time.mon, 11);
  EXPECT_EQ(info.time.mday, 31);
  EXPECT_EQ(info.time.hour, 23);
  EXPECT_EQ(info.time.min, 59);
  EXPECT_EQ(info.time.sec, 59);
  EXPECT_EQ(info.time.yday, 364);
  EXPECT_EQ(info.time.wday, 5);
  // A folder of several files, and one without files, are not one entry.
  EXPECT_EQ(ZlxCode(link_.GetFileInfo(T(kFolder), info)), 0xFFFF);
  EXPECT_EQ(ZlxCode(link_.GetFileInfo(T("0:/DCIM/"), info)), 0xFFFF);
}

TEST_F(CameraLinkTest, DirectoryInformationCountsAndSums) {
  Open();
  std::vector<tagZLXFILEINFO> files;
  ASSERT_EQ(link_.List(T(kFolder), kListFiles, files), 0u);
  uint32_t total = 0;
  for (const auto &file : files) total += file.size;
  tagZLXDIRINFO info{};
  ASSERT_EQ(link_.GetDirectoryInfo(T(kFolder), info), 0u);
  EXPECT_STREQ(info.path, kFolder.c_str());
  EXPECT_EQ(info.attributes & ZLX_ATTR_DIRECTORY, ZLX_ATTR_DIRECTORY);
  EXPECT_EQ(info.subdirectories, 0u);
  EXPECT_EQ(info.files, 3u);
  EXPECT_EQ(info.totalFileSize, total);
  ASSERT_EQ(link_.GetDirectoryInfo(T("0:/DCIM/"), info), 0u);
  EXPECT_EQ(info.subdirectories, 2u);
  EXPECT_EQ(info.files, 0u);
}

TEST_F(CameraLinkTest, CreateRenameCopyMoveDirectories) {
  Open();
  EXPECT_EQ(link_.MakeDirectory(T("0:/DCIM/"), T("102LUMO01")), 0u);
  EXPECT_EQ(ZlxCode(link_.MakeDirectory(T("0:/DCIM"), T("102LUMO01/"))), ZLX_E_NAME_EXISTS);
  EXPECT_EQ(link_.MakeDirectory(T("0:/DCIM"), T("1234567890123")), ZLX_E_INVALID_PARAMETER);
  EXPECT_EQ(link_.MakeDirectory(T("0:/" + std::string(124, 'P')), T("AB")), ZLX_E_INVALID_PARAMETER);

  EXPECT_EQ(link_.RenameDirectory(T("0:/DCIM/102LUMO01/"), T("103LUMO01"), 0), 0u);
  EXPECT_EQ(link_.RenameDirectory(T("0:/DCIM/103LUMO01/"), T("1234567890123"), 0), ZLX_E_INVALID_PARAMETER);
  EXPECT_EQ(camsim_.Log().find("1234567890123"), std::string::npos);  // nothing was sent
  EXPECT_EQ(ZlxCode(link_.RenameDirectory(T("0:/DCIM/NONE/"), T("X"), 0)), ZLX_E_NOT_FOUND);

  EXPECT_EQ(link_.CopyOrMoveDirectory(false, T("0:/DCIM/100LUMO01/"), T("0:/DCIM/103LUMO01/"), 0), 0u);
  EXPECT_EQ(List("0:/DCIM/103LUMO01/100LUMO01/").size(), 3u);
  EXPECT_EQ(link_.CopyOrMoveDirectory(true, T("0:/DCIM/103LUMO01/"), T("1:/DCIM/"), 0), 0u);
  EXPECT_EQ(List("0:/DCIM/", kListDirectories), (std::vector<std::string>{"100LUMO01", "101LUMO01"}));
  EXPECT_EQ(List("1:/DCIM/103LUMO01/100LUMO01/").size(), 3u);
  EXPECT_EQ(link_.CopyOrMoveDirectory(false, T("0:/DCIM/"), T(std::string(128, 'x')), 0), ZLX_E_INVALID_PARAMETER);
}

TEST_F(CameraLinkTest, FilesRenameCopyMoveAttributesAndErase) {
  Open();
  EXPECT_EQ(link_.RenameFile(T(kMemo), T("NOTE.TXT"), 0), 0u);
  EXPECT_EQ(link_.RenameFile(T("0:/DCIM/100LUMO01/NOTE.TXT"), T("ABCDEFGH.TXTX"), 0), ZLX_E_INVALID_PARAMETER);
  EXPECT_EQ(link_.CopyOrMoveFile(false, T("0:/DCIM/100LUMO01/NOTE.TXT"), T("0:/DCIM/101LUMO01/"), 0), 0u);
  EXPECT_EQ(link_.CopyOrMoveFile(true, T("0:/DCIM/100LUMO01/LUMO0002.JPG"), T("1:/DCIM/"), 0), 0u);
  EXPECT_EQ(ZlxCode(link_.CopyOrMoveFile(false, T("0:/DCIM/100LUMO01/NOTE.TXT"), T("0:/DCIM/101LUMO01/"), 0)),
            ZLX_E_NAME_EXISTS);
  EXPECT_EQ(List(kFolder), (std::vector<std::string>{"LUMO0001.JPG", "NOTE.TXT"}));
  EXPECT_EQ(List("1:/DCIM/", kListFiles), std::vector<std::string>{"LUMO0002.JPG"});

  EXPECT_EQ(link_.SetAttribute(T("0:/DCIM/100LUMO01/NOTE.TXT"), 0x01), 0u);
  EXPECT_EQ(Attribute(kFolder, "NOTE.TXT"), 0x01u);
  EXPECT_EQ(link_.SetAttribute(T("0:/DCIM/101LUMO01/"), 0x02), 0u);
  EXPECT_EQ(Attribute("0:/DCIM/", "101LUMO01"), 0x12u);

  uint16_t count = 0;
  EXPECT_EQ(ZlxCode(link_.EraseFile(T("0:/DCIM/100LUMO01/*"), 1, &count)), ZLX_E_REFUSED);
  EXPECT_EQ(count, 1u);  // the picture went, the read-only note stayed
  EXPECT_EQ(List(kFolder), std::vector<std::string>{"NOTE.TXT"});
  EXPECT_EQ(link_.EraseFile(T("0:/DCIM/100LUMO01/*"), 2, &count), 0u);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(ZlxCode(link_.EraseFile(T("0:/DCIM/100LUMO01/*.JPG"), 1, &count)), ZLX_E_NOT_FOUND);
  EXPECT_EQ(link_.EraseFile(T(std::string(128, 'x')), 1), ZLX_E_INVALID_PARAMETER);
}

TEST_F(CameraLinkTest, ErasingATreeGoesDepthFirstWithTheParentLast) {
  Open();
  ASSERT_EQ(link_.MakeDirectory(T("0:/DCIM/100LUMO01/"), T("SUB")), 0u);
  ASSERT_EQ(link_.MakeDirectory(T("0:/DCIM/100LUMO01/SUB/"), T("DEEP")), 0u);
  ASSERT_EQ(link_.CopyOrMoveFile(false, T(kMemo), T("0:/DCIM/100LUMO01/SUB/DEEP/"), 0), 0u);
  char stoppedAt[128] = "untouched";
  uint32_t count = 77;
  ASSERT_EQ(link_.EraseDirectory(T("0:/DCIM/100LUMO01/"), 0, stoppedAt, count), 0u);
  EXPECT_STREQ(stoppedAt, "untouched");
  EXPECT_EQ(count, 77u);
  EXPECT_EQ(List("0:/DCIM/", kListDirectories), std::vector<std::string>{"101LUMO01"});

  // The second steps of the directory erasures, in the order the camera saw them.
  const std::string log = camsim_.Log();
  std::regex removal("op 81010000 len +[0-9]+ (\\S+) -> ok");
  std::vector<std::string> removed;
  for (std::sregex_iterator it(log.begin(), log.end(), removal), end; it != end; ++it) removed.push_back((*it)[1]);
  EXPECT_EQ(removed, (std::vector<std::string>{"0:/DCIM/100LUMO01/SUB/DEEP/", "0:/DCIM/100LUMO01/SUB/",
                                               "0:/DCIM/100LUMO01/"}));
}

TEST_F(CameraLinkTest, ErasingStopsAtAReadOnlyEntryAndReportsThePath) {
  Open();
  ASSERT_EQ(link_.MakeDirectory(T("0:/DCIM/100LUMO01/"), T("SUB")), 0u);
  ASSERT_EQ(link_.CopyOrMoveFile(false, T(kMemo), T("0:/DCIM/100LUMO01/SUB/"), 0), 0u);
  ASSERT_EQ(link_.CopyOrMoveFile(false, T("0:/DCIM/100LUMO01/LUMO0001.JPG"), T("0:/DCIM/100LUMO01/SUB/"), 0), 0u);
  ASSERT_EQ(link_.SetAttribute(T("0:/DCIM/100LUMO01/SUB/MEMO.TXT"), 0x01), 0u);
  char stoppedAt[128] = {};
  uint32_t count = 0;
  EXPECT_EQ(ZlxCode(link_.EraseDirectory(T("0:/DCIM/100LUMO01"), 0, stoppedAt, count)), ZLX_E_REFUSED);
  EXPECT_STREQ(stoppedAt, "0:/DCIM/100LUMO01/SUB/");
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(List("0:/DCIM/100LUMO01/SUB/"), std::vector<std::string>{"MEMO.TXT"});

  // Without recursion a non-empty directory stops at once.
  std::memset(stoppedAt, 0, sizeof stoppedAt);
  EXPECT_EQ(ZlxCode(link_.EraseDirectory(T("0:/DCIM/101LUMO01/"), kEraseNoRecursion, stoppedAt, count)),
            ZLX_E_CANNOT_DELETE);
  EXPECT_STREQ(stoppedAt, "0:/DCIM/101LUMO01/");
  // Forced, the read-only file goes too.
  EXPECT_EQ(link_.EraseDirectory(T("0:/DCIM/100LUMO01/"), kEraseForce, stoppedAt, count), 0u);
}

TEST_F(CameraLinkTest, FormatEmptiesTheDrive) {
  Open();
  EXPECT_EQ(link_.FormatDrive(1), 0u);
  EXPECT_TRUE(List("1:/").empty());
  EXPECT_EQ(ZlxCode(link_.FormatDrive(2)), ZLX_E_DRIVE_ACCESS);
  EXPECT_EQ(List("0:/"), std::vector<std::string>{"DCIM"});
}

TEST_F(CameraLinkTest, StampSizesAndClose) {
  Open();
  tagZLXSTAMPSIZE sizes{};
  ASSERT_EQ(link_.QueryStampSize(sizes), 0u);
  EXPECT_EQ(sizes.entries[0].value1, 64);
  EXPECT_EQ(sizes.entries[7].value2, 48 * 8);
  EXPECT_EQ(link_.CloseCamera(), 0u);
  EXPECT_FALSE(link_.Connection().Connected());
  uint8_t count = 0;
  uint32_t mapping = 0;
  EXPECT_EQ(link_.GetDriveList(GetCurrentProcessId(), count, mapping), ZLX_E_NOT_CONNECTED);
  EXPECT_EQ(link_.CloseCamera(), ZLX_E_NOT_CONNECTED);
}

TEST_F(CameraLinkTest, FieldsWithoutTerminatorOrStringsMissingAreRefused) {
  Open();
  char unterminated[4] = {'0', ':', '/', 'X'};
  tagZLXFILEINFO info{};
  EXPECT_EQ(link_.GetFileInfo(CameraLink::Text(unterminated), info), ZLX_E_INVALID_PARAMETER);
  EXPECT_EQ(link_.SetAttribute(CameraLink::Text(nullptr, 0), 0), ZLX_E_INVALID_PARAMETER);
  EXPECT_EQ(link_.GetFileInfo(T("0:/" + std::string(125, 'a')), info), ZLX_E_INVALID_PARAMETER);
}
