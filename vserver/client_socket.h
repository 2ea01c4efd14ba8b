// Overlapped receive and send on a client socket that give up when the
// listener's stop event is set.
#pragma once

#include <winsock2.h>

#include <cstddef>

#include "event_log.h"

namespace vserver {

// Bytes received, 0 when the client closed, -1 on error or stop.
int ReceiveFromClient(SOCKET socket, char *buffer, size_t capacity, HANDLE stop, EventLog &log);
// True when every byte went out.
bool SendToClient(SOCKET socket, const char *data, size_t length, HANDLE stop, EventLog &log);
// Closes the socket, logging "[slot]Closing socket: n".
void CloseClientSocket(SOCKET &socket, int slot, EventLog &log);

}  // namespace vserver
