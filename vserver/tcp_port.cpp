// The TCP-backed port: the cable is a TCP connection to a simulated camera
// ("tcp:HOST:PORT"). Line settings have no meaning on it; DSR is on while
// the peer keeps the connection open.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>

#include "serial_port.h"
#include "win_raii.h"

namespace vserver {
namespace {

constexpr DWORD kWriteTimeoutMs = 3000;  // as the COM port's write time-out

class TcpPort : public SerialPort {
 public:
  explicit TcpPort(unique_socket socket) : socket_(std::move(socket)) { InitializeCriticalSection(&writeLock_); }
  ~TcpPort() override { DeleteCriticalSection(&writeLock_); }

  bool Setup(uint32_t, EventLog &) override { return true; }
  bool SetSpeed(uint32_t) override { return true; }
  bool RaiseLines() override { return peerOpen_; }

  bool Write(const uint8_t *data, size_t length) override {
    EnterCriticalSection(&writeLock_);
    bool ok = true;
    while (length > 0 && ok) {
      const int sent = send(socket_.get(), reinterpret_cast<const char *>(data), static_cast<int>(length), 0);
      ok = sent > 0;
      if (ok) {
        data += sent;
        length -= static_cast<size_t>(sent);
      }
    }
    const DWORD error = ok ? 0 : WSAGetLastError();
    LeaveCriticalSection(&writeLock_);
    if (!ok) SetLastError(error);
    return ok;
  }

  bool Poll(DWORD &errors, size_t &queued) override {
    errors = 0;
    queued = 0;
    u_long waiting = 0;
    if (ioctlsocket(socket_.get(), FIONREAD, &waiting) != 0) {
      peerOpen_ = false;
      return true;
    }
    queued = waiting;
    if (waiting == 0 && peerOpen_) {
      // Readable with nothing to read means the peer closed the connection.
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(socket_.get(), &readable);
      timeval now{0, 0};
      if (select(0, &readable, nullptr, nullptr, &now) == 1) {
        char probe;
        if (recv(socket_.get(), &probe, 1, MSG_PEEK) <= 0) peerOpen_ = false;
      }
    }
    return true;
  }

  bool Read(uint8_t *buffer, size_t capacity, size_t &got) override {
    const int read = recv(socket_.get(), reinterpret_cast<char *>(buffer), static_cast<int>(capacity), 0);
    if (read <= 0) {
      got = 0;
      if (read == 0) peerOpen_ = false;
      SetLastError(read == 0 ? WSAECONNRESET : WSAGetLastError());
      return false;
    }
    got = static_cast<size_t>(read);
    return true;
  }

  bool DsrOn() override { return peerOpen_; }
  void ClearErrors() override {}
  void Shutdown(bool) override { shutdown(socket_.get(), SD_BOTH); }

 private:
  unique_socket socket_;
  CRITICAL_SECTION writeLock_;
  std::atomic<bool> peerOpen_{true};
};

}  // namespace

bool IsTcpPortName(const std::string &name) { return name.compare(0, 4, "tcp:") == 0; }

std::unique_ptr<SerialPort> OpenTcpPort(const std::string &name, DWORD &error) {
  const size_t colon = name.rfind(':');
  if (!IsTcpPortName(name) || colon <= 4) {
    error = ERROR_INVALID_NAME;
    return nullptr;
  }
  const std::string host = name.substr(4, colon - 4);
  const std::string port = name.substr(colon + 1);
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo *found = nullptr;
  if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0 || !found) {
    error = WSAGetLastError();
    return nullptr;
  }
  unique_socket socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  const bool connected =
      socket && connect(socket.get(), found->ai_addr, static_cast<int>(found->ai_addrlen)) == 0;
  freeaddrinfo(found);
  if (!connected) {
    error = WSAGetLastError();
    return nullptr;
  }
  const DWORD timeout = kWriteTimeoutMs;
  setsockopt(socket.get(), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char *>(&timeout), sizeof timeout);
  const BOOL noDelay = TRUE;
  setsockopt(socket.get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char *>(&noDelay), sizeof noDelay);
  return std::make_unique<TcpPort>(std::move(socket));
}

}  // namespace vserver
