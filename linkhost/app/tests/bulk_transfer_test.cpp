// Bulk transfers through the whole stack (camapi, link host, camsim), with and
// without the link host's progress dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <functional>
#include <thread>
#include <vector>

#include "camapi.h"
#include "camsim_process.h"
#include "channel_names.h"
#include "child_process.h"
#include "command_client.h"
#include "command_layout.h"
#include "info_block_wait.h"
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

// The most memory a process has had resident so far.
SIZE_T PeakMemory(DWORD processId) {
  unique_handle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  PROCESS_MEMORY_COUNTERS counters{sizeof counters};
  if (!process || !GetProcessMemoryInfo(process.get(), &counters, sizeof counters)) return ~SIZE_T{0};
  return counters.PeakWorkingSetSize;
}

constexpr SIZE_T kMiB = 1 << 20;

// Starts a link host for the address and waits for its command window.
HWND StartLinkHost(ChildProcess &host, const std::string &address) {
  host.Start("linkhost.exe " + address);
  PublishedServer published;
  return WaitForInfoBlock(*DeviceKey(address), 120000, published) ? published.window : nullptr;
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
    window_ = StartLinkHost(host_, address_);
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
  // Cancelled once the camera has the request: the dialog may show before it is sent.
  const ZLXRESULT result = WithDialog([&] { return SendFile("CANCEL.BIN", body, 2, &progress); },
                                      [&](HWND dialog) {
                                        for (int i = 0; i < 200 && camsim_.Log().find("send 0:/CANCEL.BIN") ==
                                                                      std::string::npos;
                                             ++i)
                                          Sleep(25);
                                        PressButton(dialog, IDCANCEL);
                                      });
  EXPECT_EQ(result & 0xFFFF, 0xFF61u);
  // The camera reads the empty final packet a moment after the answer.
  bool cancelled = false;
  for (int i = 0; i < 100 && !cancelled; ++i, Sleep(50))
    cancelled = camsim_.Log().find("transfer cancelled by the link host") != std::string::npos;
  EXPECT_TRUE(cancelled) << camsim_.Log();
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

TEST_F(Transfers, AbsurdTotalIsRefusedBeforeAMappingOfItsSizeIsMade) {
  Open({"--max-packet", "4096", "--fault", "total=1073741825@A0000000"});
  const DWORD start = GetTickCount();
  EXPECT_EQ(ReceiveBig() & 0xFFFF, 0xFF87u);
  EXPECT_LT(GetTickCount() - start, 10000u);
  EXPECT_LT(PeakMemory(host_.Id()), 256 * kMiB);
  DWORD value = 0;
  EXPECT_EQ(ZlxGetDriveFree(camera_, 0, &value), 0u);
  EXPECT_NE(camsim_.Log().find("A4000000"), std::string::npos);  // the camera was told to stop
}

TEST_F(Transfers, CameraWithoutPacketLimitSendsAWholeMovieInOnePacket) {
  Open({"--max-packet", "0"});
  const std::string movie = Pattern(64 << 20);
  WriteFileBytes(WindowsPath(folder_ + "/MOVIE.MOV"), movie);
  tagZLXDATAINFO data{};
  std::strcpy(data.path, "0:/MOVIE.MOV");
  ASSERT_EQ(ZlxReceiveFile(camera_, &data, 0, nullptr), 0u);
  unique_hglobal owned(data.data);
  ASSERT_EQ(data.length, movie.size());
  EXPECT_TRUE(std::string(static_cast<const char *>(global_lock(data.data).get()), data.length) == movie);
}

TEST_F(Transfers, HugePacketSizeMakesNoHugeDriveListBuffer) {
  Open({"--max-packet", "4294967295"});
  DWORD count = 0;
  HGLOBAL list = nullptr;
  ASSERT_EQ(ZlxGetDriveList(camera_, &count, &list), 0u);
  GlobalFree(list);
  EXPECT_EQ(count, 3u);
  EXPECT_LT(PeakMemory(host_.Id()), 256 * kMiB);
}

TEST_F(Transfers, PacketSizeWithoutRoomForABodyByteIsRefused) {
  // The camera never answers the send, so only the packet size could end it.
  Open({"--max-packet", "25", "--fault", "silent@A1000000"});
  std::vector<uint8_t> params(sizeof(SendFileHeader) + 10 + kSendFileTrailer);
  SendFileHeader header{};
  header.length = 10;
  header.writeOption = 1;
  std::memcpy(params.data(), &header, sizeof header);
  EXPECT_EQ(SendCommand(DeviceKey(address_)->c_str(), CMD_SEND_FILE, params.data(),
                        static_cast<uint32_t>(params.size()), 20000),
            0xFFFFu);
}

// A local process that rewrites the lengths in a send command's block while
// the link host serves it: whatever the link host saw when it checked the
// block is what it uses, so it never reads past the block.
TEST_F(Transfers, LengthsRewrittenDuringTheCommandAreNeverUsedUnchecked) {
  Open({});
  const std::string key = *DeviceKey(address_);
  constexpr uint32_t kPart = 100;
  constexpr uint32_t kHuge = 0x7FFFFF00;
  const uint32_t size = sizeof(SendStampHeader) + kPart + kSendStampTrailer;
  // The block exists through the whole test, so this process can map it.
  CSharedMemory keep;
  ASSERT_TRUE(keep.Create(CommandBlockName(key)->c_str(), PAGE_READWRITE, 8 + 4096));
  unique_handle mapping(OpenFileMappingA(FILE_MAP_WRITE, FALSE, CommandBlockName(key)->c_str()));
  ASSERT_TRUE(mapping);
  unique_view view(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0));
  ASSERT_TRUE(view);
  auto *length = reinterpret_cast<volatile uint32_t *>(static_cast<uint8_t *>(view.get()) + 8 +
                                                        offsetof(SendStampHeader, lengths));
  std::atomic<bool> stop{false};
  std::thread rewriter([&] {
    for (uint32_t i = 0; !stop; ++i) *length = (i & 1) ? kHuge : kPart;
  });
  int sent = 0, refused = 0;
  for (int i = 0; i < 150 && host_.Running(); ++i) {
    std::vector<uint8_t> params(size, 'S');
    SendStampHeader header{};
    header.number = 1;
    std::memcpy(header.name, "LOGO", 4);
    header.lengths[0] = kPart;
    std::memcpy(params.data(), &header, sizeof header);
    const ZLXRESULT result = SendCommand(key.c_str(), CMD_SEND_STAMP, params.data(), size, 20000);
    if (result == 0) ++sent;
    else if (result == ZLX_E_NO_MEMORY) ++refused;
    else ADD_FAILURE() << std::hex << result << " at " << std::dec << i;
  }
  stop = true;
  rewriter.join();
  EXPECT_TRUE(host_.Running());
  EXPECT_GT(sent, 0);
  EXPECT_GT(refused, 0);
}

// An owner window that takes its time when it loses the activation, while
// still answering what other threads send it (as a busy program does).
LRESULT CALLBACK SlowToDeactivate(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool deactivated = (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) ||
                           (message == WM_NCACTIVATE && !wParam) || (message == WM_ACTIVATEAPP && !wParam);
  if (deactivated) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 500) {
      MSG msg;
      PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      Sleep(5);
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A dialog transfer that fails at once (no camera) ends while the window
// thread is still showing its dialog: showing it waits for the owner window,
// and the worker's first message is handled meanwhile. The channel must be
// free again afterwards.
TEST(DialogTransferStart, TransfersEndingAtOnceLeaveTheChannelFree) {
  const std::string address = CamsimProcess::NextAddress();
  ChildProcess host;
  HWND window = StartLinkHost(host, address);
  ASSERT_NE(window, nullptr);
  const std::string key = *DeviceKey(address);
  std::atomic<HWND> owner{nullptr};
  std::atomic<DWORD> ownerThreadId{0};
  std::thread ownerThread([&] {
    ownerThreadId = GetCurrentThreadId();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = SlowToDeactivate;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "LumoSlowOwner";
    RegisterClassA(&windowClass);
    HWND created = CreateWindowA("LumoSlowOwner", "slow owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    owner = created;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(created);
  });
  while (!owner) Sleep(10);
  for (int i = 0; i < 5; ++i) {
    SetForegroundWindow(owner);
    ReceiveParams receive{};
    receive.clientProcessId = GetCurrentProcessId();
    std::strcpy(receive.path, "0:/A.JPG");
    receive.mode = 2;
    receive.progress = {WindowTo32(owner), 1, 1};
    ASSERT_EQ(SendCommand(key.c_str(), CMD_RECEIVE_FILE, &receive, sizeof receive, 10000), 0xFF4Bu) << i;
    QueryStampSizeParams sizes{};
    ASSERT_EQ(SendCommand(key.c_str(), CMD_QUERY_STAMP_SIZE, &sizes, sizeof sizes, 10000), 0xFF4Bu) << i;
  }
  PostThreadMessageA(ownerThreadId, WM_QUIT, 0, 0);
  ownerThread.join();
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(host.Wait(kTimeout), 0u);
}

}  // namespace
