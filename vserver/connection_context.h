// One accepted TCP connection (or the probe) as the serial link sees it.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "link/frame.h"

namespace vserver {

// Largest payload a connection sends per frame (HTTP and ZLtp control).
constexpr size_t kMaxSendPayload = 1500;

struct ConnectionContext {
  HANDLE listenerStop = nullptr;  // the listener's stop event
  SOCKET socket = INVALID_SOCKET;
  DWORD acceptTick = 0;
  uint32_t received = 0;  // bytes from the client
  uint32_t sent = 0;      // bytes to the client
  int slot = -1;
  // Frames to the camera are built here: header, payload, trailer.
  uint8_t sendFrame[kFrameHeaderSize + kMaxSendPayload + kAckflowTrailerSize] = {};
  // Payloads from the camera land here; kept apart from sendFrame because a
  // ZLtp connection sends and receives at the same time.
  uint8_t receiveBuffer[kMaxFrameBody] = {};
  size_t receivedLength = 0;

  uint8_t *SendPayload() { return sendFrame + kFrameHeaderSize; }
};

}  // namespace vserver
