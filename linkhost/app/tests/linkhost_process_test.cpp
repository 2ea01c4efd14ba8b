// linkhost.exe as a process: start-up, its window and information block, and
// the answers it gives without a camera.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "channel_names.h"
#include "child_process.h"
#include "command_client.h"
#include "command_layout.h"
#include "info_block_wait.h"
#include "shared_memory.h"

namespace {

constexpr DWORD kTimeout = 60000;

TEST(LinkHostProcess, CommandLineTooLongForTheDeviceKeyExitsWithMinusOne) {
  // "ZL1_TCPIP_" + 250 characters makes a key of 260 characters.
  const std::string commandLine(250, '1');
  ChildProcess host("linkhost.exe " + commandLine);
  EXPECT_EQ(host.Wait(kTimeout), static_cast<DWORD>(-1));
  EXPECT_EQ(FindWindowA("ZL1_ZLtpProxyServer", ("ZL1_ZLtpProxyServer - " + commandLine).c_str()), nullptr);
}

TEST(LinkHostProcess, ServesCommandsWithoutACameraAndEndsOnClose) {
  const std::string address = "127.0.0.91";
  const std::string key = *DeviceKey(address);
  ChildProcess host("linkhost.exe " + address);
  PublishedServer published;
  ASSERT_TRUE(WaitForInfoBlock(key, kTimeout, published));
  EXPECT_EQ(published.processId, host.Id());
  const HWND window = published.window;
  char title[300] = {}, windowClass[100] = {};
  GetWindowTextA(window, title, sizeof title);
  GetClassNameA(window, windowClass, sizeof windowClass);
  EXPECT_STREQ(title, "ZL1_ZLtpProxyServer - 127.0.0.91");
  EXPECT_STREQ(windowClass, "ZL1_ZLtpProxyServer");
  EXPECT_FALSE(IsWindowVisible(window));

  uint32_t unused = 0;
  EXPECT_EQ(SendCommand(key.c_str(), 400, &unused, 4, kTimeout), 0xFF46u);

  // Without a link every camera operation answers "not connected", and the
  // close command leaves the process running.
  GetDriveListParams list{};
  list.clientProcessId = GetCurrentProcessId();
  EXPECT_EQ(SendCommand(key.c_str(), CMD_GET_DRIVE_LIST, &list, sizeof list, kTimeout), 0xFF4Bu);
  SendCommand(key.c_str(), CMD_CLOSE_CAMERA, nullptr, 0, kTimeout);
  EXPECT_EQ(SendCommand(key.c_str(), CMD_GET_DRIVE_LIST, &list, sizeof list, kTimeout), 0xFF4Bu);
  EXPECT_TRUE(host.Running());

  // Transfer modes 1 and 4 are refused before the camera is asked.
  for (uint16_t mode : {1, 4}) {
    ReceiveParams receive{};
    receive.clientProcessId = GetCurrentProcessId();
    std::strcpy(receive.path, "0:/DCIM/100LUMO01/A.JPG");
    receive.mode = mode;
    EXPECT_EQ(SendCommand(key.c_str(), CMD_RECEIVE_FILE, &receive, sizeof receive, kTimeout), 0xFF83u) << mode;
  }

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(host.Wait(kTimeout), 0u);
  EXPECT_EQ(SendCommand(key.c_str(), CMD_CLOSE_CAMERA, nullptr, 0, kTimeout), 0xFF4Bu);
}

}  // namespace
