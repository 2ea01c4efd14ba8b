#include "ftp_upload_client.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

bool WaitFor(int socket, short events, int timeoutMs) {
  pollfd p{socket, events, 0};
  int ready;
  do ready = poll(&p, 1, timeoutMs);
  while (ready < 0 && errno == EINTR);
  return ready > 0;
}

bool SendAll(int socket, const char *data, size_t length, int timeoutMs) {
  while (length > 0) {
    if (!WaitFor(socket, POLLOUT, timeoutMs)) return false;
    const ssize_t sent = send(socket, data, length, MSG_NOSIGNAL);
    if (sent < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (sent <= 0) return false;
    data += sent;
    length -= static_cast<size_t>(sent);
  }
  return true;
}

// The reply text without its code, for messages.
std::string Describe(const FtpReply &reply) { return reply.lines.empty() ? "" : reply.lines.back(); }

}  // namespace

FtpUploadClient::~FtpUploadClient() {
  if (control_ >= 0) close(control_);
  if (listener_ >= 0) close(listener_);
}

bool FtpUploadClient::Fail(const std::string &why) {
  error_ = why;
  return false;
}

bool FtpUploadClient::Connect(const std::string &host, int port, const std::string &cameraAddress) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo *found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found)
    return Fail("unknown host " + host);
  control_ = socket(AF_INET, SOCK_STREAM, 0);
  if (control_ < 0) {
    freeaddrinfo(found);
    return Fail(std::string("cannot create a socket: ") + strerror(errno));
  }
  if (!cameraAddress.empty()) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    if (inet_pton(AF_INET, cameraAddress.c_str(), &local.sin_addr) != 1 ||
        bind(control_, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0) {
      freeaddrinfo(found);
      return Fail("cannot use the camera address " + cameraAddress + ": " + strerror(errno));
    }
  }
  const int flags = fcntl(control_, F_GETFL);
  fcntl(control_, F_SETFL, flags | O_NONBLOCK);
  int result = connect(control_, found->ai_addr, found->ai_addrlen);
  freeaddrinfo(found);
  if (result < 0 && errno == EINPROGRESS) {
    int error = ETIMEDOUT;
    socklen_t length = sizeof error;
    if (WaitFor(control_, POLLOUT, timeoutMs_)) getsockopt(control_, SOL_SOCKET, SO_ERROR, &error, &length);
    result = error == 0 ? 0 : -1;
    errno = error;
  }
  // Commands are whole lines: send each at once.
  const int noDelay = 1;
  setsockopt(control_, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
  if (result < 0) return Fail("cannot connect to " + host + ":" + std::to_string(port) + ": " + strerror(errno));
  return Expect(220);
}

bool FtpUploadClient::Send(const std::string &command) {
  const std::string line = command + "\r\n";
  if (!SendAll(control_, line.data(), line.size(), timeoutMs_)) return Fail("cannot send " + command);
  return true;
}

bool FtpUploadClient::ReadReply(FtpReply &reply) {
  for (;;) {
    if (auto next = reader_.Next()) {
      reply = std::move(*next);
      return true;
    }
    if (reader_.Failed()) return Fail(reader_.Error());
    if (!WaitFor(control_, POLLIN, timeoutMs_)) return Fail("no reply from the server");
    char buffer[1024];
    const ssize_t got = recv(control_, buffer, sizeof buffer, 0);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got <= 0) return Fail("the server closed the connection");
    for (ssize_t i = 0; i < got; ++i) reader_.Feed(buffer[i]);
  }
}

bool FtpUploadClient::Expect(int code, FtpReply *out) {
  FtpReply reply;
  if (!ReadReply(reply)) return false;
  if (out) *out = reply;
  if (reply.code != code) return Fail("unexpected reply: " + Describe(reply));
  return true;
}

bool FtpUploadClient::Login(const UploadLogin &login) {
  // The server answers PASS with 332 (send your account) and ACCT with 230.
  return Send("USER " + login.user) && Expect(331) && Send("PASS " + login.password) && Expect(332) &&
         Send("ACCT " + login.account) && Expect(230);
}

bool FtpUploadClient::ChangeDirectory(const std::string &directory) {
  return Send("CWD " + directory) && Expect(250);
}

bool FtpUploadClient::AnnounceDataPort() {
  sockaddr_in local{};
  socklen_t length = sizeof local;
  if (getsockname(control_, reinterpret_cast<sockaddr *>(&local), &length) != 0)
    return Fail("cannot find the local address");
  if (listener_ < 0) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    if (listener_ < 0) return Fail(std::string("cannot create a socket: ") + strerror(errno));
    const int yes = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in data = local;
    data.sin_port = htons(static_cast<uint16_t>(dataPort_));
    if (bind(listener_, reinterpret_cast<sockaddr *>(&data), sizeof data) != 0 || listen(listener_, 1) != 0)
      return Fail("cannot listen on data port " + std::to_string(dataPort_) + ": " + strerror(errno));
  }
  const uint32_t address = ntohl(local.sin_addr.s_addr);
  const std::string argument = std::to_string(address >> 24) + "," + std::to_string((address >> 16) & 255) + "," +
                               std::to_string((address >> 8) & 255) + "," + std::to_string(address & 255) + "," +
                               std::to_string(dataPort_ >> 8) + "," + std::to_string(dataPort_ & 255);
  return Send("PORT " + argument) && Expect(220);
}

bool FtpUploadClient::SendFile(int dataSocket, const std::string &localPath, uint64_t &bytesSent) {
  const int file = open(localPath.c_str(), O_RDONLY);
  if (file < 0) return Fail("cannot read " + localPath + ": " + strerror(errno));
  std::vector<char> buffer(256 * 1024);
  bool ok = true;
  for (;;) {
    const ssize_t got = read(file, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ok = Fail("cannot read " + localPath + ": " + strerror(errno));
    if (got <= 0) break;
    if (!SendAll(dataSocket, buffer.data(), static_cast<size_t>(got), timeoutMs_)) {
      ok = Fail("the data connection failed");
      break;
    }
    bytesSent += static_cast<uint64_t>(got);
  }
  close(file);
  return ok;
}

bool FtpUploadClient::Store(const std::string &localPath, const std::string &remoteName, uint64_t &bytesSent) {
  bytesSent = 0;
  if (access(localPath.c_str(), R_OK) != 0) return Fail("cannot read " + localPath + ": " + strerror(errno));
  if (!Send("STOR " + remoteName) || !Expect(150)) return false;
  if (!WaitFor(listener_, POLLIN, timeoutMs_)) return Fail("the server did not open the data connection");
  const int data = accept(listener_, nullptr, nullptr);
  if (data < 0) return Fail(std::string("cannot accept the data connection: ") + strerror(errno));
  fcntl(data, F_SETFL, fcntl(data, F_GETFL) | O_NONBLOCK);
  const bool sent = SendFile(data, localPath, bytesSent);
  close(data);
  return sent && Expect(226);
}

bool FtpUploadClient::Quit() { return Send("QUIT") && Expect(221); }
