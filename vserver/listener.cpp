#include "listener.h"

#include <new>

#include "client_socket.h"

namespace vserver {
namespace {
constexpr DWORD kThreadExitMs = 1000;
}  // namespace

Listener::Listener(ServerParts &parts, const ListenerTexts &texts) : parts_(parts), texts_(texts) {}

Listener::~Listener() { Stop(); }

bool Listener::Start(uint16_t port, int bufferSize, int backlog) {
  EventLog &log = parts_.log;
  socket_ = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_OVERLAPPED);
  if (socket_ == INVALID_SOCKET) {
    log.LogError(texts_.socketError, WSAGetLastError());
    return false;
  }
  if (bufferSize > 0) {
    setsockopt(socket_, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char *>(&bufferSize), sizeof bufferSize);
    setsockopt(socket_, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char *>(&bufferSize), sizeof bufferSize);
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  address.sin_port = htons(port);
  if (bind(socket_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
    log.LogError(texts_.bindError, WSAGetLastError());
    Stop();
    return false;
  }
  if (listen(socket_, backlog) != 0) {
    log.LogError(texts_.listenError, WSAGetLastError());
    Stop();
    return false;
  }
  stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ = stop_ ? CreateThread(nullptr, 0, Thread, this, 0, nullptr) : nullptr;
  if (!thread_) {
    parts_.log.Logf(texts_.threadError, static_cast<int>(GetLastError()));
    Stop();
    return false;
  }
  return true;
}

void Listener::Stop() {
  if (stop_) SetEvent(stop_);
  if (socket_ != INVALID_SOCKET) closesocket(socket_);
  socket_ = INVALID_SOCKET;
  if (thread_) {
    if (WaitForSingleObject(thread_, kThreadExitMs) != WAIT_OBJECT_0) {
      parts_.log.Log(texts_.timeout);
      // Every wait of the thread ends on the stop event: it follows soon.
      WaitForSingleObject(thread_, INFINITE);
    }
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  if (stop_) CloseHandle(stop_);
  stop_ = nullptr;
}

std::unique_ptr<ConnectionContext> Listener::OpenConnection(SOCKET client, uint16_t type) {
  std::unique_ptr<ConnectionContext> context(new (std::nothrow) ConnectionContext);
  if (!context) {
    parts_.log.Log("No memory for client request");
    closesocket(client);
    return nullptr;
  }
  context->listenerStop = stop_;
  context->socket = client;
  context->acceptTick = GetTickCount();
  if (parts_.table.AllocateSlot(*context) < 0) {
    closesocket(client);
    return nullptr;
  }
  parts_.table.ArmSlot(*context, type);
  return context;
}

void Listener::CloseConnection(ConnectionContext &context) {
  CloseClientSocket(context.socket, context.slot, parts_.log);
  parts_.log.Report({GetTickCount() - context.acceptTick, context.received, context.sent});
  parts_.table.FreeSlot(context);
}

bool Listener::ForwardRest(ConnectionContext &context, size_t bytesPerFrame) {
  int length;
  while ((length = ReceiveFromClient(context.socket, reinterpret_cast<char *>(context.SendPayload()), bytesPerFrame,
                                     context.listenerStop, parts_.log)) > 0) {
    if (!Forward(context, length)) return false;
  }
  return true;
}

DWORD WINAPI Listener::Thread(void *self) {
  static_cast<Listener *>(self)->AcceptLoop();
  return 0;
}

void Listener::AcceptLoop() {
  WSAEVENT acceptEvent = WSACreateEvent();
  const SOCKET listening = socket_;
  WSAEventSelect(listening, acceptEvent, FD_ACCEPT);
  for (;;) {
    HANDLE events[2] = {stop_, acceptEvent};
    if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) break;
    WSAResetEvent(acceptEvent);
    sockaddr_in from{};
    int fromLength = sizeof from;
    const SOCKET client = accept(listening, reinterpret_cast<sockaddr *>(&from), &fromLength);
    if (client == INVALID_SOCKET) continue;
    // The accepted socket inherits the accept selection; each connection selects its own events.
    WSAEventSelect(client, nullptr, 0);
    Serve(client, inet_ntoa(from.sin_addr));
  }
  WSACloseEvent(acceptEvent);
}

ClientEvent WaitForClient(WSAEVENT network, HANDLE stop, HANDLE extra, DWORD timeoutMs) {
  HANDLE events[3] = {network, stop, extra};
  switch (WaitForMultipleObjects(extra ? 3 : 2, events, FALSE, timeoutMs)) {
    case WAIT_OBJECT_0:
      return ClientEvent::Network;
    case WAIT_OBJECT_0 + 1:
      return ClientEvent::Stop;
    case WAIT_OBJECT_0 + 2:
      return ClientEvent::Extra;
    default:
      return ClientEvent::Timeout;
  }
}

}  // namespace vserver
