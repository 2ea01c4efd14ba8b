#include "async_socket.h"

#include <windows.h>

#include <unordered_map>

#include "message_id_pool.h"

namespace winfx {

// The hidden window that receives the notifications of one thread's sockets.
// Each socket gets a message number of its own, so a notification still
// queued for a closed socket never reaches a later socket that happens to
// get the same handle value.
class SocketNotifier {
 public:
  static SocketNotifier &ForThisThread() {
    thread_local SocketNotifier notifier;
    return notifier;
  }

  HWND Window() {
    if (!window_) Create();
    return window_;
  }

  // The socket's message number, or 0 when every number is taken.
  unsigned Register(CAsyncSocket *socket) {
    const auto message = ids_.Take();
    if (!message) return 0;
    sockets_[*message] = socket;
    return *message;
  }
  void Unregister(unsigned message) {
    sockets_.erase(message);
    ids_.Release(message);
  }

 private:
  static constexpr unsigned kFirstMessage = WM_APP + 0x100;
  static constexpr unsigned kLastMessage = 0xBFFF;
  static constexpr const char *kClassName = "LumoWinfxSocketNotifier";

  ~SocketNotifier() {
    if (window_) DestroyWindow(window_);
  }

  void Create() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);  // fails harmlessly when another thread registered it
    window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
  }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= kFirstMessage && message <= kLastMessage) {
      auto &sockets = ForThisThread().sockets_;
      const auto found = sockets.find(message);
      if (found != sockets.end() && found->second->socket_ == static_cast<SOCKET>(wParam))
        found->second->Dispatch(WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam));
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
  MessageIdPool ids_{kFirstMessage, kLastMessage};
  std::unordered_map<unsigned, CAsyncSocket *> sockets_;
};

CAsyncSocket::~CAsyncSocket() { Close(); }

bool CAsyncSocket::Attach(SOCKET socket, long events) {
  socket_ = socket;
  message_ = SocketNotifier::ForThisThread().Register(this);
  if (message_ && AsyncSelect(events)) return true;
  const bool noNumber = message_ == 0;
  Close();
  if (noNumber) WSASetLastError(WSAEMFILE);  // every message number is in use
  return false;
}

bool CAsyncSocket::Create(unsigned port, int type, long events, const char *address) {
  if (socket_ != INVALID_SOCKET) {
    WSASetLastError(WSAEISCONN);
    return false;
  }
  const SOCKET created = socket(AF_INET, type, 0);
  if (created == INVALID_SOCKET) return false;
  if (!Attach(created, events)) return false;
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(static_cast<u_short>(port));
  local.sin_addr.s_addr = address ? inet_addr(address) : htonl(INADDR_ANY);
  if (bind(socket_, reinterpret_cast<const sockaddr *>(&local), sizeof local) == 0) return true;
  const int error = WSAGetLastError();
  Close();
  WSASetLastError(error);
  return false;
}

bool CAsyncSocket::Listen(int backlog) { return listen(socket_, backlog) == 0; }

bool CAsyncSocket::Accept(CAsyncSocket &connected) {
  if (connected.socket_ != INVALID_SOCKET) {
    WSASetLastError(WSAEISCONN);
    return false;
  }
  const SOCKET accepted = accept(socket_, nullptr, nullptr);
  if (accepted == INVALID_SOCKET) return false;
  return connected.Attach(accepted, kAllEvents);
}

bool CAsyncSocket::Connect(const char *address, unsigned port) {
  sockaddr_in remote{};
  remote.sin_family = AF_INET;
  remote.sin_port = htons(static_cast<u_short>(port));
  remote.sin_addr.s_addr = inet_addr(address);
  if (remote.sin_addr.s_addr == INADDR_NONE) {
    WSASetLastError(WSAEINVAL);
    return false;
  }
  return connect(socket_, reinterpret_cast<const sockaddr *>(&remote), sizeof remote) == 0 ||
         WSAGetLastError() == WSAEWOULDBLOCK;
}

int CAsyncSocket::Receive(void *buffer, int length) { return recv(socket_, static_cast<char *>(buffer), length, 0); }

int CAsyncSocket::Send(const void *data, int length) {
  return send(socket_, static_cast<const char *>(data), length, 0);
}

bool CAsyncSocket::IOCtl(long command, u_long *argument) { return ioctlsocket(socket_, command, argument) == 0; }

bool CAsyncSocket::SetSockOpt(int option, const void *value, int length, int level) {
  return setsockopt(socket_, level, option, static_cast<const char *>(value), length) == 0;
}

bool CAsyncSocket::ShutDown(int how) { return shutdown(socket_, how) == 0; }

bool CAsyncSocket::GetPeerName(std::string &address, unsigned &port) const {
  sockaddr_in peer{};
  int length = sizeof peer;
  if (getpeername(socket_, reinterpret_cast<sockaddr *>(&peer), &length) != 0 || peer.sin_family != AF_INET)
    return false;
  const auto *b = reinterpret_cast<const unsigned char *>(&peer.sin_addr);
  address = std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." + std::to_string(b[3]);
  port = ntohs(peer.sin_port);
  return true;
}

bool CAsyncSocket::AsyncSelect(long events) {
  HWND window = SocketNotifier::ForThisThread().Window();
  return window && WSAAsyncSelect(socket_, window, message_, events) == 0;
}

void CAsyncSocket::Close() {
  if (socket_ == INVALID_SOCKET) return;
  if (message_) SocketNotifier::ForThisThread().Unregister(message_);
  closesocket(socket_);
  socket_ = INVALID_SOCKET;
  message_ = 0;
}

void CAsyncSocket::Dispatch(long event, int error) {
  switch (event) {
    case FD_ACCEPT: OnAccept(error); break;
    case FD_CONNECT: OnConnect(error); break;
    case FD_READ: OnReceive(error); break;
    case FD_WRITE: OnSend(error); break;
    case FD_CLOSE: OnClose(error); break;
    case FD_OOB: OnOutOfBandData(error); break;
    default: break;
  }
}

}  // namespace winfx
