// The benchmark's baseline receiver: the least work an upload server must
// do for the camera's uploads, in a Wine process. It answers the camera's
// FTP commands with fixed replies, and per STOR connects to the camera's
// data port, receives with blocking reads into a temporary file written
// with WriteFile, and renames it into place. One session at a time, on a
// thread of its own.
#pragma once

#include <winsock2.h>

#include <string>
#include <thread>

#include "win_raii.h"

class RawUploadReceiver {
 public:
  // Listens on an ephemeral loopback port; files go into folder.
  explicit RawUploadReceiver(std::string folder);
  ~RawUploadReceiver();
  RawUploadReceiver(const RawUploadReceiver &) = delete;
  RawUploadReceiver &operator=(const RawUploadReceiver &) = delete;

  // 0 when the listening socket could not be made.
  int Port() const { return port_; }
  // Serves the next session (to its QUIT or end) on the thread.
  void ServeOneSession();
  // Waits for that session; false when a step of it failed.
  bool Wait();

 private:
  bool Serve();
  bool Store(SOCKET control, const std::string &name, const sockaddr_in &data);

  std::string folder_;
  unique_socket listener_;
  int port_ = 0;
  std::thread thread_;
  bool ok_ = false;
};
