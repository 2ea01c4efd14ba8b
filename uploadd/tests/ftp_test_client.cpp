#include "ftp_test_client.h"

#include <ws2tcpip.h>

namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

void SetTimeouts(SOCKET socket) {
  const DWORD timeout = FtpTestClient::kTimeoutMs;
  setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char *>(&timeout), sizeof timeout);
  setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char *>(&timeout), sizeof timeout);
}

}  // namespace

bool FtpTestClient::Connect(std::string *greeting) {
  control_.reset(socket(AF_INET, SOCK_STREAM, 0));
  SetTimeouts(control_.get());
  const sockaddr_in server = Loopback(6222);
  if (connect(control_.get(), reinterpret_cast<const sockaddr *>(&server), sizeof server) != 0) return false;
  const std::string line = ReadLine();
  if (greeting) *greeting = line;
  return !line.empty();
}

bool FtpTestClient::SendAll(SOCKET socket, const std::string &bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const int sent = send(socket, bytes.data() + done, static_cast<int>(bytes.size() - done), 0);
    if (sent <= 0) return false;
    done += static_cast<size_t>(sent);
  }
  return true;
}

void FtpTestClient::Send(const std::string &line) { SendAll(control_.get(), line + "\r\n"); }

std::string FtpTestClient::ReadLine() {
  for (;;) {
    const size_t end = buffered_.find("\r\n");
    if (end != std::string::npos) {
      std::string line = buffered_.substr(0, end);
      buffered_.erase(0, end + 2);
      return line;
    }
    char chunk[1024];
    const int got = recv(control_.get(), chunk, sizeof chunk, 0);
    if (got <= 0) return "";
    buffered_.append(chunk, static_cast<size_t>(got));
  }
}

std::string FtpTestClient::Command(const std::string &line) {
  Send(line);
  return ReadLine();
}

bool FtpTestClient::WaitClosed(int timeoutMs) {
  const DWORD timeout = static_cast<DWORD>(timeoutMs);
  setsockopt(control_.get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char *>(&timeout), sizeof timeout);
  char chunk[256];
  int got;
  while ((got = recv(control_.get(), chunk, sizeof chunk, 0)) > 0) buffered_.append(chunk, static_cast<size_t>(got));
  SetTimeouts(control_.get());
  return got == 0 || (got < 0 && WSAGetLastError() != WSAETIMEDOUT);
}

bool FtpTestClient::ConnectAndLogIn() {
  if (!Connect()) return false;
  Command("USER anonymous");
  Command("PASS tarnwhisk");
  return Command("ACCT K20").rfind("230 ", 0) == 0;
}

std::string FtpTestClient::Port() {
  if (!listener_) {
    listener_.reset(socket(AF_INET, SOCK_STREAM, 0));
    const sockaddr_in local = Loopback(6223);
    bind(listener_.get(), reinterpret_cast<const sockaddr *>(&local), sizeof local);
    listen(listener_.get(), 1);
  }
  return Command("PORT 127,0,0,1,24,79");
}

unique_socket FtpTestClient::AcceptData() {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(listener_.get(), &readable);
  timeval wait{kTimeoutMs / 1000, 0};
  if (select(0, &readable, nullptr, nullptr, &wait) != 1) return unique_socket();
  unique_socket data(accept(listener_.get(), nullptr, nullptr));
  if (data) SetTimeouts(data.get());
  return data;
}

unique_socket FtpTestClient::BeginUpload(const std::string &name) {
  Port();
  if (Command("STOR " + name) != "150 Opening BINARY mode data connection for " + name) return unique_socket();
  return AcceptData();
}

std::string FtpTestClient::Upload(const std::string &name, const std::string &bytes) {
  unique_socket data = BeginUpload(name);
  if (!data || !SendAll(data.get(), bytes)) return "(upload did not start)";
  shutdown(data.get(), SD_SEND);
  data.reset();
  return ReadLine();
}

void FtpTestClient::Reset(unique_socket &socket) {
  const LINGER abortive{1, 0};
  setsockopt(socket.get(), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char *>(&abortive), sizeof abortive);
  socket.reset();
}
