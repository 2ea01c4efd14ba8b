// Item lists as the shell, shortcuts and saved view states hand them over:
// well-formed ones, and every way a list can lie about its lengths.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/camera_item.h"
#include "core/item_list.h"

namespace {

using Bytes = std::vector<uint8_t>;

CameraItem Item(ItemKind kind, const char *name, const char *path) {
  return *MakeCameraItem(kind, name, path, 1234, CameraTime{2024, 5, 3, 17, 12, 30, 45, 0}, 0x20);
}

// A shell item of another kind: length, a type byte and some data.
Bytes ShellItem(uint16_t length) {
  Bytes item(length, 0x1F);
  std::memcpy(item.data(), &length, 2);
  return item;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes list;
  for (const Bytes &part : parts) list.insert(list.end(), part.begin(), part.end());
  list.push_back(0);
  list.push_back(0);
  return list;
}

Bytes Raw(const CameraItem &item) {
  Bytes bytes(sizeof item);
  std::memcpy(bytes.data(), &item, sizeof item);
  return bytes;
}

const CameraItem kDrive = Item(kDriveItem, "CF (1:)", "1:/");
const CameraItem kFolder = Item(kFolderItem, "DCIM", "1:/DCIM/");
const CameraItem kFile = Item(kFileItem, "LUMO0001.JPG", "1:/DCIM/LUMO0001.JPG");

TEST(CameraItemRecord, MadeItemsCarryTheStoredFieldsAndRoundTrip) {
  const Bytes raw = Raw(kFile);
  EXPECT_EQ(raw[0] | raw[1] << 8, 556);
  EXPECT_EQ(raw[2] | raw[3] << 8, 256);
  EXPECT_EQ(raw[8], 3);
  EXPECT_EQ(raw[12] | raw[13] << 8, 2024);  // the time's year
  EXPECT_EQ(raw[28], 0x20);
  EXPECT_STREQ(reinterpret_cast<const char *>(raw.data() + 36), "LUMO0001.JPG");
  EXPECT_STREQ(reinterpret_cast<const char *>(raw.data() + 296), "1:/DCIM/LUMO0001.JPG");
  const auto back = ReadCameraItem(raw);
  ASSERT_TRUE(back);
  EXPECT_EQ(std::memcmp(&*back, &kFile, sizeof kFile), 0);
  EXPECT_FALSE(MakeCameraItem(kFileItem, std::string(260, 'A'), "0:/A", 0, {}, 0));
  EXPECT_TRUE(MakeCameraItem(kFileItem, std::string(259, 'A'), "0:/A", 0, {}, 0));
}

TEST(CameraItemRecord, ForeignOrDamagedItemsAreRefusedWithoutReadingPastThem) {
  Bytes raw = Raw(kFile);
  EXPECT_FALSE(ReadCameraItem(std::span(raw).first(555)));  // shorter than the record
  Bytes longer = raw;
  longer[0] = 0x2D;  // 557
  longer.push_back(0);
  EXPECT_FALSE(ReadCameraItem(longer));
  for (uint32_t kind : {0u, 4u}) {
    Bytes other = raw;
    std::memcpy(other.data() + 8, &kind, 4);
    EXPECT_FALSE(ReadCameraItem(other)) << kind;
  }
  for (size_t field : {36u, 296u}) {
    Bytes unterminated = raw;
    std::memset(unterminated.data() + field, 'X', 260);
    EXPECT_FALSE(ReadCameraItem(unterminated)) << field;
  }
  // Another version is still read: the folder answers it with its own error.
  Bytes version = raw;
  version[2] = 1;
  EXPECT_TRUE(ReadCameraItem(version));
}

TEST(ItemList, MeasuresCountsCutsAndJoins) {
  const Bytes list = Join({Raw(kDrive), Raw(kFolder), Raw(kFile)});
  EXPECT_EQ(ListSize(list), 3 * 556 + 2u);
  EXPECT_EQ(ItemCount(list), 3u);
  EXPECT_EQ(ItemOffset(list, 0), 0u);
  EXPECT_EQ(ItemOffset(list, 2), 2 * 556u);
  EXPECT_EQ(ItemOffset(list, 3), 3 * 556u);  // the terminator
  EXPECT_FALSE(ItemOffset(list, 4));

  const auto two = FirstItems(list, 2);
  ASSERT_TRUE(two);
  EXPECT_EQ(*two, Join({Raw(kDrive), Raw(kFolder)}));
  EXPECT_EQ(FirstItems(list, 0), Join({}));
  EXPECT_FALSE(FirstItems(list, 4));

  const auto joined = ConcatLists(*two, Join({Raw(kFile)}));
  ASSERT_TRUE(joined);
  EXPECT_EQ(*joined, list);
  EXPECT_EQ(SingleItemList(kFile), Join({Raw(kFile)}));
  EXPECT_EQ(PackItems({}), Join({}));

  const Bytes empty = Join({});
  EXPECT_EQ(ListSize(empty), 2u);
  EXPECT_EQ(ItemCount(empty), 0u);
}

TEST(ItemList, ListsThatRunPastTheirBytesAreNeverWalked) {
  const Bytes list = Join({Raw(kDrive), Raw(kFolder)});
  // Cut anywhere before its end, the list is malformed.
  for (size_t cut : {0u, 1u, 2u, 555u, 556u, 557u, 1111u, 1112u, 1113u}) {
    const std::span<const uint8_t> part(list.data(), cut);
    EXPECT_FALSE(ListSize(part)) << cut;
    EXPECT_FALSE(ItemCount(part)) << cut;
    EXPECT_FALSE(FirstItems(part, 1)) << cut;
    EXPECT_FALSE(CameraItemsOf(part)) << cut;
    EXPECT_FALSE(SplitFolderList(part)) << cut;
  }
  // An item length of 1 cannot hold the length itself.
  const Bytes one = {1, 0, 0, 0};
  EXPECT_FALSE(ListSize(one));
  // A length beyond the bytes, on a heap block of exactly that size.
  Bytes lying = Join({ShellItem(20)});
  lying[0] = 200;
  EXPECT_FALSE(ListSize(lying));
  EXPECT_FALSE(ConcatLists(lying, Join({})));
  EXPECT_FALSE(ConcatLists(Join({}), lying));
}

TEST(ItemList, CameraListsHoldOnlyCameraItems) {
  const auto items = CameraItemsOf(Join({Raw(kDrive), Raw(kFolder)}));
  ASSERT_TRUE(items);
  ASSERT_EQ(items->size(), 2u);
  EXPECT_STREQ((*items)[1].path, "1:/DCIM/");
  EXPECT_FALSE(CameraItemsOf(Join({Raw(kDrive), ShellItem(20)})));
  EXPECT_FALSE(CameraItemsOf(Join({ShellItem(556)})));  // the right length is not enough

  // Absolute lists: the shell's items up to the junction, then camera items.
  const auto root = SplitFolderList(Join({ShellItem(20), ShellItem(20)}));
  ASSERT_TRUE(root);
  EXPECT_EQ(root->shellItems, 2u);
  EXPECT_TRUE(root->items.empty());
  const auto folder = SplitFolderList(Join({ShellItem(20), ShellItem(20), Raw(kDrive), Raw(kFolder)}));
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->shellItems, 2u);
  ASSERT_EQ(folder->items.size(), 2u);
  EXPECT_STREQ(folder->items.back().path, "1:/DCIM/");
  EXPECT_FALSE(SplitFolderList(Join({ShellItem(20), Raw(kDrive), ShellItem(20)})));
}

}  // namespace
