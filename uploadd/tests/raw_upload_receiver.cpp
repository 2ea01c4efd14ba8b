#include "raw_upload_receiver.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

bool SendText(SOCKET s, const std::string &text) {
  return send(s, text.data(), static_cast<int>(text.size()), 0) == static_cast<int>(text.size());
}

// One command line without CR LF; false at the end of the connection. The
// camera sends a command only after the reply to the one before, so what
// a read returns ends with its line.
bool ReadLine(SOCKET s, std::string &line) {
  line.clear();
  char buffer[1024];
  while (line.empty() || line.back() != '\n') {
    const int got = recv(s, buffer, sizeof buffer, 0);
    if (got <= 0) return false;
    line.append(buffer, static_cast<size_t>(got));
  }
  line.erase(line.find_first_of("\r\n"));
  return true;
}

}  // namespace

RawUploadReceiver::RawUploadReceiver(std::string folder) : folder_(std::move(folder)) {
  listener_.reset(socket(AF_INET, SOCK_STREAM, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  if (!listener_ || bind(listener_.get(), reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
      listen(listener_.get(), 1) != 0 ||
      getsockname(listener_.get(), reinterpret_cast<sockaddr *>(&address), &length) != 0)
    return;
  port_ = ntohs(address.sin_port);
}

RawUploadReceiver::~RawUploadReceiver() {
  listener_.reset();  // ends an accept still waiting
  if (thread_.joinable()) thread_.join();
}

void RawUploadReceiver::ServeOneSession() {
  ok_ = false;
  thread_ = std::thread([this] { ok_ = Serve(); });
}

bool RawUploadReceiver::Wait() {
  if (thread_.joinable()) thread_.join();
  return ok_;
}

bool RawUploadReceiver::Serve() {
  unique_socket control(accept(listener_.get(), nullptr, nullptr));
  if (!control) return false;
  const BOOL noDelay = TRUE;
  setsockopt(control.get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char *>(&noDelay), sizeof noDelay);
  if (!SendText(control.get(), "220 ready.\r\n")) return false;
  sockaddr_in data{};
  data.sin_family = AF_INET;
  for (std::string line; ReadLine(control.get(), line);) {
    const std::string verb = line.substr(0, 4);
    std::string reply;
    if (verb == "USER") reply = "331 ok.\r\n";
    else if (verb == "PASS") reply = "332 ok.\r\n";
    else if (verb == "ACCT") reply = "230 ok.\r\n";
    else if (verb == "CWD ") reply = "250 ok.\r\n";
    else if (verb == "PORT") {
      unsigned h1, h2, h3, h4, p1, p2;
      if (std::sscanf(line.c_str() + 5, "%u,%u,%u,%u,%u,%u", &h1, &h2, &h3, &h4, &p1, &p2) != 6) return false;
      data.sin_addr.s_addr = htonl(h1 << 24 | h2 << 16 | h3 << 8 | h4);
      data.sin_port = htons(static_cast<u_short>(p1 << 8 | p2));
      reply = "220 ok.\r\n";
    } else if (verb == "STOR") {
      if (!Store(control.get(), line.substr(5), data)) return false;
      reply = "226 ok.\r\n";
    } else if (verb == "QUIT") {
      return SendText(control.get(), "221 bye.\r\n");
    } else {
      return false;
    }
    if (!SendText(control.get(), reply)) return false;
  }
  return false;
}

bool RawUploadReceiver::Store(SOCKET control, const std::string &name, const sockaddr_in &data) {
  unique_socket connection(socket(AF_INET, SOCK_STREAM, 0));
  if (!connection || connect(connection.get(), reinterpret_cast<const sockaddr *>(&data), sizeof data) != 0 ||
      !SendText(control, "150 ok.\r\n"))
    return false;
  char temporary[MAX_PATH];
  if (!GetTempFileNameA(folder_.c_str(), "ZLX", 0, temporary)) return false;
  unique_file file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::vector<char> buffer(256 * 1024);
  for (;;) {
    const int got = recv(connection.get(), buffer.data(), static_cast<int>(buffer.size()), 0);
    if (got < 0) return false;
    if (got == 0) break;
    DWORD written = 0;
    if (!WriteFile(file.get(), buffer.data(), static_cast<DWORD>(got), &written, nullptr) ||
        written != static_cast<DWORD>(got))
      return false;
  }
  file.reset();
  return MoveFileA(temporary, (folder_ + "\\" + name).c_str()) != 0;
}
