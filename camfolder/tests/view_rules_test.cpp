// The folder view's saved state, column texts, item order and wheel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <strings.h>

#include "core/view_rules.h"

namespace {

TEST(ViewState, OnlyOurOwnRecordIsTaken) {
  const auto record = MakeViewState({100, 60, 140, 120, 40});
  EXPECT_EQ(std::memcmp(record.data(), "ZL1V\0\0\0\0", 8), 0);
  const auto widths = ReadViewState(record);
  ASSERT_TRUE(widths);
  EXPECT_EQ((*widths)[0], 100u);
  EXPECT_EQ((*widths)[4], 40u);
  std::vector<uint8_t> longer(record.begin(), record.end());
  longer.push_back(0);
  EXPECT_FALSE(ReadViewState(longer));
  EXPECT_FALSE(ReadViewState(std::span(record).first(27)));
  auto other = record;
  other[3] = 'X';
  EXPECT_FALSE(ReadViewState(other));
  other = record;
  other[5] = 1;  // the four bytes after the signature are zero
  EXPECT_FALSE(ReadViewState(other));
  EXPECT_FALSE(ReadViewState({}));
}

CameraItem Item(ItemKind kind, const char *name, uint32_t size, uint16_t day) {
  return *MakeCameraItem(kind, name, std::string("0:/") + name + (kind == kFolderItem ? "/" : ""), size,
                         CameraTime{2024, 5, 0, day, 12, 0, 0, 0}, 0x20);
}

TEST(ViewColumns, Texts) {
  EXPECT_EQ(ListedName("0:/DCIM/R0010001.JPG", true), "R0010001.JPG");
  EXPECT_EQ(ListedName("0:/DCIM/R0010001.JPG", false), "R0010001");
  EXPECT_EQ(ListedName("0:/DCIM/PHOTO.JPG.EXE", false), "PHOTO.JPG.EXE");  // a program shows what it is
  EXPECT_EQ(ListedName("0:/DCIM/RUN.bat", false), "RUN.bat");
  EXPECT_EQ(ListedName("0:/DCIM/", true), "DCIM");
  EXPECT_EQ(ListedName("CF (1:)", true), "CF (1:)");
  EXPECT_EQ(SizeColumnText(Item(kFileItem, "A.JPG", 0, 1)), "0KB");
  EXPECT_EQ(SizeColumnText(Item(kFileItem, "A.JPG", 1, 1)), "1KB");
  EXPECT_EQ(SizeColumnText(Item(kFileItem, "A.JPG", 1025, 1)), "2KB");
  EXPECT_EQ(SizeColumnText(Item(kFileItem, "A.JPG", 0xFFFFFFFF, 1)), "4194304KB");
  EXPECT_EQ(SizeColumnText(Item(kFolderItem, "DCIM", 4096, 1)), "");
  EXPECT_EQ(AttributeColumnText(0x27), "RHSA");
  EXPECT_EQ(AttributeColumnText(0x21), "RA");
  EXPECT_EQ(AttributeColumnText(0x10), "");
}

int NoCase(const char *a, const char *b) { return strcasecmp(a, b); }

// The names in the order the view gives them.
std::vector<std::string> Sorted(std::vector<CameraItem> items, uint32_t sortValue, bool atRoot = false) {
  std::stable_sort(items.begin(), items.end(), [&](const CameraItem &a, const CameraItem &b) {
    return CompareForView(sortValue, atRoot, a, b, NoCase, [&] { return strcasecmp(a.name, b.name); }) < 0;
  });
  std::vector<std::string> names;
  for (const CameraItem &item : items) names.push_back(item.name);
  return names;
}

TEST(ViewSort, FoldersFirstAndEveryColumnBothWays) {
  const std::vector<CameraItem> items = {Item(kFileItem, "b.jpg", 300, 3), Item(kFolderItem, "ZOO", 0, 9),
                                         Item(kFileItem, "A.TXT", 100, 5), Item(kFolderItem, "ant", 0, 1),
                                         Item(kFileItem, "C.JPG", 200, 1)};
  using V = std::vector<std::string>;
  EXPECT_EQ(Sorted(items, kSortName), (V{"ant", "ZOO", "A.TXT", "b.jpg", "C.JPG"}));
  EXPECT_EQ(Sorted(items, kSortName | kSortDescending), (V{"C.JPG", "b.jpg", "A.TXT", "ZOO", "ant"}));
  EXPECT_EQ(Sorted(items, kSortSize), (V{"ZOO", "ant", "A.TXT", "C.JPG", "b.jpg"}));
  // Descending sizes put the folders after the files: the folder rule turns too.
  EXPECT_EQ(Sorted(items, kSortSize | kSortDescending), (V{"b.jpg", "C.JPG", "A.TXT", "ZOO", "ant"}));
  EXPECT_EQ(Sorted(items, kSortDate), (V{"ZOO", "ant", "A.TXT", "b.jpg", "C.JPG"}));  // newer first
  EXPECT_EQ(Sorted(items, kSortType), (V{"ZOO", "ant", "A.TXT", "b.jpg", "C.JPG"}));

  const std::vector<CameraItem> drives = {*MakeCameraItem(kDriveItem, "CF (1:)", "1:/", 500, {}, 0x10),
                                          *MakeCameraItem(kDriveItem, "x (0:)", "0:/", 900, {}, 0x10)};
  EXPECT_EQ(Sorted(drives, kSortName, true), (V{"x (0:)", "CF (1:)"}));
  EXPECT_EQ(Sorted(drives, kSortSize | kSortDescending, true), (V{"x (0:)", "CF (1:)"}));
}

TEST(ViewSort, ClicksFlipTheCurrentColumn) {
  EXPECT_EQ(SortAfterClick(kSortName, kSortSize), uint32_t{kSortSize});
  EXPECT_EQ(SortAfterClick(kSortSize, kSortSize), kSortSize | kSortDescending);
  EXPECT_EQ(SortAfterClick(kSortSize | kSortDescending, kSortSize), uint32_t{kSortSize});
  EXPECT_EQ(SortAfterClick(kSortSize | kSortDescending, kSortDate), uint32_t{kSortDate});
}

TEST(ViewWheel, NotchesLinesAndPages) {
  EXPECT_EQ(ScrollForWheel(120, 4, 3, 400).dy, -48);      // details: 3 lines of 16 up
  EXPECT_EQ(ScrollForWheel(-240, 2, 3, 400).dy, 96);      // small icons, two notches down
  EXPECT_EQ(ScrollForWheel(120, 1, 3, 400).dy, -96);      // large icons: 32 a line
  EXPECT_EQ(ScrollForWheel(-120, 3, 3, 400).dx, 3);       // list: columns to the right
  EXPECT_EQ(ScrollForWheel(-120, 3, -1, 400).dx, 1);      // a page in list mode is a column
  EXPECT_EQ(ScrollForWheel(-120, 4, -1, 400).dy, 400);    // otherwise a client height
  EXPECT_EQ(ScrollForWheel(60, 4, 3, 400).dy, 0);         // less than a notch
}

}  // namespace
