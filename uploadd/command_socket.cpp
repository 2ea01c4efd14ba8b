#include "command_socket.h"

#include "ftp_replies.h"
#include "resource.h"
#include "upload_server.h"

namespace {

constexpr int kCommandReadBytes = 1024;

}  // namespace

CCommandSocket::~CCommandSocket() { AbortTransfer(); }

void CCommandSocket::StartSession(unsigned connectionNumber) {
  command_ = std::make_unique<CFtpCommand>();
  session_ = std::make_unique<FtpSession>(static_cast<FtpSessionHost &>(*this), connectionNumber);
  session_->SendGreeting();
}

const std::string &CCommandSocket::DisplayName() const {
  static const std::string kNone;
  return session_ ? session_->DisplayName() : kNone;
}

bool CCommandSocket::ReceiveCommand() {
  char buffer[kCommandReadBytes];
  const int got = Receive(buffer, sizeof buffer);
  if (got == SOCKET_ERROR && GetLastError() == WSAEWOULDBLOCK) return true;
  if (got <= 0) return false;
  if (command_) session_->HandleLine(command_->ReceiveLine(buffer, static_cast<size_t>(got)));
  return true;
}

void CCommandSocket::OnReceive(int) {
  if (!ReceiveCommand()) server_.CloseConnection(ConnectionNumber());
}

void CCommandSocket::OnClose(int) {
  // A command that arrived just before the peer's close is still served.
  // Then the connection ends at once, before any later notification of its
  // upload: a camera that drops its connection mid-file leaves no file.
  u_long pending = 0;
  if (IOCtl(FIONREAD, &pending) && pending > 0) ReceiveCommand();
  server_.CloseConnection(ConnectionNumber());  // destroys this socket
}

bool CCommandSocket::SendPending() {
  while (command_ && command_->UnsentLength() > 0) {
    const int sent = Send(command_->Unsent(), static_cast<int>(command_->UnsentLength()));
    if (sent == SOCKET_ERROR) return GetLastError() == WSAEWOULDBLOCK;
    command_->MarkSent(static_cast<size_t>(sent));
  }
  return true;
}

void CCommandSocket::OnSend(int) {
  if (!SendPending()) server_.CloseConnection(ConnectionNumber());
}

void CCommandSocket::SendReply(const std::string &reply) {
  if (!command_) return;
  command_->AddReply(reply);
  if (!SendPending()) RequestClose();
}

void CCommandSocket::Log(const std::string &line) { server_.Log().Append(line); }

// The close runs from the window's message queue, after the handler that
// asked for it has returned.
void CCommandSocket::RequestClose() {
  PostMessageA(server_.Window(), WM_CLOSE_CONNECTION, 0, static_cast<LPARAM>(ConnectionNumber()));
}

const FtpSettings &CCommandSocket::Settings() const { return server_.Settings().ftp; }

std::optional<std::string> CCommandSocket::FullPath(const std::string &directory) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(directory.c_str(), sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full) return std::nullopt;
  return std::string(full, length);
}

bool CCommandSocket::SetWorkingDirectory(const std::string &fullPath) {
  return SetCurrentDirectoryA(fullPath.c_str()) != 0;
}

std::string CCommandSocket::PeerAddress() {
  std::string address;
  unsigned port = 0;
  return GetPeerName(address, port) ? address : std::string();
}

void CCommandSocket::AddConnectionLine(const std::string &line) { server_.Connections().Add(line); }

bool CCommandSocket::ReplaceConnectionLine(const std::string &prefix, const std::string &line) {
  return server_.Connections().Replace(prefix, line);
}

bool CCommandSocket::StartDataConnection(const DataAddress &address, const std::string &targetPath) {
  auto dataSocket = std::make_unique<CDataSocket>(*this, targetPath, server_.ReceiveBuffer());
  if (!watchdog_.Start(server_.Window(), WM_CLOSE_CONNECTION, ConnectionNumber())) return false;
  dataSocket_ = std::move(dataSocket);
  if (dataSocket_->Start(address.address, address.port)) return true;
  watchdog_.Stop();
  dataSocket_.reset();
  return false;
}

void CCommandSocket::FailTransfer() {
  if (session_) session_->Reply(ftp_reply::kCantCreateFile);
  EndTransfer(true);
}

void CCommandSocket::EndTransfer(bool failed) {
  if (!dataSocket_) return;
  watchdog_.Stop();
  if (session_) session_->ShowTransferring(false);
  const bool placed = dataSocket_->FinishFile(failed);
  if (!failed && session_) session_->Reply(placed ? ftp_reply::kTransferComplete : ftp_reply::kCantCreateFile);
  dataSocket_->ShutDown(SD_BOTH);
  dataSocket_.reset();
}

bool CCommandSocket::AbortTransfer() {
  if (!dataSocket_) return false;
  EndTransfer(true);
  return true;
}
