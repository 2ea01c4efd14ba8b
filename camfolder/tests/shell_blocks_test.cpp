// DROPFILES and "Shell IDList Array" blocks, made by us and read from others.
#include <gtest/gtest.h>

#include <cstring>

#include "core/item_list.h"
#include "core/shell_blocks.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(DropFiles, MadeBlocksHaveTheHeaderAndTheirPaths) {
  const Bytes block = MakeDropFiles({"0:/DCIM/A.JPG", "0:/DCIM/SUB/"});
  ASSERT_EQ(block.size(), 20u + 14 + 13 + 1);
  EXPECT_EQ(block[0], 20);
  for (size_t i = 1; i < 20; ++i) EXPECT_EQ(block[i], 0) << i;
  const auto paths = ReadDropFiles(block);
  ASSERT_TRUE(paths);
  EXPECT_FALSE(paths->wide);
  EXPECT_EQ(paths->ansi, (std::vector<std::string>{"0:/DCIM/A.JPG", "0:/DCIM/SUB/"}));
  const auto none = ReadDropFiles(MakeDropFiles({}));
  ASSERT_TRUE(none);
  EXPECT_EQ(none->size(), 0u);
}

TEST(DropFiles, WidePathsFromOtherPrograms) {
  Bytes block(20, 0);
  block[0] = 20;
  block[16] = 1;  // wide
  for (char16_t c : std::u16string(u"C:\\\u65E5.TXT")) block.insert(block.end(), {uint8_t(c & 0xFF), uint8_t(c >> 8)});
  block.insert(block.end(), {0, 0, 0, 0});
  const auto paths = ReadDropFiles(block);
  ASSERT_TRUE(paths);
  ASSERT_TRUE(paths->wide);
  ASSERT_EQ(paths->unicode.size(), 1u);
  EXPECT_EQ(paths->unicode[0], u"C:\\\u65E5.TXT");
}

TEST(DropFiles, MalformedBlocksAreRefused) {
  Bytes block = MakeDropFiles({"C:\\A.TXT"});
  EXPECT_FALSE(ReadDropFiles(std::span(block).first(19)));      // no whole header
  for (size_t cut = 20; cut < block.size(); ++cut)
    EXPECT_FALSE(ReadDropFiles(std::span(block).first(cut))) << cut;  // the list never ends
  Bytes offset = block;
  offset[0] = 200;  // the paths beyond the block
  EXPECT_FALSE(ReadDropFiles(offset));
  offset[0] = 4;  // the paths inside the header
  EXPECT_FALSE(ReadDropFiles(offset));
  Bytes odd = block;
  odd[16] = 1;  // claimed wide, an odd number of bytes left
  odd.pop_back();
  EXPECT_FALSE(ReadDropFiles(odd));
}

Bytes List(std::initializer_list<uint16_t> lengths) {
  Bytes list;
  for (uint16_t length : lengths) {
    Bytes item(length, 0x33);
    std::memcpy(item.data(), &length, 2);
    list.insert(list.end(), item.begin(), item.end());
  }
  list.insert(list.end(), {0, 0});
  return list;
}

TEST(IdListArray, LayoutAndRoundTrip) {
  const Bytes parent = List({20, 20});
  const std::vector<Bytes> children = {List({556}), List({556})};
  const Bytes block = MakeIdListArray(parent, children);
  uint32_t header[4];
  std::memcpy(header, block.data(), sizeof header);
  EXPECT_EQ(header[0], 2u);
  EXPECT_EQ(header[1], 4u * 2 + 8);  // the parent follows the offsets
  EXPECT_EQ(header[2], header[1] + parent.size());
  EXPECT_EQ(header[3], header[2] + children[0].size());
  EXPECT_EQ(block.size(), header[3] + children[1].size());
  const auto read = ReadIdListArray(block);
  ASSERT_TRUE(read);
  EXPECT_EQ(Bytes(read->parent.begin(), read->parent.end()), parent);
  ASSERT_EQ(read->children.size(), 2u);
  EXPECT_EQ(Bytes(read->children[1].begin(), read->children[1].end()), children[1]);
}

TEST(IdListArray, MalformedBlocksAreRefused) {
  const Bytes block = MakeIdListArray(List({20}), {List({30})});
  for (size_t cut = 0; cut < block.size(); ++cut) EXPECT_FALSE(ReadIdListArray(std::span(block).first(cut))) << cut;
  Bytes count = block;
  count[0] = 0xFF;  // more offsets than the block holds
  count[3] = 0x7F;
  EXPECT_FALSE(ReadIdListArray(count));
  Bytes outside = block;
  outside[8] = 0xF0;  // a child beyond the block
  EXPECT_FALSE(ReadIdListArray(outside));
  Bytes inside = block;
  inside[4] = 2;  // the parent inside the offsets
  EXPECT_FALSE(ReadIdListArray(inside));
  Bytes lying = block;
  lying[block.size() - 32] = 0x40;  // the child's item length runs past the block
  EXPECT_FALSE(ReadIdListArray(lying));
}

}  // namespace
