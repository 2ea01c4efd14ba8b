// The listening server on port 6222 and its control connections, in order
// of acceptance.
#pragma once

#include <windows.h>

#include <list>
#include <memory>
#include <vector>

#include "async_socket.h"
#include "command_socket.h"
#include "connection_list_box.h"
#include "rolling_log.h"
#include "server_settings.h"

class UploadServer;

class CListeningSocket : public winfx::CAsyncSocket {
 public:
  explicit CListeningSocket(UploadServer &server) : server_(server) {}

 protected:
  void OnAccept(int error) override;

 private:
  UploadServer &server_;
};

class UploadServer {
 public:
  static constexpr int kBacklog = 5;
  // Control connections served at once; a camera uses one, a peer that opens
  // more is refused rather than let it exhaust the window's socket numbers.
  static constexpr size_t kMaxConnections = 32;

  UploadServer(const ServerSettings &settings, RollingLog &log, ConnectionListBox &connections, HWND window)
      : settings_(settings), log_(log), connections_(connections), window_(window) {}
  ~UploadServer();

  // Binds port 6222 on every local address and listens.
  bool Start();
  void OnAccept();
  // Closes one connection (nothing when it is gone already): removes its
  // line, aborts its upload and closes the socket.
  void CloseConnection(unsigned connectionNumber);

  const ServerSettings &Settings() const { return settings_; }
  RollingLog &Log() { return log_; }
  ConnectionListBox &Connections() { return connections_; }
  HWND Window() const { return window_; }
  // Every upload runs on the window thread, one read at a time: they all
  // read into this one buffer.
  std::vector<char> &ReceiveBuffer() { return receiveBuffer_; }

 private:
  const ServerSettings &settings_;
  RollingLog &log_;
  ConnectionListBox &connections_;
  HWND window_;
  std::unique_ptr<CListeningSocket> listening_;
  std::list<std::unique_ptr<CCommandSocket>> sockets_;
  unsigned connectionCount_ = 0;
  std::vector<char> receiveBuffer_;
};
