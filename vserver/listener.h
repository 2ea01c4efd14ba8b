// A listening TCP port of the server with its thread, which accepts and
// serves one connection at a time.
#pragma once

#include <winsock2.h>

#include <cstdint>
#include <memory>

#include "channel_table.h"
#include "event_log.h"
#include "serial_link.h"

namespace vserver {

// What every connection of the server works with.
struct ServerParts {
  SerialLink &link;
  ChannelTable &table;
  EventLog &log;
};

// The listener's own log texts.
struct ListenerTexts {
  const char *socketError;
  const char *bindError;
  const char *listenError;
  const char *threadError;  // with the system error
  const char *timeout;
};

class Listener {
 public:
  Listener(ServerParts &parts, const ListenerTexts &texts);
  virtual ~Listener();
  Listener(const Listener &) = delete;
  Listener &operator=(const Listener &) = delete;

  // bufferSize 0 keeps the system's socket buffers.
  bool Start(uint16_t port, int bufferSize, int backlog);
  void Stop();

 protected:
  // Serves one accepted connection; returns when it has ended.
  virtual void Serve(SOCKET client, const char *clientAddress) = 0;
  // The context of an accepted connection with a slot of the channel type;
  // null (the client closed) when there is no memory or no free slot.
  std::unique_ptr<ConnectionContext> OpenConnection(SOCKET client, uint16_t type);
  // Closes the client, reports the connection's statistics, frees the slot.
  void CloseConnection(ConnectionContext &context);
  // Sends what the client sent to the camera; false ends the connection.
  virtual bool Forward(ConnectionContext &context, int length) = 0;
  // After the client closed: forwards what it sent before; false when that failed.
  bool ForwardRest(ConnectionContext &context, size_t bytesPerFrame);

  ServerParts &parts_;

 private:
  static DWORD WINAPI Thread(void *self);
  void AcceptLoop();

  ListenerTexts texts_;
  SOCKET socket_ = INVALID_SOCKET;
  HANDLE stop_ = nullptr;
  HANDLE thread_ = nullptr;
};

// Waits for the client's read or close event, the stop event, or an extra
// handle; what woke the wait.
enum class ClientEvent { Network, Stop, Extra, Timeout };
ClientEvent WaitForClient(WSAEVENT network, HANDLE stop, HANDLE extra, DWORD timeoutMs);

}  // namespace vserver
