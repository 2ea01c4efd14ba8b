// The FTP conversation of one control connection: the eight commands the
// camera sends and their replies. Sockets, files and the window stay with
// the host, so this logic runs the same everywhere.
#pragma once

#include <optional>
#include <string>

#include "ftp_command.h"

struct FtpSettings {
  std::string userName;
  std::string password;
  std::string rootDirectory;  // empty when none is configured
};

// What a control connection offers to its conversation.
class FtpSessionHost {
 public:
  virtual const FtpSettings &Settings() const = 0;
  // Sends a reply (continuing on later send notifications when needed).
  virtual void SendReply(const std::string &reply) = 0;
  virtual void Log(const std::string &line) = 0;
  // Asks the server to close this connection once the handler returns.
  virtual void RequestClose() = 0;
  // The full path of a folder, taken against the process's working
  // directory; none when it cannot be formed.
  virtual std::optional<std::string> FullPath(const std::string &directory) = 0;
  virtual bool SetWorkingDirectory(const std::string &fullPath) = 0;
  // The dotted IPv4 address of the peer of this control connection.
  virtual std::string PeerAddress() = 0;
  virtual void AddConnectionLine(const std::string &line) = 0;
  // Replaces the first line that begins with prefix; false when there is none.
  virtual bool ReplaceConnectionLine(const std::string &prefix, const std::string &line) = 0;
  // Aborts a running upload as failed; false when none runs.
  virtual bool AbortTransfer() = 0;
  // Starts the active data connection that receives the file of targetPath.
  virtual bool StartDataConnection(const DataAddress &address, const std::string &targetPath) = 0;
};

class FtpSession {
 public:
  FtpSession(FtpSessionHost &host, unsigned connectionNumber) : host_(host), number_(connectionNumber) {}

  void SendGreeting();
  // Logs the received line and handles it as one command.
  void HandleLine(const std::string &line);

  // Moves the connection's line in the window's list between the open and
  // the transferring state.
  void ShowTransferring(bool transferring);
  // Sends a reply and logs it.
  void Reply(const std::string &reply);

  unsigned ConnectionNumber() const { return number_; }
  const std::string &DisplayName() const { return displayName_; }

 private:
  void OnUser(const ParsedCommand &command);
  void OnPass(const ParsedCommand &command);
  void OnAcct(const ParsedCommand &command);
  void OnQuit();
  void OnPort(const ParsedCommand &command);
  void OnStor(const ParsedCommand &command);
  void OnAbor();
  void OnCwd(const ParsedCommand &command);
  void OnUnsupported();

  FtpSessionHost &host_;
  unsigned number_;
  std::string displayName_;
  DataAddress data_{"", 0};
  std::string currentDirectory_;  // a full path, or empty
};
