#include "client_socket.h"

namespace vserver {
namespace {

// Waits for an overlapped operation; false when it failed or stop was set.
bool Complete(SOCKET socket, WSAOVERLAPPED &overlapped, HANDLE stop, DWORD &transferred, const char *what,
              EventLog &log) {
  HANDLE events[2] = {overlapped.hEvent, stop};
  const DWORD woken = WaitForMultipleObjects(stop ? 2 : 1, events, FALSE, INFINITE);
  if (woken != WAIT_OBJECT_0) {
    CancelIo(reinterpret_cast<HANDLE>(socket));
    DWORD ignored = 0;
    WSAGetOverlappedResult(socket, &overlapped, &ignored, TRUE, &ignored);
    return false;
  }
  DWORD flags = 0;
  if (!WSAGetOverlappedResult(socket, &overlapped, &transferred, FALSE, &flags)) {
    log.LogError(what, WSAGetLastError());
    return false;
  }
  return true;
}

}  // namespace

int ReceiveFromClient(SOCKET socket, char *buffer, size_t capacity, HANDLE stop, EventLog &log) {
  WSAOVERLAPPED overlapped{};
  overlapped.hEvent = WSACreateEvent();
  WSABUF piece{static_cast<ULONG>(capacity), buffer};
  DWORD received = 0;
  DWORD flags = 0;
  int result = -1;
  if (WSARecv(socket, &piece, 1, &received, &flags, &overlapped, nullptr) == 0) {
    result = static_cast<int>(received);
  } else if (WSAGetLastError() == WSA_IO_PENDING) {
    if (Complete(socket, overlapped, stop, received, "WSARecv()", log)) result = static_cast<int>(received);
  } else if (WSAGetLastError() != WSAEWOULDBLOCK) {
    log.LogError("WSARecv()", WSAGetLastError());
  }
  WSACloseEvent(overlapped.hEvent);
  return result;
}

bool SendToClient(SOCKET socket, const char *data, size_t length, HANDLE stop, EventLog &log) {
  while (length > 0) {
    WSAOVERLAPPED overlapped{};
    overlapped.hEvent = WSACreateEvent();
    WSABUF piece{static_cast<ULONG>(length), const_cast<char *>(data)};
    DWORD sent = 0;
    bool ok = false;
    if (WSASend(socket, &piece, 1, &sent, 0, &overlapped, nullptr) == 0) {
      ok = true;
    } else if (WSAGetLastError() == WSA_IO_PENDING) {
      ok = Complete(socket, overlapped, stop, sent, "WSAGetOverlappedResult()", log);
    } else {
      log.LogError("WSASend()", WSAGetLastError());
    }
    WSACloseEvent(overlapped.hEvent);
    if (!ok || sent == 0) return false;
    data += sent;
    length -= sent;
  }
  return true;
}

void CloseClientSocket(SOCKET &socket, int slot, EventLog &log) {
  if (socket == INVALID_SOCKET) return;
  log.Logf("[%d]Closing socket: %d", slot, static_cast<int>(socket));
  if (closesocket(socket) != 0) log.LogError("closesocket()", WSAGetLastError());
  socket = INVALID_SOCKET;
}

}  // namespace vserver
