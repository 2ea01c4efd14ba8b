// The camera API end to end: this process loads camapi.dll, which starts the
// link host on demand, which talks to a camsim started by the test.
#include <gtest/gtest.h>


#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "camapi.h"
#include "camsim_process.h"
#include "channel_names.h"
#include "child_process.h"
#include "command_client.h"
#include "command_layout.h"
#include "shared_memory.h"
#include "unix_paths.h"
#include "win_raii.h"

namespace {

constexpr DWORD kTimeout = 60000;

std::string Pattern(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + seed * 7 + (i >> 8)) & 0xFF);
  return bytes;
}

std::string Contents(HGLOBAL memory, size_t length) {
  global_lock bytes(memory);
  return std::string(static_cast<const char *>(bytes.get()), length);
}

const std::string kThumbnail = "the embedded thumbnail's bytes";

// A JPEG start whose Exif segment holds the thumbnail (IFD1 with its offset
// and length), as a camera writes it; the picture data after it matter not.
std::string WithExifThumbnail(const std::string &thumbnail) {
  std::string tiff("II\x2A\0\x08\0\0\0" "\0\0" "\x0E\0\0\0" "\x02\0", 16);
  auto entry = [&](uint16_t tag, uint32_t value) {
    const char bytes[12] = {char(tag), char(tag >> 8), 4, 0, 1, 0, 0, 0,
                            char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
    tiff.append(bytes, sizeof bytes);
  };
  entry(0x0201, 16 + 2 * 12 + 4);
  entry(0x0202, static_cast<uint32_t>(thumbnail.size()));
  tiff.append(4, '\0');
  tiff += thumbnail;
  const size_t length = 2 + 6 + tiff.size();
  std::string jpeg("\xFF\xD8\xFF\xE1", 4);
  jpeg += static_cast<char>(length >> 8);
  jpeg += static_cast<char>(length);
  jpeg += std::string("Exif\0\0", 6) + tiff + std::string("\xFF\xD9", 2);
  return jpeg;
}

// Link hosts serving this address: windows titled after it.
int LinkHostsFor(const std::string &address) {
  int count = 0;
  const std::string title = "ZL1_ZLtpProxyServer - " + address;
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, "ZL1_ZLtpProxyServer", title.c_str()))) ++count;
  return count;
}

int32_t OpenCount(const std::string &address) {
  CSharedMemory block;
  if (!block.Open(ConnectionInfoName(*DeviceKey(address))->c_str(), FILE_MAP_READ)) return -1;
  const auto *info = static_cast<const tagZLXCONNECTIONINFO *>(block.Lock(false));
  return info ? info->openCount : -1;
}

// A thread that takes a named mutex and keeps it until told to let go.
struct GuardHolder {
  std::string name;
  HANDLE held, release;
};
DWORD WINAPI HoldGuard(void *arg) {
  auto *h = static_cast<GuardHolder *>(arg);
  HANDLE mutex = CreateMutexA(nullptr, FALSE, h->name.c_str());
  WaitForSingleObject(mutex, INFINITE);
  SetEvent(h->held);
  WaitForSingleObject(h->release, INFINITE);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
  return 0;
}

// One simulator and one open camera for the whole suite: the first open
// starts the link host, which costs its two-second pause once.
class CameraApi : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(ZlxInitialize(0x10000, 8), 0u);
    folder_ = "/tmp/lumo-camapi-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    for (const char *sub : {"", "/d0", "/d0/DCIM", "/d0/DCIM/100LUMO01", "/d0/EMPTY", "/d1"})
      CreateDirectoryA(WindowsPath(folder_ + sub).c_str(), nullptr);
    for (size_t size : kSizes) WriteFileBytes(Local("/d0/DCIM/100LUMO01/" + Name(size)), Pattern(size, size & 0xFF));
    WriteFileBytes(Local("/d1/EXIF0001.JPG"), WithExifThumbnail(kThumbnail));
    camsim_ = new CamsimProcess;
    std::string error;
    address_ = CamsimProcess::NextAddress();
    if (getenv("LUMO_EMULATED")) {
      // Under emulation the link host starts far slower than the API's pause
      // before its second try, and than the simulator waits for a first link:
      // start it first and wait for its window.
      linkHost_ = new ChildProcess("linkhost.exe " + address_);
      for (DWORD waited = 0; waited < 300000 && !LinkHostsFor(address_); waited += 200) Sleep(200);
      ASSERT_EQ(LinkHostsFor(address_), 1);
    }
    ASSERT_TRUE(camsim_->Start(address_, {"-v", "--drive", "0=" + folder_ + "/d0", "--drive", "1=" + folder_ + "/d1",
                                          "--capacity", "1=64000000", "--free", "1=32000000", "--config",
                                          "[ZL1]Quality=2"},
                               error))
        << error;
    if (!linkHost_) {
      ASSERT_EQ(LinkHostsFor(address_), 0);
    }
    tagZLXCANCELDLGPARAM wait{0, 5000, "Lumo camera"};
    tagZLXMODEL model{1, 0};
    const DWORD start = GetTickCount();
    ASSERT_EQ(ZlxOpenCamera(&camera_, &model, 1, 0, &wait, address_.c_str()), 0u);
    openMs_ = GetTickCount() - start;
    model_ = model;
  }
  static void TearDownTestSuite() {
    if (camera_) ZlxCloseCamera(camera_);
    camera_ = nullptr;
    if (HWND host = FindWindowA("ZL1_ZLtpProxyServer", ("ZL1_ZLtpProxyServer - " + address_).c_str()))
      PostMessageA(host, WM_CLOSE, 0, 0);
    if (linkHost_) linkHost_->Wait(60000);
    delete linkHost_;
    delete camsim_;
    RunShell("rm -rf " + folder_);
  }
  static std::string Local(const std::string &sub) { return WindowsPath(folder_ + sub); }
  static std::string Name(size_t size) {
    char name[16];
    std::snprintf(name, sizeof name, "F%07zu.BIN", size);
    return name;
  }

  static constexpr size_t kSizes[] = {0, 1, 8166, 8167, 8168, 100000};
  static inline std::string folder_, address_;
  static inline CamsimProcess *camsim_ = nullptr;
  static inline ChildProcess *linkHost_ = nullptr;
  static inline HZLXCAMERA camera_ = nullptr;
  static inline DWORD openMs_ = 0;
  static inline tagZLXMODEL model_{};
};

TEST_F(CameraApi, FirstOpenStartedOneLinkHostAndReportsTheModel) {
  EXPECT_EQ(LinkHostsFor(address_), 1);
  EXPECT_GE(openMs_, 2000u);  // the pause after starting the link host
  EXPECT_EQ(model_.model, 2u);
  EXPECT_EQ(model_.protocolVersion, 2u);
  EXPECT_EQ(OpenCount(address_), 1);
}

TEST_F(CameraApi, Drives) {
  DWORD count = 0;
  HGLOBAL list = nullptr;
  ASSERT_EQ(ZlxGetDriveList(camera_, &count, &list), 0u);
  ASSERT_EQ(count, 3u);
  unique_hglobal owned(list);
  global_lock entries(list);
  const auto *drive = static_cast<const tagZLXDRIVELISTENTRY *>(entries.get());
  EXPECT_EQ(drive[1].number, 1u);
  EXPECT_EQ(drive[0].present, 1u);
  EXPECT_EQ(drive[1].present, 1u);
  EXPECT_EQ(drive[2].present, 0u);

  tagZLXDRIVEINFO info{};
  ASSERT_EQ(ZlxGetDriveInfo(camera_, 1, &info), 0u);
  EXPECT_EQ(info.capacity, 64000000u);
  EXPECT_EQ(info.freeSpace, 32000000u);
  DWORD value = 0;
  EXPECT_EQ(ZlxGetDriveFree(camera_, 1, &value), 0u);
  EXPECT_EQ(value, 32000000u);
  EXPECT_EQ(ZlxGetDriveCapacity(camera_, 3, &value), 0xFF4Au);
  EXPECT_EQ(ZlxFormatDrive(camera_, 0), 0x8F11u);
  EXPECT_EQ(ZlxFormatDrive(camera_, 3), 0xFF4Au);
}

TEST_F(CameraApi, ListingsAndInformation) {
  HGLOBAL list = nullptr;
  DWORD count = 0;
  ASSERT_EQ(ZlxGetDirectoryList(camera_, "0:/DCIM/100LUMO01/", 1, &list, &count), 0u);
  ASSERT_EQ(count, std::size(kSizes));
  unique_hglobal owned(list);
  {
    global_lock entries(list);
    const auto *entry = static_cast<const tagZLXFILEINFO *>(entries.get());
    for (DWORD i = 0; i < count; ++i) {
      const std::string name = entry[i].name;
      const size_t size = std::stoul(name.substr(1, 7));
      EXPECT_EQ(entry[i].size, size) << name;
      EXPECT_EQ(entry[i].attributes & ZLX_ATTR_DIRECTORY, 0u);
    }
  }
  ASSERT_EQ(ZlxGetDirectoryList(camera_, "0:/", 2, &list, &count), 0u);
  unique_hglobal dirs(list);
  EXPECT_EQ(count, 2u);  // DCIM and EMPTY

  // An empty folder is a success without memory.
  list = reinterpret_cast<HGLOBAL>(1);
  ASSERT_EQ(ZlxGetDirectoryList(camera_, "0:/EMPTY/", 3, &list, &count), 0u);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(list, nullptr);

  tagZLXFILEINFO file{};
  ASSERT_EQ(ZlxGetFileInfo(camera_, ("0:/DCIM/100LUMO01/" + Name(8167)).c_str(), &file), 0u);
  EXPECT_EQ(file.size, 8167u);
  EXPECT_EQ(ZlxGetFileInfo(camera_, "0:/DCIM/100LUMO01/NONE.JPG", &file) & 0xFFFF, 0xFE07u);

  tagZLXDIRINFO dir{};
  ASSERT_EQ(ZlxGetDirectoryInfo(camera_, "0:/DCIM/100LUMO01/", &dir), 0u);
  EXPECT_EQ(dir.files, std::size(kSizes));
  size_t total = 0;
  for (size_t s : kSizes) total += s;
  EXPECT_EQ(dir.totalFileSize, total);
}

TEST_F(CameraApi, PathAndNameLimits) {
  std::string path127 = "0:/";
  for (int i = 0; i < 13; ++i) path127 += "ABCDEFGH/";
  path127 += "ABCDEFG";
  ASSERT_EQ(path127.size(), 127u);
  const std::string path128 = path127 + "A";
  tagZLXFILEINFO file{};
  EXPECT_EQ(ZlxGetFileInfo(camera_, path127.c_str(), &file) & 0xFFFF, 0xFE07u);  // sent, not found
  EXPECT_EQ(ZlxGetFileInfo(camera_, path128.c_str(), &file), 0xFF45u);
  EXPECT_EQ(ZlxCreateDirectory(camera_, "0:/", "ABCDEFGH.XYZ"), 0u);
  EXPECT_EQ(ZlxCreateDirectory(camera_, "0:/", "ABCDEFGHI.XYZ"), 0xFF45u);
  LONG erased = -1;
  char stoppedAt[128] = "x";
  EXPECT_EQ(ZlxEraseDirectory(camera_, "0:/ABCDEFGH.XYZ/", 0, stoppedAt, sizeof stoppedAt, &erased), 0u);
  EXPECT_STREQ(stoppedAt, "");
  EXPECT_EQ(erased, 0);
}

TEST_F(CameraApi, DirectoryAndFileOperations) {
  ASSERT_EQ(ZlxCreateDirectory(camera_, "0:/", "WORK"), 0u);
  EXPECT_EQ(ZlxCreateDirectory(camera_, "0:/", "WORK") & 0xFFFF, 0x8F07u);
  ASSERT_EQ(ZlxCopyFile(camera_, ("0:/DCIM/100LUMO01/" + Name(1)).c_str(), "0:/WORK/", 0), 0u);
  ASSERT_EQ(ZlxRenameFile(camera_, ("0:/WORK/" + Name(1)).c_str(), "ONE.BIN", 0), 0u);
  EXPECT_EQ(ReadFileBytes(Local("/d0/WORK/ONE.BIN")), Pattern(1, 1));
  ASSERT_EQ(ZlxSetFileAttribute(camera_, "0:/WORK/ONE.BIN", 0x01), 0u);
  EXPECT_NE(ZlxEraseFile(camera_, "0:/WORK/ONE.BIN", 0) & 0xFFFF, 0u);  // read-only
  ASSERT_EQ(ZlxSetFileAttribute(camera_, "0:/WORK/ONE.BIN", 0x00), 0u);
  ASSERT_EQ(ZlxRenameDirectory(camera_, "0:/WORK/", "WORK2", 0), 0u);
  ASSERT_EQ(ZlxMoveFile(camera_, "0:/WORK2/ONE.BIN", "0:/", 0), 0u);
  EXPECT_EQ(ReadFileBytes(Local("/d0/ONE.BIN")), Pattern(1, 1));
  ASSERT_EQ(ZlxEraseFile(camera_, "0:/ONE.BIN", 0), 0u);
  LONG erased = -1;
  ASSERT_EQ(ZlxEraseDirectory(camera_, "0:/WORK2/", 0, nullptr, 0, &erased), 0u);
  EXPECT_EQ(GetFileAttributesA(Local("/d0/WORK2").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CameraApi, ReceivedFilesAreByteIdentical) {
  for (size_t size : kSizes) {
    tagZLXDATAINFO data{};
    std::strcpy(data.path, ("0:/DCIM/100LUMO01/" + Name(size)).c_str());
    ASSERT_EQ(ZlxReceiveFile(camera_, &data, 0, nullptr), 0u) << size;
    ASSERT_EQ(data.length, size);
    if (size == 0) {
      EXPECT_EQ(data.data, nullptr);
      continue;
    }
    unique_hglobal owned(data.data);
    EXPECT_EQ(Contents(data.data, size), Pattern(size, size & 0xFF)) << size;
  }
}

TEST_F(CameraApi, SentFilesAreByteIdentical) {
  for (size_t size : {size_t{0}, size_t{2048}, size_t{8167}, size_t{50000}}) {
    const std::string bytes = Pattern(size, 3);
    unique_hglobal memory(GlobalAlloc(GMEM_MOVEABLE, size ? size : 1));
    {
      global_lock target(memory.get());
      std::memcpy(target.get(), bytes.data(), size);
    }
    tagZLXDATAINFO data{};
    std::snprintf(data.path, sizeof data.path, "1:/S%zu.BIN", size);
    data.data = size ? memory.get() : nullptr;
    data.length = static_cast<uint32_t>(size);
    ASSERT_EQ(ZlxSendFile(camera_, &data, 0, nullptr, 1), 0u) << size;
    EXPECT_EQ(ReadFileBytes(Local("/d1/S" + std::to_string(size) + ".BIN")), bytes);
    EXPECT_NE(GlobalSize(memory.get()), 0u);  // the caller's memory is not freed
  }
  tagZLXDATAINFO data{};
  std::strcpy(data.path, "1:/BAD.BIN");
  data.length = 10;
  EXPECT_EQ(ZlxSendFile(camera_, &data, 0, nullptr, 1), 0xFF4Au);  // length without memory
  tagZLXPROGRESSPARAM progress{};
  data.length = 0;
  EXPECT_EQ(ZlxSendFile(camera_, &data, 1, &progress, 1), 0xFF4Au);
  EXPECT_EQ(ZlxSendFile(camera_, &data, 4, &progress, 1), 0xFF4Au);
  EXPECT_EQ(ZlxSendFile(camera_, &data, 2, nullptr, 1), 0xFF4Au);
  EXPECT_EQ(ZlxSendFile(camera_, &data, 0, nullptr, 3), 0xFF4Au);
}

// A movable block whose memory was discarded: it cannot be locked.
HGLOBAL DiscardedBlock() {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DISCARDABLE, 64);
  return GlobalReAlloc(memory, 0, GMEM_MOVEABLE);
}

TEST_F(CameraApi, ThumbnailIsTheOneEmbeddedInThePicture) {
  tagZLXDATAINFO data{};
  std::strcpy(data.path, "1:/EXIF0001.JPG");
  ASSERT_EQ(ZlxReceiveThumbnail(camera_, &data, 0, nullptr), 0u);
  unique_hglobal owned(data.data);
  ASSERT_EQ(data.length, kThumbnail.size());
  EXPECT_EQ(Contents(data.data, data.length), kThumbnail);
  EXPECT_NE(camsim_->Log().find("thumbnail 1:/EXIF0001.JPG"), std::string::npos);
  // A file without one has no thumbnail to send.
  tagZLXDATAINFO none{};
  std::strcpy(none.path, ("0:/DCIM/100LUMO01/" + Name(100000)).c_str());
  EXPECT_EQ(ZlxReceiveThumbnail(camera_, &none, 0, nullptr) & 0xFFFF, 0xFE08u);
  EXPECT_EQ(none.data, nullptr);
  EXPECT_EQ(none.length, 0u);
}

TEST_F(CameraApi, CancelDialogParametersRoundTrip) {
  tagZLXCANCELDLGPARAM params{};
  ASSERT_EQ(ZlxGetCancelDlgParam(camera_, &params), 0u);
  EXPECT_EQ(params.owner, 0u);
  EXPECT_EQ(params.waitTime, 5000u);
  EXPECT_STREQ(params.caption, "Lumo camera");
  HWND owner = CreateWindowA("STATIC", "owner", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  tagZLXCANCELDLGPARAM changed{WindowTo32(owner), 1234, "Camera busy"};
  ASSERT_EQ(ZlxSetCancelDlgParam(camera_, &changed), 0u);
  tagZLXCANCELDLGPARAM back{};
  ASSERT_EQ(ZlxGetCancelDlgParam(camera_, &back), 0u);
  EXPECT_EQ(back.owner, WindowTo32(owner));
  EXPECT_EQ(back.waitTime, 1234u);
  EXPECT_STREQ(back.caption, "Camera busy");
  EXPECT_EQ(ZlxGetCancelDlgParam(camera_, nullptr), 0xFF4Au);
  EXPECT_EQ(ZlxSetCancelDlgParam(camera_, &params), 0u);  // as the suite opened it
  DestroyWindow(owner);
}

TEST_F(CameraApi, SendAreasThatCannotBeMadeOrFilledAreRefused) {
  unique_hglobal small(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 16));
  unique_hglobal discarded(DiscardedBlock());
  ASSERT_EQ(GlobalLock(discarded.get()), nullptr);

  // A length whose sum with the fixed fields passes 32 bits.
  tagZLXDATAINFO data{};
  std::strcpy(data.path, "1:/HUGE.BIN");
  data.data = small.get();
  data.length = 0xFFFFFFF0u;
  EXPECT_EQ(ZlxSendFile(camera_, &data, 0, nullptr, 1), 0xFF4Au);
  tagZLXCONFIGDATA config{small.get(), 0xFFFFFFF0u};
  EXPECT_EQ(ZlxSetConfiguration(camera_, &config, 0, nullptr), 0xFF4Au);
  tagZLXSTAMP stamp{};
  stamp.number = 1;
  stamp.parts[0] = {small.get(), 0x80000000u};
  stamp.parts[1] = {small.get(), 0x80000000u};
  EXPECT_EQ(ZlxSendStamp(camera_, &stamp, 0, nullptr), 0xFF4Au);

  // A block shorter than the length claimed for it.
  data.length = 17;
  EXPECT_EQ(ZlxSendFile(camera_, &data, 0, nullptr, 1), 0xFF4Au);
  // A block that cannot be locked.
  data.data = discarded.get();
  data.length = 10;
  EXPECT_EQ(ZlxSendFile(camera_, &data, 0, nullptr, 1), 0xFF87u);
  config = {discarded.get(), 10};
  EXPECT_EQ(ZlxSetConfiguration(camera_, &config, 0, nullptr), 0xFF87u);
  stamp.parts[0] = {discarded.get(), 10};
  stamp.parts[1] = {};
  EXPECT_EQ(ZlxSendStamp(camera_, &stamp, 0, nullptr), 0xFF87u);
  EXPECT_EQ(GetFileAttributesA(Local("/d1/HUGE.BIN").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CameraApi, ConfigurationRoundTrip) {
  tagZLXCONFIGDATA config{};
  ASSERT_EQ(ZlxGetConfiguration(camera_, &config, 0, nullptr), 0u);
  ASSERT_NE(config.data, nullptr);
  EXPECT_EQ(Contents(config.data, config.length), "[ZL1]Quality=2");
  GlobalFree(config.data);

  const std::string updated = "[ZL1]Quality=3";
  unique_hglobal memory(GlobalAlloc(GMEM_MOVEABLE, updated.size()));
  {
    global_lock target(memory.get());
    std::memcpy(target.get(), updated.data(), updated.size());
  }
  tagZLXCONFIGDATA send{memory.get(), static_cast<uint32_t>(updated.size())};
  ASSERT_EQ(ZlxSetConfiguration(camera_, &send, 0, nullptr), 0u);
  ASSERT_EQ(ZlxGetConfiguration(camera_, &config, 0, nullptr), 0u);
  EXPECT_EQ(Contents(config.data, config.length), updated);
  GlobalFree(config.data);
}

TEST_F(CameraApi, StampSizesAndStamp) {
  tagZLXSTAMPSIZE sizes{};
  ASSERT_EQ(ZlxQueryStampSize(camera_, &sizes), 0u);
  tagZLXSTAMP stamp{};
  stamp.number = 6;
  std::strcpy(stamp.name, "LOGO");
  EXPECT_EQ(ZlxSendStamp(camera_, &stamp, 0, nullptr), 0xFF4Au);  // all parts empty
  const std::string part(3000, 'S');
  unique_hglobal memory(GlobalAlloc(GMEM_MOVEABLE, part.size()));
  {
    global_lock target(memory.get());
    std::memcpy(target.get(), part.data(), part.size());
  }
  stamp.parts[0] = {memory.get(), static_cast<uint32_t>(part.size())};
  EXPECT_EQ(ZlxSendStamp(camera_, &stamp, 0, nullptr), 0xFF4Au);  // kind 6
  stamp.number = 1;
  EXPECT_EQ(ZlxSendStamp(camera_, &stamp, 0, nullptr), 0u);
  stamp.parts[1] = {nullptr, 5};
  EXPECT_EQ(ZlxSendStamp(camera_, &stamp, 0, nullptr), 0xFF4Au);  // a length without memory
}

TEST_F(CameraApi, SecondProcessJoinsTheOpenLinkWithoutTheLinkHost) {
  const size_t offersBefore = camsim_->Log().size();
  ChildProcess client("camapi_test_client.exe " + address_ + " 5000 Lumo drives");
  EXPECT_EQ(client.Wait(kTimeout), 0u);
  EXPECT_EQ(OpenCount(address_), 1);
  // No new connection was made: the log has no second version offer.
  EXPECT_EQ(camsim_->Log().substr(offersBefore).find("31000000"), std::string::npos);
  EXPECT_EQ(LinkHostsFor(address_), 1);
  // Asking for model 1, the joining process learns the camera's model (2)
  // and protocol version from the open link, as the first open did.
  ChildProcess asking("camapi_test_client.exe " + address_ + " 5000 Lumo model");
  EXPECT_EQ(asking.Wait(kTimeout), 2u * 16 + 2);
}

TEST_F(CameraApi, DecliningToWaitForTheCameraReturnsWithoutACommand) {
  // Another user holds the camera's function-call guard.
  const std::string mutexName = *FunctionCallMutexName(*ConnectionInfoName(*DeviceKey(address_)));
  HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  GuardHolder holder{mutexName, held, release};
  HANDLE thread = CreateThread(nullptr, 0, HoldGuard, &holder, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(held, kTimeout), WAIT_OBJECT_0);

  const size_t logBefore = camsim_->Log().size();
  ChildProcess client("camapi_test_client.exe " + address_ + " 200 LumoWaitQuestion drives");
  HWND box = WaitForWindow("LumoWaitQuestion", kTimeout);
  ASSERT_NE(box, nullptr);
  char text[200] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  EXPECT_STREQ(text, "Other application is accessing to the camera.   Would you like to wait?");
  PressButton(box, IDNO);
  EXPECT_EQ(client.Wait(kTimeout), 0x8F61u);
  EXPECT_EQ(camsim_->Log().substr(logBefore).find("80010000"), std::string::npos);  // no drive list asked

  SetEvent(release);
  WaitForSingleObject(thread, kTimeout);
  for (HANDLE h : {thread, held, release}) CloseHandle(h);
}

// Runs last (gtest keeps declaration order): ends the suite's link.
TEST_F(CameraApi, ClosingTheLastHandleEndsTheLinkButNotTheLinkHost) {
  tagZLXMODEL model{1, 0};
  HZLXCAMERA second = nullptr;
  ASSERT_EQ(ZlxOpenCamera(&second, &model, 1, 0, nullptr, address_.c_str()), 0u);
  EXPECT_EQ(OpenCount(address_), 2);
  EXPECT_EQ(model.model, 2u);  // the camera's, from the open link
  EXPECT_EQ(model.protocolVersion, 2u);
  EXPECT_EQ(ZlxCloseCamera(second), 0u);  // the link stays up
  EXPECT_EQ(OpenCount(address_), 1);
  DWORD value = 0;
  EXPECT_EQ(ZlxGetDriveFree(camera_, 1, &value), 0u);

  EXPECT_EQ(ZlxCloseCamera(camera_), 0u);
  camera_ = nullptr;
  // The other handle of this process is refused from now on.
  EXPECT_EQ(ZlxGetDriveFree(second, 1, &value), 0xFF4Bu);
  EXPECT_EQ(LinkHostsFor(address_), 1);
  GetDriveListParams params{};
  params.clientProcessId = GetCurrentProcessId();
  EXPECT_EQ(SendCommand(DeviceKey(address_)->c_str(), CMD_GET_DRIVE_LIST, &params, sizeof params, kTimeout), 0xFF4Bu);
}

}  // namespace
