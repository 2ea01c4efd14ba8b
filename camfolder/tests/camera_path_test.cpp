// Camera paths, the camera's name rules, and the names items answer with.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/camera_path.h"
#include "core/content_items.h"
#include "core/item_names.h"

namespace {

TEST(CameraPath, KindsFollowTheText) {
  EXPECT_EQ(PathKindOf(nullptr), kNoPath);
  EXPECT_EQ(PathKindOf(""), kRootPath);
  EXPECT_EQ(PathKindOf("5:/"), kDrivePath);
  EXPECT_EQ(PathKindOf("0:/DCIM/"), kFolderPath);
  EXPECT_EQ(PathKindOf("0:/DCIM"), kFilePath);
  EXPECT_EQ(PathKindOf("0:/DCIM/A.JPG"), kFilePath);
  EXPECT_EQ(PathKindOf("0:x"), kFilePath);    // three characters, but no ":/"
  EXPECT_EQ(PathKindOf("10:/"), kFolderPath);  // four: not a drive
}

TEST(CameraPath, LastComponentAndParent) {
  EXPECT_EQ(LastComponent("0:/DCIM/100LUMO01/"), "100LUMO01");
  EXPECT_EQ(LastComponent("0:/DCIM/A.JPG"), "A.JPG");
  EXPECT_EQ(LastComponent("0:/"), "0:");
  EXPECT_EQ(ParentPath("0:/DCIM/100LUMO01/"), "0:/DCIM/");
  EXPECT_EQ(ParentPath("0:/DCIM/A.JPG"), "0:/DCIM/");
  EXPECT_EQ(ParentPath("0:/DCIM/"), "0:/");
  EXPECT_EQ(ParentPath("0:/"), "0:/");  // a drive is its own parent
  EXPECT_EQ(ParentPath("A.JPG"), "");
}

TEST(CameraPath, ChildPathsStayWithinTheCamerasLimit) {
  EXPECT_EQ(ChildPath("0:/DCIM/", "A.JPG", false), "0:/DCIM/A.JPG");
  EXPECT_EQ(ChildPath("0:/", "DCIM", true), "0:/DCIM/");
  const std::string folder = "0:/" + std::string(115, 'F') + "/";  // 119 characters
  EXPECT_EQ(ChildPath(folder, "ABCDEFGH", false)->size(), 127u);
  EXPECT_FALSE(ChildPath(folder, "ABCDEFGH", true));  // 128 with the "/": refused, never cut
  EXPECT_FALSE(ChildPath(folder, "ABCDEFGHI", false));
}

TEST(CameraPath, DcfFolders) {
  for (const char *path : {"0:/DCIM/100LUMO1", "0:/DCIM/100LUMO1/", "1:/dcim/999ZZZZZ/", "2:/DCIM/123     /",
                           "0:/DCIM/1AB_____/"})
    EXPECT_TRUE(IsDcfFolder(path)) << path;
  for (const char *path : std::initializer_list<const char *>{"0:/DCIM/", "0:/DCIM/100LUMO01/", "0:/DCIM/099LUMO1/", "0:/DCIM/100LUMO1/A.JPG",
                           "0:/DCIM/100LUMO1//", "0:/PICS/100LUMO1/", "0:/DCIM/100{LUMO/", "0:/DCIM/100LU", "", nullptr})
    EXPECT_FALSE(IsDcfFolder(path)) << (path ? path : "(none)");
}

TEST(CameraPath, NameRulesOfTheCamera) {
  for (const char *name : {"DCIM", "ABCDEFGH", "a-b_c~1"}) EXPECT_TRUE(IsValidFolderName(name)) << name;
  for (const char *name : {"ABCDEFGHI", "", "A*B", "A\"B", "A/B", "A:B", "A<B", "A>B", "A?B", "A\\B", "A|B", "\xE3\x81\x82"})
    EXPECT_FALSE(IsValidFolderName(name)) << name;
  for (const char *name : {"ABCDEFGH.JPG", "A.B", "README", ".JPG", "A.JP"}) EXPECT_TRUE(IsValidFileName(name)) << name;
  for (const char *name : {"ABCDEFGHI.JPG", "ABCDEFGHI", "A.JPEG", "A.B.JPG", "A*.JPG", "", "\x81\x40.JPG"})
    EXPECT_FALSE(IsValidFileName(name)) << name;
  EXPECT_TRUE(SameCameraText("lumo0001.jpg", "LUMO0001.JPG"));
  EXPECT_FALSE(SameCameraText("LUMO0001.JPG", "LUMO0001.JP"));
}

TEST(CameraPath, EntryNamesThatCouldLeaveTheirFolderAreUnusable) {
  EXPECT_TRUE(IsUsableEntryName("A.JPG"));
  for (const char *name : {"", ".", "..", "..\\..\\X", "A/B", "C:X", "\\X"}) EXPECT_FALSE(IsUsableEntryName(name)) << name;
}

CameraItem Item(ItemKind kind, const char *name, const char *path) { return *MakeCameraItem(kind, name, path, 0, {}, 0); }

TEST(ItemNames, EachKindAnswersEachFlag) {
  const char *working = "C:\\TEMP\\Lumo";
  const CameraItem drive = Item(kDriveItem, "CF (1:)", "1:/");
  const CameraItem folder = Item(kFolderItem, "100LUMO01", "0:/DCIM/100LUMO01/");
  const CameraItem file = Item(kFileItem, "LUMO0001.JPG", "0:/DCIM/LUMO0001.JPG");
  const uint32_t parsing = kNameForParsing, inFolder = kNameInFolder, both = parsing | inFolder;
  EXPECT_EQ(ItemDisplayName(drive, 0, working), "CF (1:)");
  EXPECT_EQ(ItemDisplayName(drive, inFolder, working), "CF (1:)");
  EXPECT_EQ(ItemDisplayName(drive, parsing, working), "1:/");
  EXPECT_EQ(ItemDisplayName(drive, both, working), "1:/");
  // Below SHGDN_FORADDRESSBAR the display name, from it up the parsing name.
  EXPECT_EQ(ItemDisplayName(drive, 0x1000, working), "CF (1:)");  // for editing
  EXPECT_EQ(ItemDisplayName(drive, 0x3FFF, working), "CF (1:)");
  EXPECT_EQ(ItemDisplayName(drive, 0x4000, working), "1:/");  // for the address bar
  EXPECT_EQ(ItemDisplayName(folder, 0x4001, working), "100LUMO01/");
  EXPECT_EQ(ItemDisplayName(folder, 0, working), "100LUMO01");
  EXPECT_EQ(ItemDisplayName(folder, parsing, working), "0:/DCIM/100LUMO01/");
  EXPECT_EQ(ItemDisplayName(folder, both, working), "100LUMO01/");
  EXPECT_EQ(ItemDisplayName(file, 0, working), "0:/DCIM/LUMO0001.JPG");
  EXPECT_EQ(ItemDisplayName(file, inFolder, working), "LUMO0001.JPG");
  // A file's parsing name is its local copy, in a folder of its own per camera path.
  const std::string copy = *ItemDisplayName(file, parsing, working);
  EXPECT_EQ(copy.substr(0, 14), "C:\\TEMP\\Lumo\\O");
  EXPECT_EQ(copy.substr(copy.size() - 13), "\\LUMO0001.JPG");
  EXPECT_EQ(ItemDisplayName(file, both, working), copy);
  // A file item whose name would lead out of the working folder has no local copy.
  EXPECT_FALSE(ItemDisplayName(Item(kFileItem, "..\\evil.exe", "0:/X"), parsing, working));
  EXPECT_FALSE(LocalCopyPath(std::string(250, 'W'), "LUMO0001.JPG"));
}

TEST(ContentItems, EntriesBecomeItemsOrAreLeftOut) {
  tagZLXFILEINFO entry{};
  std::snprintf(entry.name, sizeof entry.name, "%s", "100LUMO01");
  entry.attributes = 0x10;
  entry.size = 77;
  entry.time = {59, 59, 23, 31, 11, 99, 5, 364, 0};
  const auto folder = FolderEntryItem("0:/DCIM/", entry);
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->kind, kFolderItem);
  EXPECT_STREQ(folder->path, "0:/DCIM/100LUMO01/");
  EXPECT_EQ(folder->size, 77u);
  EXPECT_EQ(folder->time.year, 1999);
  EXPECT_EQ(folder->time.month, 12);
  EXPECT_EQ(folder->time.day, 31);
  EXPECT_EQ(folder->time.dayOfWeek, 5);
  EXPECT_EQ(folder->time.second, 59);
  entry.attributes = 0x21;
  EXPECT_EQ(FolderEntryItem("0:/DCIM/", entry)->kind, kFileItem);
  EXPECT_STREQ(FolderEntryItem("0:/DCIM/", entry)->path, "0:/DCIM/100LUMO01");

  std::snprintf(entry.name, sizeof entry.name, "%s", "..");
  EXPECT_FALSE(FolderEntryItem("0:/DCIM/", entry));
  std::memset(entry.name, 'A', sizeof entry.name);  // no terminator
  EXPECT_FALSE(FolderEntryItem("0:/DCIM/", entry));
  std::snprintf(entry.name, sizeof entry.name, "%s", "X.JPG");
  EXPECT_FALSE(FolderEntryItem("0:/" + std::string(120, 'F') + "/", entry));

  // Times from a camera that sends nonsense convert without overflow.
  entry.time = {INT32_MAX, INT32_MIN, 0, 0, INT32_MAX, INT32_MAX, 0, 0, 0};
  EXPECT_TRUE(FolderEntryItem("0:/", entry));

  EXPECT_EQ(DriveItem(1, "CF (1:)", 64000000)->size, 64000000u);
  EXPECT_STREQ(DriveItem(2, "ATA (2:)", 0)->path, "2:/");
  EXPECT_EQ(DriveItem(0, "x", 0)->attributes, 0x10u);
  EXPECT_FALSE(DriveItem(10, "x", 0));

  EXPECT_EQ(ListingMode(kListFolders), 2u);
  EXPECT_EQ(ListingMode(kListNonFolders), 1u);
  EXPECT_EQ(ListingMode(kListFolders | kListNonFolders), 3u);
  EXPECT_EQ(ListingMode(0), 3u);
}

}  // namespace
