// One control connection: receives command lines, sends replies, and runs
// the upload that a STOR starts.
#pragma once

#include <memory>
#include <string>

#include "async_socket.h"
#include "data_socket.h"
#include "ftp_command.h"
#include "ftp_session.h"
#include "transfer_watchdog.h"

class UploadServer;

class CCommandSocket : public winfx::CAsyncSocket, private FtpSessionHost {
 public:
  explicit CCommandSocket(UploadServer &server) : server_(server) {}
  ~CCommandSocket() override;

  // Takes the connection number and sends the greeting.
  void StartSession(unsigned connectionNumber);
  unsigned ConnectionNumber() const { return session_ ? session_->ConnectionNumber() : 0; }
  const std::string &DisplayName() const;

  // Called by the data connection: activity, a failure, and its end.
  void TransferActivity() { watchdog_.Signal(); }
  void FailTransfer();
  void EndTransfer(bool failed);

  // FtpSessionHost: the server aborts an upload when it closes the connection.
  bool AbortTransfer() override;

 protected:
  void OnReceive(int error) override;
  void OnSend(int error) override;
  void OnClose(int error) override;

 private:
  // FtpSessionHost
  const FtpSettings &Settings() const override;
  void SendReply(const std::string &reply) override;
  void Log(const std::string &line) override;
  void RequestClose() override;
  std::optional<std::string> FullPath(const std::string &directory) override;
  bool SetWorkingDirectory(const std::string &fullPath) override;
  std::string PeerAddress() override;
  void AddConnectionLine(const std::string &line) override;
  bool ReplaceConnectionLine(const std::string &prefix, const std::string &line) override;
  bool StartDataConnection(const DataAddress &address, const std::string &targetPath) override;

  // Sends as much of the pending reply as the socket takes; false on failure.
  bool SendPending();
  // Reads one chunk; false when the connection is to be closed.
  bool ReceiveCommand();

  UploadServer &server_;
  std::unique_ptr<CFtpCommand> command_;
  std::unique_ptr<FtpSession> session_;
  std::unique_ptr<CDataSocket> dataSocket_;
  TransferWatchdog watchdog_;
};
