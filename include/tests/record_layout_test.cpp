// The public records and the command areas as the bytes of real objects:
// each field is written through its name and found at its place in the
// record's bytes. Callers, the link host and stored files rely on these
// places, on 32-bit builds as on 64-bit ones.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "shared/command_layout.h"
#include "zlx_records.h"

namespace {

constexpr bool k32 = sizeof(void *) == 4;

// The little-endian value of `size` bytes at `offset` of the object.
template <typename R>
uint64_t At(const R &record, size_t offset, size_t size) {
  EXPECT_LE(offset + size, sizeof record);
  if (offset + size > sizeof record) return 0;
  uint8_t bytes[sizeof record];
  std::memcpy(bytes, &record, sizeof record);
  uint64_t value = 0;
  for (size_t i = size; i-- > 0;) value = value << 8 | bytes[offset + i];
  return value;
}

template <typename R>
R Zeroed() {
  R record;
  std::memset(&record, 0, sizeof record);
  return record;
}

TEST(RecordLayout, ConnectionRecordsCrossProcessesUnchanged) {
  auto info = Zeroed<tagZLXCONNECTIONINFO>();
  info.recordSize = 552;
  info.openCount = -2;
  info.model = {2, 1};
  info.cancelDlgParam.owner = 0x12345678;
  info.cancelDlgParam.waitTime = 5000;
  info.cancelDlgParam.caption[0] = 'C';
  info.opened = 1;
  info.commandTimeout = 86400000;
  info.deviceKey[259] = 'K';
  EXPECT_EQ(sizeof info, 552u);
  EXPECT_EQ(At(info, 0, 4), 552u);
  EXPECT_EQ(At(info, 4, 4), 0xFFFFFFFEu);
  EXPECT_EQ(At(info, 8, 4), 2u);
  EXPECT_EQ(At(info, 12, 4), 1u);
  EXPECT_EQ(At(info, 16, 4), 0x12345678u);
  EXPECT_EQ(At(info, 20, 4), 5000u);
  EXPECT_EQ(At(info, 24, 1), uint64_t('C'));
  EXPECT_EQ(At(info, 284, 4), 1u);
  EXPECT_EQ(At(info, 288, 4), 86400000u);
  EXPECT_EQ(At(info, 292 + 259, 1), uint64_t('K'));

  auto drive = Zeroed<tagZLXDRIVELISTENTRY>();
  drive.number = 2;
  drive.name[0] = 'D';
  drive.present = 1;
  std::vector<tagZLXDRIVELISTENTRY> list(3, drive);
  EXPECT_EQ(reinterpret_cast<char *>(&list[2]) - reinterpret_cast<char *>(&list[0]), 2 * 268);
  EXPECT_EQ(At(drive, 0, 4), 2u);
  EXPECT_EQ(At(drive, 4, 1), uint64_t('D'));
  EXPECT_EQ(At(drive, 264, 4), 1u);
}

TEST(RecordLayout, FileAndFolderRecords) {
  auto file = Zeroed<tagZLXFILEINFO>();
  file.name[259] = 'N';
  file.attributes = 0x21;
  file.size = 0xFFFFFFFF;
  file.time.sec = 59;
  file.time.isdst = -1;
  EXPECT_EQ(sizeof file, 304u);
  EXPECT_EQ(At(file, 259, 1), uint64_t('N'));
  EXPECT_EQ(At(file, 260, 4), 0x21u);
  EXPECT_EQ(At(file, 264, 4), 0xFFFFFFFFu);
  EXPECT_EQ(At(file, 268, 4), 59u);
  EXPECT_EQ(At(file, 268 + 32, 4), 0xFFFFFFFFu);

  auto folder = Zeroed<tagZLXDIRINFO>();
  folder.attributes = 0x10;
  folder.time.year = 126;
  folder.subdirectories = 3;
  folder.files = 4;
  folder.totalFileSize = 0x80000001;
  EXPECT_EQ(sizeof folder, 312u);
  EXPECT_EQ(At(folder, 260, 4), 0x10u);
  EXPECT_EQ(At(folder, 264 + 20, 4), 126u);
  EXPECT_EQ(At(folder, 300, 4), 3u);
  EXPECT_EQ(At(folder, 304, 4), 4u);
  EXPECT_EQ(At(folder, 308, 4), 0x80000001u);
}

// The records that carry a global memory handle grow with the pointer.
TEST(RecordLayout, DataRecordsFollowThePointerSize) {
  const size_t pointer = sizeof(void *);
  auto data = Zeroed<tagZLXDATAINFO>();
  data.path[0] = '1';
  data.data = reinterpret_cast<ZLXGLOBAL>(uintptr_t(0x0BADF00D));
  data.length = 0xFFFFFFF0u;
  EXPECT_EQ(sizeof data, k32 ? 268u : 280u);
  EXPECT_EQ(At(data, k32 ? 260 : 264, pointer), 0x0BADF00Du);
  EXPECT_EQ(At(data, k32 ? 264 : 272, 4), 0xFFFFFFF0u);

  auto stamp = Zeroed<tagZLXSTAMP>();
  stamp.number = 0xBEEF;
  stamp.name[0] = 'S';
  stamp.parts[7].length = 0x80000000u;
  const size_t part = k32 ? 8 : 16;
  EXPECT_EQ(sizeof stamp, k32 ? 88u : 152u);
  EXPECT_EQ(sizeof(tagZLXCONFIGDATA), part);
  EXPECT_EQ(At(stamp, 0, 2), 0xBEEFu);
  EXPECT_EQ(At(stamp, 4, 1), uint64_t('S'));
  EXPECT_EQ(At(stamp, 24 + 7 * part + pointer, 4), 0x80000000u);
}

// The command areas hold 32-bit handle values on every build.
TEST(RecordLayout, CommandAreasHoldHandlesAs32BitValues) {
  auto header = Zeroed<CommandBlockHeader>();
  header.completionEvent = 0xFFFFFFFC;
  header.result = 0xFF4A;
  EXPECT_EQ(sizeof header, kCommandHeaderSize);
  EXPECT_EQ(At(header, 0, 4), 0xFFFFFFFCu);
  EXPECT_EQ(At(header, 4, 4), 0xFF4Au);

  auto receive = Zeroed<ReceiveParams>();
  receive.clientProcessId = 0x1234;
  receive.mode = 2;
  receive.progress.owner = 0x00010002;
  receive.progress.total = 77;
  receive.mapping = 0x5C;
  receive.length = 8168;
  EXPECT_EQ(sizeof receive, 156u);
  EXPECT_EQ(At(receive, 0, 4), 0x1234u);
  EXPECT_EQ(At(receive, 132, 2), 2u);
  EXPECT_EQ(At(receive, 136, 4), 0x00010002u);
  EXPECT_EQ(At(receive, 144, 4), 77u);
  EXPECT_EQ(At(receive, 148, 4), 0x5Cu);
  EXPECT_EQ(At(receive, 152, 4), 8168u);

  auto send = Zeroed<SendFileHeader>();
  send.length = 0xFFFFFFF0u;
  send.mode = 1;
  send.writeOption = 4;
  EXPECT_EQ(sizeof send, 152u);
  EXPECT_EQ(At(send, 128, 4), 0xFFFFFFF0u);
  EXPECT_EQ(At(send, 132, 2), 1u);
  EXPECT_EQ(At(send, 148, 4), 4u);

  auto list = Zeroed<GetDirectoryListParams>();
  list.kind = 1;
  list.count = 9;
  list.mapping = 0x7FFFFFFF;
  EXPECT_EQ(sizeof list, 144u);
  EXPECT_EQ(At(list, 132, 1), 1u);
  EXPECT_EQ(At(list, 136, 4), 9u);
  EXPECT_EQ(At(list, 140, 4), 0x7FFFFFFFu);
}

}  // namespace
