// The upload watchdog against real threads and a real window queue.
#include <gtest/gtest.h>

#include <windows.h>

#include "uploadd/transfer_watchdog.h"

namespace {

constexpr UINT kCloseMessage = WM_USER + 70;

// Activity just before the stop races the watchdog thread's own reset of
// its event: the stop must still end the thread at once and never let it
// report a silence (which would close a connection whose upload is done).
TEST(TransferWatchdog, StopRightAfterActivityNeverReportsSilence) {
  const HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  TransferWatchdog watchdog;
  for (int i = 0; i < 2000; ++i) {
    ASSERT_TRUE(watchdog.Start(window, kCloseMessage, 7));
    watchdog.Signal();
    if (i % 2) Sleep(0);
    watchdog.Stop();
  }
  MSG message;
  EXPECT_FALSE(PeekMessageA(&message, window, kCloseMessage, kCloseMessage, PM_REMOVE));
  DestroyWindow(window);
}

}  // namespace
