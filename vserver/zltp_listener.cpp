#include "zltp_listener.h"

#include "client_socket.h"
#include "link/server_texts.h"

namespace vserver {
namespace {

constexpr ListenerTexts kControlListener{"Could not ZltpdCtl create listen socket", "ZltpdCtl bind() error",
                                         "ZltpdCtl listen() error", "Could not create zltpctl thread: %d",
                                         "TIMEOUT waiting for zltpctlThread"};
constexpr ListenerTexts kDataListener{"Could not Zltpddata create listen socket", "Zltpddata bind() error",
                                      "Zltpddata listen() error", "Could not create zltpdata thread: %d",
                                      "TIMEOUT waiting for zltpdataThread"};
constexpr ZltpPortTexts kControlTexts{"Connection zltpctl accepted on socket:%d from:%s", "zltpctlThread Close!",
                                      "zltpctlThread WSAEnumNetworkEvents ERROR!", "zltpctlThread LanSendData Error",
                                      "zltpctlThread RecvRequest Error", "!!TIMEOUT waiting for ctlThread"};
constexpr ZltpPortTexts kDataTexts{"Connection zltpdata accepted on socket:%d from:%s", "zltpdataThread Close!",
                                   "zltpdataThread WSAEnumNetworkEvents ERROR!", "zltpdataThread LanSendData Error",
                                   "zltpdataThread RecvRequest Error", "!!TIMEOUT waiting for dataThread"};
constexpr size_t kControlBytesPerFrame = 1500;
constexpr size_t kDataBytesPerFrame = 1400;
constexpr DWORD kEventWaitMs = 500;
constexpr DWORD kRelayExitMs = 500;
constexpr DWORD kEmptyReceiveRetryMs = 3;

struct RelayStart {
  ConnectionContext *context;
  ServerParts *parts;
  uint16_t type;
};

}  // namespace

ZltpListener::ZltpListener(ServerParts &parts, bool data)
    : Listener(parts, data ? kDataListener : kControlListener),
      data_(data),
      type_(data ? channel::kZltpData : channel::kZltpControl),
      bytesPerFrame_(data ? kDataBytesPerFrame : kControlBytesPerFrame),
      texts_(data ? kDataTexts : kControlTexts) {}

void ZltpListener::Serve(SOCKET client, const char *clientAddress) {
  EventLog &log = parts_.log;
  log.Logf(texts_.accepted, static_cast<int>(client), clientAddress);
  std::unique_ptr<ConnectionContext> context = OpenConnection(client, type_);
  if (!context) return;
  RelayStart start{context.get(), &parts_, type_};
  HANDLE relay = CreateThread(nullptr, 0, RelayThread, &start, 0, nullptr);
  if (!relay) {
    log.Log("Couldn't start client thread");
  } else {
    if (data_) parts_.link.SendEmptyFrame(channel::kZltpDataAnnounce);
    Converse(*context, relay);
    parts_.table.EndSlot(*context);
    if (WaitForSingleObject(relay, kRelayExitMs) != WAIT_OBJECT_0) {
      log.Log(texts_.relayTimeout);
      // The relay is stuck sending to the client: cut the connection under it.
      shutdown(context->socket, SD_BOTH);
      WaitForSingleObject(relay, INFINITE);
    }
    CloseHandle(relay);
  }
  CloseConnection(*context);
}

void ZltpListener::Converse(ConnectionContext &context, HANDLE relay) {
  EventLog &log = parts_.log;
  WSAEVENT network = WSACreateEvent();
  WSAEventSelect(context.socket, network, FD_READ | FD_CLOSE);
  bool emptyBefore = false;
  for (;;) {
    const ClientEvent woken = WaitForClient(network, context.listenerStop, relay, kEventWaitMs);
    if (woken == ClientEvent::Stop || woken == ClientEvent::Extra) break;
    if (woken == ClientEvent::Timeout) continue;
    WSANETWORKEVENTS events{};
    if (WSAEnumNetworkEvents(context.socket, network, &events) != 0) {
      log.Log(texts_.eventsError);
      break;
    }
    if (events.lNetworkEvents & FD_CLOSE) {
      if (ForwardRest(context, bytesPerFrame_)) log.Log(texts_.closed);
      break;
    }
    if (events.lNetworkEvents & FD_READ) {
      const int length = ReceiveFromClient(context.socket, reinterpret_cast<char *>(context.SendPayload()),
                                           bytesPerFrame_, context.listenerStop, log);
      if (length > 0) {
        emptyBefore = false;
        if (!Forward(context, length)) break;
      } else if (!emptyBefore) {
        emptyBefore = true;
        Sleep(kEmptyReceiveRetryMs);
        WSASetEvent(network);  // look again
      } else {
        log.Log(texts_.receiveError);
        break;
      }
    }
  }
  WSAEventSelect(context.socket, nullptr, 0);
  WSACloseEvent(network);
}

bool ZltpListener::Forward(ConnectionContext &context, int length) {
  context.received += static_cast<uint32_t>(length);
  if (parts_.link.SendFrame(context, static_cast<uint16_t>(length), type_)) return true;
  const std::string body = ErrorBody(HttpStatus::ServiceUnavailable);
  SendToClient(context.socket, body.data(), body.size(), context.listenerStop, parts_.log);
  parts_.log.Log(texts_.sendError);
  return false;
}

DWORD WINAPI ZltpListener::RelayThread(void *param) {
  const RelayStart start = *static_cast<RelayStart *>(param);
  ConnectionContext &context = *start.context;
  ServerParts &parts = *start.parts;
  for (;;) {
    const size_t length = parts.table.WaitForPayload(context, INFINITE);
    if (length == 0) break;
    if (!SendToClient(context.socket, reinterpret_cast<const char *>(context.receiveBuffer), length,
                      context.listenerStop, parts.log)) {
      parts.log.Logf("ClientThread SendSock(%d) Error", context.slot);
      parts.link.SendEmptyFrame(start.type);
      break;
    }
    context.sent += static_cast<uint32_t>(length);
  }
  return 0;
}

}  // namespace vserver
