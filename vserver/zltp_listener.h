// The ZLtp ports (control 6220, data 6221): bytes pass through unchanged in
// both directions; a relay thread carries the camera's side to the client
// while the listener thread forwards the client's side.
#pragma once

#include "listener.h"

namespace vserver {

struct ZltpPortTexts {
  const char *accepted;      // "Connection zltpctl accepted on socket:%d from:%s"
  const char *closed;        // "zltpctlThread Close!"
  const char *eventsError;   // "zltpctlThread WSAEnumNetworkEvents ERROR!"
  const char *sendError;     // "zltpctlThread LanSendData Error"
  const char *receiveError;  // "zltpctlThread RecvRequest Error"
  const char *relayTimeout;  // "!!TIMEOUT waiting for ctlThread"
};

class ZltpListener : public Listener {
 public:
  // The control port (channel 0x0600) or the data port (0x0680).
  ZltpListener(ServerParts &parts, bool data);

 private:
  void Serve(SOCKET client, const char *clientAddress) override;
  void Converse(ConnectionContext &context, HANDLE relay);
  bool Forward(ConnectionContext &context, int length) override;
  static DWORD WINAPI RelayThread(void *self);

  bool data_;
  uint16_t type_;
  size_t bytesPerFrame_;
  const ZltpPortTexts &texts_;
};

}  // namespace vserver
