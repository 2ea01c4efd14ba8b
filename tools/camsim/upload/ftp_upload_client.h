// The camera's direct-upload FTP client: guest login, active-mode data
// connections to its own port 6223, one STOR per file, QUIT. Every wait
// is bounded by the time-out, so a silent server never hangs it.
#pragma once

#include <cstdint>
#include <string>

#include "ftp_reply_reader.h"

struct UploadLogin {
  std::string user = "anonymous";
  std::string password = "tarnwhisk";
  std::string account = "LumoK20";
};

class FtpUploadClient {
 public:
  FtpUploadClient(int timeoutMs, int dataPort) : timeoutMs_(timeoutMs), dataPort_(dataPort) {}
  ~FtpUploadClient();
  FtpUploadClient(const FtpUploadClient &) = delete;
  FtpUploadClient &operator=(const FtpUploadClient &) = delete;

  // Connects and reads the greeting. A non-empty cameraAddress is the local
  // address the connection leaves from, and so the one PORT names: several
  // cameras on one machine each need their own address for data port 6223.
  bool Connect(const std::string &host, int port, const std::string &cameraAddress = "");
  bool Login(const UploadLogin &login);
  bool ChangeDirectory(const std::string &directory);
  // Opens the data port and names it with PORT.
  bool AnnounceDataPort();
  // STOR of one local file under remoteName; bytesSent gets its size.
  bool Store(const std::string &localPath, const std::string &remoteName, uint64_t &bytesSent);
  bool Quit();

  // What went wrong last, for the user.
  const std::string &Error() const { return error_; }

 private:
  bool Send(const std::string &command);
  bool Expect(int code, FtpReply *reply = nullptr);
  bool ReadReply(FtpReply &reply);
  bool SendFile(int dataSocket, const std::string &localPath, uint64_t &bytesSent);
  bool Fail(const std::string &why);

  int timeoutMs_;
  int dataPort_;
  int control_ = -1;
  int listener_ = -1;
  FtpReplyReader reader_;
  std::string error_;
};
