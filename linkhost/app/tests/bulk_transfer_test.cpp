// Bulk transfers through the whole stack (camapi, link host, camsim), with and
// without the link host's progress dialog.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <functional>
#include <thread>

#include "camapi.h"
#include "camsim_process.h"
#include "channel_names.h"
#include "child_process.h"
#include "command_layout.h"
#include "shared_memory.h"
#include "unix_paths.h"
#include "win_raii.h"

namespace {

constexpr DWORD kTimeout = 60000;

std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + (i >> 9)) & 0xFF);
  return bytes;
}

HGLOBAL GlobalCopy(const std::string &bytes) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size() ? bytes.size() : 1);
  global_lock target(memory);
  std::memcpy(target.get(), bytes.data(), bytes.size());
  return memory;
}

class Transfers : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(ZlxInitialize(0x10000, 8), 0u); }

  // Starts camsim with the arguments and a link host for it, and opens the camera.
  void Open(std::vector<std::string> arguments) {
    folder_ = "/tmp/lumo-transfer-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    CreateDirectoryA(WindowsPath(folder_).c_str(), nullptr);
    std::ofstream(WindowsPath(folder_ + "/BIG.BIN"), std::ios::binary) << Pattern(200000);
    address_ = CamsimProcess::NextAddress();
    arguments.insert(arguments.end(), {"-v", "--drive", "0=" + folder_});
    std::string error;
    ASSERT_TRUE(camsim_.Start(address_, arguments, error)) << error;
    // Started here so the open needs no start-up pause.
    host_.Start("linkhost.exe " + address_);
    const auto infoName = *InfoBlockName(*DeviceKey(address_));
    for (int i = 0; i < 400 && !window_; ++i) {
      CSharedMemory info;
      if (info.Open(infoName.c_str(), FILE_MAP_READ)) {
        if (auto *fields = static_cast<const uint32_t *>(info.Lock(false))) window_ = WindowFrom32(fields[1]);
      }
      if (!window_) Sleep(25);
    }
    ASSERT_NE(window_, nullptr);
    tagZLXMODEL model{1, 0};
    ASSERT_EQ(ZlxOpenCamera(&camera_, &model, 1, 0, nullptr, address_.c_str()), 0u);
  }
  void TearDown() override {
    if (camera_) {
      EXPECT_EQ(ZlxCloseCamera(camera_), 0u);
    }
    if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(host_.Wait(kTimeout), 0u);
    camsim_.Stop();
    RunShell("rm -rf " + folder_);
  }

  ZLXRESULT SendFile(const std::string &name, const std::string &bytes, WORD mode = 0,
                     tagZLXPROGRESSPARAM *progress = nullptr) {
    unique_hglobal memory(GlobalCopy(bytes));
    tagZLXDATAINFO data{};
    std::snprintf(data.path, sizeof data.path, "0:/%s", name.c_str());
    data.data = bytes.empty() ? nullptr : memory.get();
    data.length = static_cast<uint32_t>(bytes.size());
    return ZlxSendFile(camera_, &data, mode, progress, 1);
  }
  ZLXRESULT ReceiveBig(WORD mode = 0, tagZLXPROGRESSPARAM *progress = nullptr) {
    tagZLXDATAINFO data{};
    std::strcpy(data.path, "0:/BIG.BIN");
    const ZLXRESULT result = ZlxReceiveFile(camera_, &data, mode, progress);
    if (data.data) {
      received_ = std::string(static_cast<const char *>(global_lock(data.data).get()), data.length);
      GlobalFree(data.data);
    }
    return result;
  }

  std::string folder_, address_, received_;
  CamsimProcess camsim_;
  ChildProcess host_;
  HWND window_ = nullptr;
  HZLXCAMERA camera_ = nullptr;
};

TEST_F(Transfers, SendChunksFollowTheCamerasPacketSize) {
  Open({"--max-packet", "1049"});
  ASSERT_EQ(SendFile("TWO.BIN", Pattern(2048)), 0u);
  EXPECT_EQ(ReadFileBytes(WindowsPath(folder_ + "/TWO.BIN")), Pattern(2048));
  const std::string log = camsim_.Log();
  EXPECT_NE(log.find("data 1024\n"), std::string::npos) << log;
  EXPECT_NE(log.find("data 1024 last\n"), std::string::npos) << log;
  // An empty body goes as one empty final packet.
  ASSERT_EQ(SendFile("EMPTY.BIN", ""), 0u);
  EXPECT_NE(camsim_.Log().find("data 0 last\n"), std::string::npos);
  EXPECT_EQ(GetFileAttributesA(WindowsPath(folder_ + "/EMPTY.BIN").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(Transfers, VersionOneCameraGetsTimeToStoreTheBody) {
  Open({"--versions", "1"});
  DWORD start = GetTickCount();
  ASSERT_EQ(SendFile("SHORT.BIN", Pattern(10240)), 0u);
  const DWORD shortWait = GetTickCount() - start;
  start = GetTickCount();
  ASSERT_EQ(SendFile("LONG.BIN", Pattern(10241)), 0u);
  const DWORD longWait = GetTickCount() - start;
  EXPECT_GE(shortWait, 500u);
  EXPECT_LT(shortWait, 5000u);
  EXPECT_GE(longWait, 5000u);
  EXPECT_EQ(ReadFileBytes(WindowsPath(folder_ + "/LONG.BIN")), Pattern(10241));
}

TEST_F(Transfers, PacketWithAnotherTotalEndsTheReceiveAndKeepsTheLink) {
  Open({"--max-packet", "4096", "--fault", "data-total@A0000000"});
  EXPECT_EQ(ReceiveBig() & 0xFFFF, 0xFFFFu);
  DWORD value = 0;
  EXPECT_EQ(ZlxGetDriveFree(camera_, 0, &value), 0u);
  EXPECT_NE(camsim_.Log().find("A4000000"), std::string::npos);  // the abort reached the camera
}

TEST_F(Transfers, BodyLargerThanAnnouncedIsRefused) {
  Open({"--max-packet", "4096", "--fault", "data-oversize@A0000000"});
  EXPECT_EQ(ReceiveBig() & 0xFFFF, 0xFFFFu);
  DWORD value = 0;
  EXPECT_EQ(ZlxGetDriveFree(camera_, 0, &value), 0u);
}

TEST_F(Transfers, BodyShorterThanAnnouncedEndsAtItsLastPacket) {
  Open({"--max-packet", "4096", "--fault", "data-short@A0000000"});
  const DWORD start = GetTickCount();
  EXPECT_EQ(ReceiveBig() & 0xFFFF, 0xFFFFu);
  EXPECT_LT(GetTickCount() - start, 10000u);  // no wait for packets that never come
  DWORD value = 0;
  EXPECT_EQ(ZlxGetDriveFree(camera_, 0, &value), 0u);
}

// Runs the call on a worker thread while this thread, the owner's thread,
// keeps pumping its messages (as a program with windows does) and hands the
// progress dialog to onDialog once it is shown.
template <typename Call>
ZLXRESULT WithDialog(Call call, const std::function<void(HWND)> &onDialog) {
  ZLXRESULT result = 0xDEADu;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    result = call();
    done = true;
  });
  bool seen = false;
  const DWORD start = GetTickCount();
  while (!done && GetTickCount() - start < kTimeout) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    HWND dialog = FindWindowA(nullptr, "File transfer...");
    if (!seen && dialog && IsWindowVisible(dialog)) {
      seen = true;
      onDialog(dialog);
    }
    Sleep(10);
  }
  worker.join();
  EXPECT_TRUE(seen);
  return result;
}

TEST_F(Transfers, DialogShowsTheNumbersAndCancelEndsTheReceive) {
  Open({"--max-packet", "8192", "--fault", "slow=150@A0000000"});
  HWND owner = CreateWindowA("STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  EnableWindow(owner, FALSE);
  tagZLXPROGRESSPARAM progress{WindowTo32(owner), 3, 10};
  std::string text;
  const ZLXRESULT result = WithDialog([&] { return ReceiveBig(3, &progress); },
                                      [&](HWND dialog) {
                                        char shown[64] = {};
                                        GetDlgItemTextA(dialog, 0xFFFF, shown, sizeof shown);
                                        text = shown;
                                        PressButton(dialog, IDCANCEL);
                                      });
  EXPECT_EQ(result & 0xFFFF, 0xFF61u);
  EXPECT_EQ(text, "3 / 10");
  EXPECT_EQ(FindWindowA(nullptr, "File transfer..."), nullptr);
  EXPECT_TRUE(IsWindowEnabled(owner));
  DestroyWindow(owner);
  DWORD value = 0;
  EXPECT_EQ(ZlxGetDriveFree(camera_, 0, &value), 0u);  // drained: the link is usable
}

TEST_F(Transfers, CancelDuringASendEndsTheBodyWithAnEmptyFinalPacket) {
  Open({"--max-packet", "2048"});
  tagZLXPROGRESSPARAM progress{0, 1, 1};
  const std::string body = Pattern(16 << 20);
  const ZLXRESULT result = WithDialog([&] { return SendFile("CANCEL.BIN", body, 2, &progress); },
                                      [](HWND dialog) { PressButton(dialog, IDCANCEL); });
  EXPECT_EQ(result & 0xFFFF, 0xFF61u);
  EXPECT_NE(camsim_.Log().find("transfer cancelled by the link host"), std::string::npos);
  EXPECT_EQ(GetFileAttributesA(WindowsPath(folder_ + "/CANCEL.BIN").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Transfers, CommandsDuringADialogTransferAreNotServed) {
  Open({"--max-packet", "8192", "--fault", "slow=50@A0000000"});
  tagZLXPROGRESSPARAM progress{0, 1, 2};
  const ZLXRESULT result = WithDialog([&] { return ReceiveBig(3, &progress); },
                                      [&](HWND) { PostMessageA(window_, kCommandMessage, 0, CMD_QUERY_STAMP_SIZE); });
  ASSERT_EQ(result, 0u);
  EXPECT_EQ(received_, Pattern(200000));
  EXPECT_EQ(camsim_.Log().find("83000000"), std::string::npos);
  tagZLXSTAMPSIZE sizes{};
  EXPECT_EQ(ZlxQueryStampSize(camera_, &sizes), 0u);  // the next one is served
  EXPECT_NE(camsim_.Log().find("83000000"), std::string::npos);
}

}  // namespace
