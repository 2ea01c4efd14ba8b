// Small POSIX socket helpers of the simulator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A listening TCP socket on address:port (SO_REUSEADDR), or -1 with errno.
int ListenOn(const std::string &address, uint16_t port);
// Accepts one connection, waiting at most timeoutMs; -1 when none came.
int AcceptWithin(int listener, int timeoutMs);
// Writes every byte; false when the peer is gone.
bool WriteAll(int fd, const void *data, size_t length);
// Reads what is there, waiting at most timeoutMs: >0 bytes, 0 on time-out,
// -1 when the peer closed or the socket failed.
long ReadSome(int fd, void *buffer, size_t capacity, int timeoutMs);
// Waits at most timeoutMs for either socket to become readable (or closed).
bool WaitEither(int first, int second, int timeoutMs);
// True when bytes are waiting on the socket.
bool Readable(int fd);
void CloseFd(int &fd);
