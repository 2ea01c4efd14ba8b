#include "http_listener.h"

#include "client_socket.h"
#include "link/server_texts.h"

namespace vserver {
namespace {

constexpr ListenerTexts kTexts{"Could not create listen socket", "bind() error", "listen() error",
                               "Could not create listening thread: %d", "TIMEOUT waiting for ListenThread"};
constexpr DWORD kEventWaitMs = 1000;
constexpr DWORD kDrainFactor = 10;  // times the probe wait of the line speed

}  // namespace

HttpListener::HttpListener(ServerParts &parts) : Listener(parts, kTexts) {}

void HttpListener::Serve(SOCKET client, const char *clientAddress) {
  parts_.log.Logf("Connection accepted on socket:%d from:%s", static_cast<int>(client), clientAddress);
  std::unique_ptr<ConnectionContext> context = OpenConnection(client, channel::kHttp);
  if (!context) return;
  Converse(*context);
  CloseConnection(*context);
}

void HttpListener::Converse(ConnectionContext &context) {
  EventLog &log = parts_.log;
  WSAEVENT network = WSACreateEvent();
  WSAEventSelect(context.socket, network, FD_READ | FD_CLOSE);
  request_.Reset();
  for (;;) {
    const ClientEvent woken = WaitForClient(network, context.listenerStop, nullptr, kEventWaitMs);
    if (woken == ClientEvent::Stop) break;
    if (woken == ClientEvent::Timeout) continue;
    WSANETWORKEVENTS events{};
    if (WSAEnumNetworkEvents(context.socket, network, &events) != 0) {
      log.Log("ClientThread WSAEnumNetworkEvents ERROR!");
      break;
    }
    if (events.lNetworkEvents & FD_CLOSE) {
      if (!ForwardRest(context, kMaxSendPayload)) break;
      if (!request_.RequestComplete()) {
        log.Log("ClientThread Close!");
        break;
      }
    } else if (events.lNetworkEvents & FD_READ) {
      const int length = ReceiveFromClient(context.socket, reinterpret_cast<char *>(context.SendPayload()),
                                           kMaxSendPayload, context.listenerStop, log);
      if (length <= 0 || !Forward(context, length)) break;
    }
    if (request_.RequestComplete()) {
      RelayResponse(context);
      break;
    }
  }
  WSAEventSelect(context.socket, nullptr, 0);
  WSACloseEvent(network);
}

bool HttpListener::Forward(ConnectionContext &context, int length) {
  context.received += static_cast<uint32_t>(length);
  request_.Feed(context.SendPayload(), static_cast<size_t>(length));
  if (parts_.link.SendFrame(context, static_cast<uint16_t>(length), channel::kHttp)) return true;
  const std::string body = ErrorBody(HttpStatus::ServiceUnavailable);
  SendToClient(context.socket, body.data(), body.size(), context.listenerStop, parts_.log);
  return false;
}

void HttpListener::RelayResponse(ConnectionContext &context) {
  for (;;) {
    const size_t length = parts_.table.WaitForPayload(context, INFINITE);
    if (length == 0) return;
    if (!SendToClient(context.socket, reinterpret_cast<const char *>(context.receiveBuffer), length,
                      context.listenerStop, parts_.log)) {
      parts_.log.Logf("ClientThread SendSock(%d) Error", context.slot);
      parts_.link.SendEmptyFrame(channel::kHttp);
      // Let the camera's rest of the response run out.
      while (parts_.table.WaitForPayload(context, kDrainFactor * parts_.link.ProbeWaitMs()) != 0) {
      }
      return;
    }
    context.sent += static_cast<uint32_t>(length);
  }
}

}  // namespace vserver
