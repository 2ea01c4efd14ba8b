// The API front without a camera: initialisation, argument refusals and the
// stored connection settings.
#include <gtest/gtest.h>

#include <cstring>

#include "camapi.h"
#include "channel_names.h"
#include "logical_device.h"
#include "shared_memory.h"
#include "win_raii.h"

namespace {

const auto kFakeCamera = reinterpret_cast<HZLXCAMERA>(static_cast<uintptr_t>(0x1000));

// Runs first: the library stays initialised for the rest of the process.
TEST(ApiFront, EveryCallBeforeInitialisationIsRefused) {
  HZLXCAMERA camera = nullptr;
  tagZLXMODEL model{1, 0};
  DWORD count = 0;
  HGLOBAL list = nullptr;
  tagZLXCANCELDLGPARAM params{};
  EXPECT_EQ(ZlxOpenCamera(&camera, &model, 1, 0, &params, "127.0.0.1"), 0x8FFFu);
  EXPECT_EQ(ZlxCloseCamera(kFakeCamera), 0x8FFFu);
  EXPECT_EQ(ZlxGetDriveList(nullptr, &count, &list), 0x8FFFu);  // before the handle check
  EXPECT_EQ(ZlxGetCancelDlgParam(kFakeCamera, &params), 0x8FFFu);

  EXPECT_EQ(ZlxInitialize(0x30000, 8), 0x8FFEu);
  EXPECT_EQ(ZlxInitialize(0x10000, 2), 0x8FFDu);
  EXPECT_EQ(ZlxInitialize(0x10000, 8), 0u);
  EXPECT_EQ(ZlxInitialize(0x30000, 2), 0u);  // already initialised: nothing is checked
}

TEST(ApiFront, WrappersCheckHandleThenOpenCamera) {
  DWORD capacity = 7;
  EXPECT_EQ(ZlxGetDriveCapacity(nullptr, 1, &capacity), 0xFF4Au);
  // No camera open in this process: refused before the handle is used.
  EXPECT_EQ(ZlxGetDriveCapacity(kFakeCamera, 1, &capacity), 0xFF4Bu);
  EXPECT_EQ(ZlxCloseCamera(kFakeCamera), 0xFF4Bu);
  EXPECT_EQ(capacity, 7u);
}

TEST(ApiFront, OpenRefusesModelConnectionKindAndLongAddress) {
  HZLXCAMERA camera = kFakeCamera;
  tagZLXMODEL model{0, 0};
  EXPECT_EQ(ZlxOpenCamera(&camera, &model, 1, 0, nullptr, "127.0.0.1"), 0xFF48u);
  EXPECT_EQ(camera, nullptr);
  model.model = 3;
  EXPECT_EQ(ZlxOpenCamera(&camera, &model, 1, 0, nullptr, "127.0.0.1"), 0xFF48u);
  model.model = 1;
  EXPECT_EQ(ZlxOpenCamera(&camera, &model, 2, 0, nullptr, "127.0.0.1"), 0x8F48u);
  EXPECT_EQ(ZlxOpenCamera(nullptr, &model, 1, 0, nullptr, "127.0.0.1"), 0xFF4Au);

  // Sixteen characters: refused before any link host is started.
  const char *longAddress = "127.000.000.0001";
  EXPECT_EQ(ZlxOpenCamera(&camera, &model, 1, 0, nullptr, longAddress), 0xFF4Au);
  CSharedMemory info;
  EXPECT_FALSE(info.Open(InfoBlockName(*DeviceKey(longAddress))->c_str(), FILE_MAP_READ));
  // The failed open leaves the shared open count at zero.
  CSharedMemory connection;
  ASSERT_TRUE(connection.Open(ConnectionInfoName(*DeviceKey(longAddress))->c_str(), FILE_MAP_READ) == nullptr);
}

class ConnectionSettings : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\VEMLO\\ZLXSDK"); }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\VEMLO\\ZLXSDK"); }
};

TEST_F(ConnectionSettings, RoundTrip) {
  ASSERT_EQ(ZlxSetConnectionInfo("LAN", "10.0.0.5"), 0u);
  char device[260] = "x", address[260] = "x";
  ASSERT_EQ(ZlxGetConnectionInfo(device, address), 0u);
  EXPECT_STREQ(device, "LAN");
  EXPECT_STREQ(address, "10.0.0.5");
}

TEST_F(ConnectionSettings, MissingOrMistypedValuesLeaveBothEmpty) {
  char device[260] = "x", address[260] = "x";
  EXPECT_EQ(ZlxGetConnectionInfo(device, address), 0xFFFFu);
  EXPECT_STREQ(device, "");
  EXPECT_STREQ(address, "");

  ASSERT_EQ(ZlxSetConnectionInfo("USB", "127.0.0.1"), 0u);
  unique_hkey key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\VEMLO\\ZLXSDK\\Connection", 0, KEY_WRITE, key.put()), 0);
  const DWORD number = 5;
  RegSetValueExA(key.get(), "IPAddress", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number), sizeof number);
  std::strcpy(device, "x");
  EXPECT_EQ(ZlxGetConnectionInfo(device, address), 0xFFFFu);
  EXPECT_STREQ(device, "");
  EXPECT_STREQ(address, "");

  EXPECT_EQ(ZlxGetConnectionInfo(device, nullptr), 0xFF4Au);
  EXPECT_EQ(ZlxSetConnectionInfo(nullptr, "1.2.3.4"), 0xFF4Au);
}

// The device base class exported by camapi: every operation answers 0xFF46
// and leaves whatever its outputs held.
TEST(LogicalDevice, EveryDefaultOperationIsUnsupportedAndLeavesItsOutputs) {
  CLogicalDevice device;
  tagZLXMODEL model{7, 8};
  tagZLXCONNECTIONINFO info{};
  info.openCount = 9;
  tagZLXCONNECTIONDATA data{};
  data.blockSize = 11;
  DWORD count = 12, value = 13;
  HGLOBAL list = reinterpret_cast<HGLOBAL>(static_cast<uintptr_t>(0x1234));
  tagZLXDRIVEINFO drive{14, 15};
  char stopped[8] = "stop";
  LONG erased = 16;
  tagZLXDIRINFO dir{};
  dir.files = 17;
  tagZLXFILEINFO file{};
  file.size = 18;
  tagZLXDATAINFO contents{};
  contents.length = 19;
  tagZLXSTAMPSIZE sizes{};
  sizes.entries[0].value3 = 20;
  tagZLXSTAMP stamp{};
  tagZLXCONFIGDATA config{nullptr, 21};
  char address[] = "10.0.0.5";
  const ZLXRESULT kUnsupported = 0xFF46;
  EXPECT_EQ(device._ZlxInitialize(0x10000, 8), kUnsupported);
  EXPECT_EQ(device._ZlxOpenCamera(&model, address, nullptr, &info), kUnsupported);
  EXPECT_EQ(device._ZlxSetConnection(&info, nullptr), kUnsupported);
  EXPECT_EQ(device._ZlxGetConnection(address, &data), kUnsupported);
  EXPECT_EQ(device._ZlxCloseCamera(), kUnsupported);
  EXPECT_EQ(device._ZlxFormatDrive(1), kUnsupported);
  EXPECT_EQ(device._ZlxGetDriveList(&count, &list), kUnsupported);
  EXPECT_EQ(device._ZlxGetDriveInfo(1, &drive), kUnsupported);
  EXPECT_EQ(device._ZlxGetDriveCapacity(1, &value), kUnsupported);
  EXPECT_EQ(device._ZlxGetDriveFree(1, &value), kUnsupported);
  EXPECT_EQ(device._ZlxCreateDirectory("0:/", "NEW"), kUnsupported);
  EXPECT_EQ(device._ZlxEraseDirectory("0:/A/", 0, stopped, sizeof stopped, &erased), kUnsupported);
  EXPECT_EQ(device._ZlxRenameDirectory("0:/A/", "B", 0), kUnsupported);
  EXPECT_EQ(device._ZlxSetDirectoryAttribute("0:/A/", 1), kUnsupported);
  EXPECT_EQ(device._ZlxCopyDirectory("0:/A/", "0:/B/", 0), kUnsupported);
  EXPECT_EQ(device._ZlxMoveDirectory("0:/A/", "0:/B/", 0), kUnsupported);
  EXPECT_EQ(device._ZlxGetDirectoryList("0:/", 3, &list, &count), kUnsupported);
  EXPECT_EQ(device._ZlxGetDirectoryInfo("0:/", &dir), kUnsupported);
  EXPECT_EQ(device._ZlxEraseFile("0:/A.JPG", 0), kUnsupported);
  EXPECT_EQ(device._ZlxRenameFile("0:/A.JPG", "B.JPG", 0), kUnsupported);
  EXPECT_EQ(device._ZlxSetFileAttribute("0:/A.JPG", 1), kUnsupported);
  EXPECT_EQ(device._ZlxCopyFile("0:/A.JPG", "0:/B/", 0), kUnsupported);
  EXPECT_EQ(device._ZlxMoveFile("0:/A.JPG", "0:/B/", 0), kUnsupported);
  EXPECT_EQ(device._ZlxGetFileInfo("0:/A.JPG", &file), kUnsupported);
  EXPECT_EQ(device._ZlxReceiveFile(&contents, 0, nullptr), kUnsupported);
  EXPECT_EQ(device._ZlxSendFile(&contents, 0, nullptr, 1), kUnsupported);
  EXPECT_EQ(device._ZlxReceiveThumbnail(&contents, 0, nullptr), kUnsupported);
  EXPECT_EQ(device._ZlxQueryStampSize(&sizes), kUnsupported);
  EXPECT_EQ(device._ZlxSendStamp(&stamp, 0, nullptr), kUnsupported);
  EXPECT_EQ(device._ZlxGetConfiguration(&config, 0, nullptr), kUnsupported);
  EXPECT_EQ(device._ZlxSetConfiguration(&config, 0, nullptr), kUnsupported);

  EXPECT_EQ(model.model, 7u);
  EXPECT_EQ(model.protocolVersion, 8u);
  EXPECT_EQ(info.openCount, 9);
  EXPECT_EQ(data.blockSize, 11u);
  EXPECT_EQ(count, 12u);
  EXPECT_EQ(value, 13u);
  EXPECT_EQ(list, reinterpret_cast<HGLOBAL>(static_cast<uintptr_t>(0x1234)));
  EXPECT_EQ(drive.capacity, 14u);
  EXPECT_EQ(drive.freeSpace, 15u);
  EXPECT_STREQ(stopped, "stop");
  EXPECT_EQ(erased, 16);
  EXPECT_EQ(dir.files, 17u);
  EXPECT_EQ(file.size, 18u);
  EXPECT_EQ(contents.length, 19u);
  EXPECT_EQ(sizes.entries[0].value3, 20u);
  EXPECT_EQ(config.length, 21u);
  EXPECT_EQ(device.GetConnectionInfo(), nullptr);
}

}  // namespace
