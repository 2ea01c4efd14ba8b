// Test helper: waits for a command server (a link host, or a test's own
// server) to publish its information block.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

struct PublishedServer {
  uint32_t processId = 0;
  HWND window = nullptr;
};

// Polls for the device key's information block until it names a window, up to
// timeoutMs (a loaded or emulated machine starts Wine processes slowly). A
// block that exists but is not filled in yet is waited for too.
bool WaitForInfoBlock(const std::string &deviceKey, DWORD timeoutMs, PublishedServer &server);
