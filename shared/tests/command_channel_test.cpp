// The command channel between two real processes: this test and the channel
// test server, which serves commands through the real command block.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "child_process.h"
#include "channel_names.h"
#include "channel_test_protocol.h"
#include "command_client.h"
#include "command_layout.h"
#include "info_block_wait.h"
#include "shared_memory.h"
#include "win_raii.h"

namespace {

constexpr DWORD kTimeout = 60000;

// Starts channel_test_server.exe for one camera address and stops it again.
class TestServer {
 public:
  explicit TestServer(const std::string &address) : key_(*DeviceKey(address)) {
    std::string commandLine = "channel_test_server.exe " + address;
    STARTUPINFOA si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (!StartProcess(commandLine, FALSE, si, pi)) return;
    CloseHandle(pi.hThread);
    process_.reset(pi.hProcess);
    // Up to three minutes: an emulated Wine process starts that slowly.
    PublishedServer published;
    if (WaitForInfoBlock(key_, 180000, published)) window_ = published.window;
  }
  ~TestServer() {
    if (!process_) return;
    PostMessageA(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0) TerminateProcess(process_.get(), 1);
  }
  bool Running() const { return window_ != nullptr; }
  bool Exited() const { return WaitForSingleObject(process_.get(), 10000) == WAIT_OBJECT_0; }
  const char *Key() const { return key_.c_str(); }

 private:
  std::string key_;
  unique_handle process_;
  HWND window_ = nullptr;
};

// Parameters of the echo commands: their size, then payload bytes.
std::vector<uint8_t> EchoParams(uint32_t size, uint8_t first = 10) {
  std::vector<uint8_t> p(size);
  std::memcpy(p.data(), &size, 4);
  for (uint32_t i = 4; i < size; ++i) p[i] = static_cast<uint8_t>(first + i);
  return p;
}

bool EchoedOnce(const std::vector<uint8_t> &sent, const std::vector<uint8_t> &back) {
  for (size_t i = 4; i < sent.size(); ++i)
    if (back[i] != static_cast<uint8_t>(sent[i] + 1)) return false;
  return true;
}

uint32_t ServedCount(const char *key) {
  uint32_t count = 0xFFFFFFFF;
  EXPECT_EQ(SendCommand(key, kServedCount, &count, 4, kTimeout), 0u);
  return count;
}

class CommandChannel : public ::testing::Test {
 protected:
  // The longest address (15 characters) keeps every name below 260.
  static void SetUpTestSuite() { server_ = new TestServer("127.100.100.100"); }
  static void TearDownTestSuite() { delete server_; }
  void SetUp() override { ASSERT_TRUE(server_->Running()); }
  const char *Key() { return server_->Key(); }
  static TestServer *server_;
};
TestServer *CommandChannel::server_;

TEST(CommandChannelClient, NoLinkHostGivesNotConnectedAtOnce) {
  const DWORD start = GetTickCount();
  EXPECT_EQ(SendCommand("ZL1_TCPIP_10.254.254.254", CMD_CLOSE_CAMERA, nullptr, 0, kTimeout), 0xFF4Bu);
  EXPECT_LT(GetTickCount() - start, kTimeout / 2);
}

TEST(CommandChannelClient, RefusesMissingKeyZeroCodeAndMissingBuffer) {
  uint32_t p = 0;
  EXPECT_EQ(SendCommand(nullptr, kEcho, &p, 4, kTimeout), 0xFF4Au);
  EXPECT_EQ(SendCommand("ZL1_TCPIP_1.2.3.4", 0, &p, 4, kTimeout), 0xFF4Au);
  EXPECT_EQ(SendCommand("ZL1_TCPIP_1.2.3.4", kEcho, nullptr, 4, kTimeout), 0xFF4Au);
}

TEST_F(CommandChannel, CommandWithoutParameters) {
  EXPECT_EQ(SendCommand(Key(), CMD_CLOSE_CAMERA, nullptr, 0, kTimeout), 0u);
}

TEST_F(CommandChannel, UnknownCodeIsNotSupported) {
  uint32_t p = 0;
  EXPECT_EQ(SendCommand(Key(), 400, &p, 4, kTimeout), 0xFF46u);
}

TEST_F(CommandChannel, ResultsComeBackInTheParameterBuffer) {
  for (uint32_t size : {4u, 5u, 4088u, 4096u, 70000u}) {
    const auto sent = EchoParams(size);
    auto buffer = sent;
    ASSERT_EQ(SendCommand(Key(), kEcho, buffer.data(), size, kTimeout), 0u) << size;
    EXPECT_TRUE(EchoedOnce(sent, buffer)) << size;
  }
}

TEST_F(CommandChannel, SuccessKeepsItsDetailWord) {
  auto buffer = EchoParams(16);
  EXPECT_EQ(SendCommand(Key(), kDetailWord, buffer.data(), 16, kTimeout), 0xABCD0000u);
  EXPECT_TRUE(EchoedOnce(EchoParams(16), buffer));
}

TEST_F(CommandChannel, ErrorLeavesTheCallersBufferAsSent) {
  const auto sent = EchoParams(32);
  auto buffer = sent;
  EXPECT_EQ(SendCommand(Key(), kErrorAfterWrite, buffer.data(), 32, kTimeout), 0xFE07u);
  EXPECT_EQ(buffer, sent);
}

TEST_F(CommandChannel, ListTravelsAsADuplicatedMapping) {
  GetDriveListParams p{};
  p.clientProcessId = GetCurrentProcessId();
  p.count = 3;
  ASSERT_EQ(SendCommand(Key(), CMD_GET_DRIVE_LIST, &p, sizeof p, kTimeout), 0u);
  ASSERT_NE(p.mapping, 0u);
  unique_hglobal list(TakeResultMapping(p.mapping, 3 * sizeof(tagZLXDRIVELISTENTRY)));
  ASSERT_TRUE(list);
  EXPECT_EQ(GlobalSize(list.get()), 3 * sizeof(tagZLXDRIVELISTENTRY));
  EXPECT_EQ(GlobalFlags(list.get()) & GMEM_LOCKCOUNT, 0u);
  global_lock entries(list.get());
  const auto *drive = static_cast<const tagZLXDRIVELISTENTRY *>(entries.get());
  EXPECT_STREQ(drive[2].name, "DRIVE2");
  EXPECT_EQ(drive[2].number, 2u);
  EXPECT_EQ(drive[1].present, 1u);
}

TEST_F(CommandChannel, EmptyListIsASuccessWithoutMapping) {
  GetDriveListParams p{};
  p.clientProcessId = GetCurrentProcessId();
  p.count = 0;
  p.mapping = 0x1234;
  ASSERT_EQ(SendCommand(Key(), CMD_GET_DRIVE_LIST, &p, sizeof p, kTimeout), 0u);
  EXPECT_EQ(p.mapping, 0u);
  EXPECT_EQ(TakeResultMapping(0, 0), nullptr);
}

TEST_F(CommandChannel, ResultMappingShorterThanClaimedIsRefused) {
  GetDriveListParams p{};
  p.clientProcessId = GetCurrentProcessId();
  p.count = 1;
  ASSERT_EQ(SendCommand(Key(), CMD_GET_DRIVE_LIST, &p, sizeof p, kTimeout), 0u);
  EXPECT_EQ(TakeResultMapping(p.mapping, 1 << 20), nullptr);
}

TEST_F(CommandChannel, TimeOutThenTheLateReplyDoesNotDisturbTheNextCommand) {
  auto slow = EchoParams(8);
  const uint32_t sleepMs = 1500;
  std::memcpy(slow.data() + 4, &sleepMs, 4);
  const auto slowSent = slow;
  EXPECT_EQ(SendCommand(Key(), kSlowEcho, slow.data(), 8, 200), 0xFF68u);
  EXPECT_EQ(slow, slowSent);
  // The next command waits for the block until the server has finished the
  // late one, then gets its own answer.
  const auto sent = EchoParams(64, 50);
  auto buffer = sent;
  ASSERT_EQ(SendCommand(Key(), kEcho, buffer.data(), 64, kTimeout), 0u);
  EXPECT_TRUE(EchoedOnce(sent, buffer));
}

uint32_t HandleCount(const char *key) {
  uint32_t count = 0;
  EXPECT_EQ(SendCommand(key, kHandleCount, &count, 4, kTimeout), 0u);
  return count;
}

TEST_F(CommandChannel, CommandsGivenUpBeforeTheyAreServedLeaveNoEventBehind) {
  const uint32_t before = HandleCount(Key());
  const uint32_t servedBefore = ServedCount(Key());
  for (int i = 0; i < 5; ++i) {
    // The server stays busy after its answer; the next command's client gives
    // up before the server has even looked at its block.
    uint32_t busyMs = 700;
    ASSERT_EQ(SendCommand(Key(), kBusyAfterAnswer, &busyMs, 4, kTimeout), 0u);
    auto echo = EchoParams(16);
    EXPECT_EQ(SendCommand(Key(), kEcho, echo.data(), 16, 100), 0xFF68u);
    // The server finds that command's block gone once it is free again.
    Sleep(800);
  }
  // Each given-up command is gone: none was served late.
  EXPECT_EQ(ServedCount(Key()), servedBefore + 6);
  EXPECT_EQ(HandleCount(Key()), before);
}

TEST_F(CommandChannel, ReusedBlockTooSmallForTheCommandIsRefusedUnwritten) {
  const uint32_t before = ServedCount(Key());
  {
    // A block of the same name still held elsewhere, one page long.
    CSharedMemory stale;
    ASSERT_TRUE(stale.Create(CommandBlockName(Key())->c_str(), PAGE_READWRITE, 8 + 16));
    auto *view = static_cast<uint8_t *>(stale.Lock(false));
    ASSERT_TRUE(view);
    std::vector<uint8_t> pageBefore(view, view + stale.ViewSize());
    stale.Unlock();

    auto big = EchoParams(20000);
    const auto sent = big;
    EXPECT_EQ(SendCommand(Key(), kEcho, big.data(), 20000, kTimeout), 0xFF87u);
    EXPECT_EQ(big, sent);
    view = static_cast<uint8_t *>(stale.Lock(false));
    EXPECT_TRUE(std::equal(pageBefore.begin(), pageBefore.end(), view));
    stale.Unlock();

    // A command that fits the old block still works through it.
    auto small = EchoParams(100);
    ASSERT_EQ(SendCommand(Key(), kEcho, small.data(), 100, kTimeout), 0u);
    EXPECT_TRUE(EchoedOnce(EchoParams(100), small));
  }
  EXPECT_EQ(ServedCount(Key()), before + 2);  // the small echo and the first count
  auto big = EchoParams(20000);
  ASSERT_EQ(SendCommand(Key(), kEcho, big.data(), 20000, kTimeout), 0u);
  EXPECT_TRUE(EchoedOnce(EchoParams(20000), big));
}

TEST(CommandChannelServerGone, LinkHostDyingWhileServingEndsTheWait) {
  TestServer server("127.0.0.43");
  ASSERT_TRUE(server.Running());
  uint32_t p = 0;
  EXPECT_EQ(SendCommand(server.Key(), kDieWhileServing, &p, 4, kTimeout), 0xFF4Bu);
  EXPECT_TRUE(server.Exited());
  EXPECT_EQ(SendCommand(server.Key(), CMD_CLOSE_CAMERA, nullptr, 0, kTimeout), 0xFF4Bu);
}

}  // namespace
