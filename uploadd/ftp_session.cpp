#include "ftp_session.h"

#include <cctype>

#include "connection_lines.h"
#include "ftp_replies.h"

namespace {

bool EqualNoCase(const std::string &a, const std::string &b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

constexpr int kDataPort = 6223;

}  // namespace

void FtpSession::Reply(const std::string &reply) {
  host_.SendReply(reply);
  host_.Log(SentLogLine(number_, reply));
}

void FtpSession::SendGreeting() { Reply(ftp_reply::kGreeting); }

void FtpSession::HandleLine(const std::string &line) {
  host_.Log(ReceivedLogLine(number_, line));
  const ParsedCommand command = ParseCommand(line);
  switch (command.verb) {
    case FtpVerb::User: OnUser(command); break;
    case FtpVerb::Pass: OnPass(command); break;
    case FtpVerb::Acct: OnAcct(command); break;
    case FtpVerb::Quit: OnQuit(); break;
    case FtpVerb::Port: OnPort(command); break;
    case FtpVerb::Stor: OnStor(command); break;
    case FtpVerb::Abor: OnAbor(); break;
    case FtpVerb::Cwd: OnCwd(command); break;
    case FtpVerb::Unsupported: OnUnsupported(); break;
  }
}

void FtpSession::ShowTransferring(bool transferring) {
  host_.ReplaceConnectionLine(ConnectionLinePrefix(number_, displayName_),
                              ConnectionLine(number_, displayName_, transferring));
}

void FtpSession::OnUser(const ParsedCommand &command) {
  if (!displayName_.empty())
    Reply(ftp_reply::kCantChangeUser);
  else if (command.argument && EqualNoCase(*command.argument, host_.Settings().userName))
    Reply(ftp_reply::kGuestLoginOk);
  else
    Reply(ftp_reply::kLoginIncorrect);
}

void FtpSession::OnPass(const ParsedCommand &command) {
  if (!command.argument || !EqualNoCase(*command.argument, host_.Settings().password)) {
    Reply(ftp_reply::kLoginIncorrect);
    return;
  }
  // A repeated PASS renames the connection's line instead of adding a second
  // one that closing the connection would leave behind.
  const std::string previousPrefix = ConnectionLinePrefix(number_, displayName_);
  const bool listed = !displayName_.empty();
  displayName_ = "User" + std::to_string(number_);
  const std::string line = ConnectionLine(number_, displayName_, false);
  if (!listed || !host_.ReplaceConnectionLine(previousPrefix, line)) host_.AddConnectionLine(line);
  Reply(ftp_reply::kPasswordOk);
}

void FtpSession::OnAcct(const ParsedCommand &command) {
  if (command.argument &&
      host_.ReplaceConnectionLine(ConnectionLinePrefix(number_, displayName_),
                                  ConnectionLine(number_, *command.argument, false)))
    displayName_ = *command.argument;
  Reply(FormatWith(ftp_reply::kAccountOkFormat, displayName_));
}

void FtpSession::OnQuit() {
  Reply(ftp_reply::kClosing);
  Reply(ftp_reply::kGoodBye);
  host_.RequestClose();
}

// The camera always names itself and its port 6223: any other data address
// would make this server connect wherever a peer points it. A refused PORT
// leaves no address behind.
void FtpSession::OnPort(const ParsedCommand &command) {
  const auto address = command.argument ? ParsePortArgument(*command.argument) : std::nullopt;
  if (!address || address->port != kDataPort || address->address != host_.PeerAddress()) {
    data_ = {"", 0};
    Reply(ftp_reply::kPortSyntax);
    return;
  }
  data_ = *address;
  Reply(ftp_reply::kPortOk);
}

void FtpSession::OnStor(const ParsedCommand &command) {
  if (!command.argument) {
    Reply(ftp_reply::kStorSyntax);
    return;
  }
  const std::string &name = *command.argument;
  if (!IsPlainFileName(name)) {
    Reply(FormatWith(ftp_reply::kBadFileNameFormat, name));
    return;
  }
  const std::string &root = host_.Settings().rootDirectory;
  if (!root.empty()) {
    currentDirectory_ = host_.FullPath(root).value_or(root);
  } else if (currentDirectory_.empty()) {
    Reply(ftp_reply::kCantOpenData);
    return;
  }
  if (!host_.SetWorkingDirectory(currentDirectory_)) {
    Reply(FormatWith(ftp_reply::kNoSuchDirectoryFormat, currentDirectory_));
    return;
  }
  std::string target = currentDirectory_;
  if (target.back() != '\\') target += '\\';
  target += name;
  // A transfer still running when the next STOR comes is abandoned as failed,
  // so its socket, file and watchdog never outlive it.
  host_.AbortTransfer();
  if (data_.address.empty() || data_.port <= 0 || !host_.StartDataConnection(data_, target)) {
    Reply(ftp_reply::kCantOpenData);
    return;
  }
  Reply(FormatWith(ftp_reply::kOpeningDataFormat, name));
  ShowTransferring(true);
}

void FtpSession::OnAbor() {
  if (host_.AbortTransfer()) Reply(ftp_reply::kTransferAborted);
  Reply(ftp_reply::kAbortOk);
}

void FtpSession::OnCwd(const ParsedCommand &command) {
  if (!command.argument) {
    Reply(ftp_reply::kCwdSyntax);
    return;
  }
  // The folder is made a full path once, here: a relative one taken again
  // later would be resolved against the folder it already led to.
  const std::string &root = host_.Settings().rootDirectory;
  const std::string &directory = root.empty() ? *command.argument : root;
  const auto full = host_.FullPath(directory);
  // Without a root the camera chooses the folder, but only on a local drive.
  if (!full || (root.empty() && !IsLocalDrivePath(*full))) {
    currentDirectory_.clear();
    Reply(FormatWith(ftp_reply::kNoSuchDirectoryFormat, directory));
    return;
  }
  currentDirectory_ = *full;
  if (host_.SetWorkingDirectory(currentDirectory_))
    Reply(ftp_reply::kCwdOk);
  else
    Reply(FormatWith(ftp_reply::kNoSuchDirectoryFormat, directory));
}

void FtpSession::OnUnsupported() {
  Reply(ftp_reply::kNotSupported);
  Reply(ftp_reply::kNotSupportedClosing);
  Reply(ftp_reply::kNotSupportedGoodBye);
  host_.RequestClose();
}
