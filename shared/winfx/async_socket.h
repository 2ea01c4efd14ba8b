// A socket whose network events arrive as handler calls on the thread that
// created it, through WSAAsyncSelect and a hidden notification window of
// that thread. The thread must run a message loop (a modal dialog does).
#pragma once

#include <winsock2.h>

#include <string>

namespace winfx {

class CAsyncSocket {
 public:
  static constexpr long kAllEvents = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE;

  CAsyncSocket() = default;
  virtual ~CAsyncSocket();
  CAsyncSocket(const CAsyncSocket &) = delete;
  CAsyncSocket &operator=(const CAsyncSocket &) = delete;

  // Creates the socket, binds it to port (0: any) on address (null: all
  // local addresses) and selects the given events.
  bool Create(unsigned port = 0, int type = SOCK_STREAM, long events = kAllEvents, const char *address = nullptr);
  bool Listen(int backlog = 5);
  // Accepts a pending connection into connected, which then gets the same
  // notifications as a socket made by Create.
  bool Accept(CAsyncSocket &connected);
  // Starts a connection to a dotted IPv4 address; true also when it is
  // still under way (WSAEWOULDBLOCK), and OnConnect reports its end.
  bool Connect(const char *address, unsigned port);
  // Both return the WinSock result: bytes, 0 at the peer's close, or SOCKET_ERROR.
  int Receive(void *buffer, int length);
  int Send(const void *data, int length);
  bool IOCtl(long command, u_long *argument);
  bool SetSockOpt(int option, const void *value, int length, int level = SOL_SOCKET);
  bool ShutDown(int how = SD_BOTH);
  // The dotted IPv4 address and the port of the connected peer.
  bool GetPeerName(std::string &address, unsigned &port) const;
  bool AsyncSelect(long events = kAllEvents);
  void Close();

  SOCKET Handle() const { return socket_; }
  static int GetLastError() { return WSAGetLastError(); }

 protected:
  // Each receives the event's error code (0 on success).
  virtual void OnAccept(int error) {}
  virtual void OnConnect(int error) {}
  virtual void OnReceive(int error) {}
  virtual void OnSend(int error) {}
  virtual void OnClose(int error) {}
  virtual void OnOutOfBandData(int error) {}

 private:
  friend class SocketNotifier;
  bool Attach(SOCKET socket, long events);
  void Dispatch(long event, int error);

  SOCKET socket_ = INVALID_SOCKET;
  unsigned message_ = 0;  // the notification message of this socket, 0 when none
};

}  // namespace winfx
