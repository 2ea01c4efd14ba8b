#include "upload_server.h"

#include <string>

#include "connection_lines.h"

void CListeningSocket::OnAccept(int) { server_.OnAccept(); }

UploadServer::~UploadServer() {
  listening_.reset();
  while (!sockets_.empty()) CloseConnection(sockets_.front()->ConnectionNumber());
}

bool UploadServer::Start() {
  auto listening = std::make_unique<CListeningSocket>(*this);
  if (!listening->Create(ServerSettings::kPort, SOCK_STREAM, FD_ACCEPT) || !listening->Listen(kBacklog)) return false;
  listening_ = std::move(listening);
  return true;
}

void UploadServer::OnAccept() {
  if (!listening_) return;
  if (sockets_.size() >= kMaxConnections) {
    // Taken off the queue and closed at once, without a greeting.
    winfx::CAsyncSocket refused;
    if (listening_->Accept(refused)) {
      refused.Close();
      log_.Append("Refused client connection: " + std::to_string(kMaxConnections) + " connections are open.");
    }
    return;
  }
  auto socket = std::make_unique<CCommandSocket>(*this);
  if (!listening_->Accept(*socket)) return;
  // Replies are whole lines sent at once: holding one back until the
  // previous reply is acknowledged would only add a delayed-ACK wait.
  const BOOL noDelay = TRUE;
  socket->SetSockOpt(TCP_NODELAY, &noDelay, sizeof noDelay, IPPROTO_TCP);
  CCommandSocket &accepted = *socket;
  sockets_.push_back(std::move(socket));
  ++connectionCount_;
  accepted.StartSession(connectionCount_);
  log_.Append(ReceivedLogLine(connectionCount_, "Accepted client connection."));
}

void UploadServer::CloseConnection(unsigned connectionNumber) {
  for (auto it = sockets_.begin(); it != sockets_.end(); ++it) {
    if ((*it)->ConnectionNumber() != connectionNumber) continue;
    std::unique_ptr<CCommandSocket> socket = std::move(*it);
    sockets_.erase(it);
    connections_.Remove(ConnectionLinePrefix(connectionNumber, socket->DisplayName()));
    socket->AbortTransfer();
    socket->ShutDown(SD_BOTH);
    socket->Close();
    return;
  }
}
