// Test helper: waits for a link host to publish its information block.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

struct PublishedLinkHost {
  uint32_t processId = 0;
  HWND window = nullptr;
};

// Polls for the device key's information block until it names a window, up to
// timeoutMs (a loaded machine starts Wine processes slowly: over 30 s was
// seen). A block that exists but is not filled in yet is waited for too.
bool WaitForLinkHost(const std::string &deviceKey, DWORD timeoutMs, PublishedLinkHost &host);
