// A camera-like FTP client for the tests: blocking WinSock with time-outs,
// active-mode data connections on port 6223.
#pragma once

#include <winsock2.h>

#include <string>

#include "win_raii.h"

class FtpTestClient {
 public:
  static constexpr int kTimeoutMs = 60000;

  // Connects to 127.0.0.1:6222 and reads the greeting line.
  bool Connect(std::string *greeting = nullptr);
  void Send(const std::string &line);  // CR LF is added
  // The next reply line without CR LF; "" when the connection ended.
  std::string ReadLine();
  // Sends one command and returns its first reply line.
  std::string Command(const std::string &line);
  // Closes the sending half of the control connection, as a peer that goes away.
  void EndSending() { shutdown(control_.get(), SD_SEND); }
  // True once the server closed the connection (reads return end of stream).
  bool WaitClosed(int timeoutMs = kTimeoutMs);

  // Connect, then USER, PASS and ACCT; true when the account was accepted.
  bool ConnectAndLogIn();
  // Listens on 6223 (once) and sends PORT for it; returns the reply.
  std::string Port();
  // Accepts the server's data connection after a STOR's 150.
  unique_socket AcceptData();
  // PORT and STOR name; the accepted data connection once the server
  // opened it, or none.
  unique_socket BeginUpload(const std::string &name);
  // Full upload: PORT, STOR name, the bytes, close; returns the final reply.
  std::string Upload(const std::string &name, const std::string &bytes);

  static bool SendAll(SOCKET socket, const std::string &bytes);
  // Ends a connection with a reset instead of an orderly close.
  static void Reset(unique_socket &socket);

 private:
  unique_socket control_;
  unique_socket listener_;
  std::string buffered_;
};

// WSAStartup and WSACleanup around a test program.
class WinsockEnvironment {
 public:
  WinsockEnvironment() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockEnvironment() { WSACleanup(); }
};
