// The ZLtp connection layer: the control (6220) and data (6221) connections
// to one camera on non-blocking WinSock sockets, the request/reply
// transaction and the data packets. Every wait is bounded by a GetTickCount
// deadline and polls in steps of at most one second, so a close or an error
// is noticed promptly. One request at a time (the link host serialises them).
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "zltp_wire.h"
#include "zlx_result.h"

namespace zltp {

// One data packet from the camera: its payload (prefix and body).
struct DataPacket {
  std::vector<uint8_t> payload;
  DataPrefix prefix;
  const uint8_t *Body() const { return payload.data() + kDataPrefixSize; }
  uint32_t BodyLength() const { return static_cast<uint32_t>(payload.size() - kDataPrefixSize); }
};

class ZltpConnection {
 public:
  ZltpConnection();
  ~ZltpConnection();
  ZltpConnection(const ZltpConnection &) = delete;
  ZltpConnection &operator=(const ZltpConnection &) = delete;

  // Opens both connections to the dotted IPv4 address and agrees version and
  // packet size. A failure always leaves the link disconnected.
  ZLXRESULT Connect(const char *address, uint32_t &model, uint16_t &protocolVersion);
  ZLXRESULT Disconnect();
  bool Connected() const;

  // Sends one request on the control connection and waits for its final
  // reply; replyLength receives the final reply's payload length.
  ZLXRESULT Transact(uint32_t opcode, const void *payload, uint32_t payloadLength, void *reply,
                     uint32_t replyCapacity, uint32_t *replyLength, DWORD headerTimeout);
  // Sends a request whose answer does not come on the control connection
  // (listing, receive, send, stamp); sequence receives its number.
  ZLXRESULT SendRequest(uint32_t opcode, const void *payload, uint32_t payloadLength, uint16_t &sequence);
  // Reads the next data packet of the request from the data connection.
  ZLXRESULT ReadDataPacket(uint16_t sequence, DataPacket &packet, DWORD timeout);
  ZLXRESULT SendDataPacket(uint16_t sequence, const void *body, uint32_t length, uint32_t total, bool last);
  ZLXRESULT AbortTransfer(uint16_t sequence);
  // Reads one reply from the control connection: its header and status
  // block (the rest of its payload is dropped). A framing error gives 0xFFFF
  // after a resynchronisation.
  ZLXRESULT ReadReply(Header &header, StatusBlock &status, DWORD headerTimeout);
  // Reads the final reply of a send or stamp: the mapped status, with low
  // half 0xFFFF when opcode or sequence are not the expected ones.
  ZLXRESULT ReadFinalReply(uint16_t sequence, uint32_t expectedOpcode, DWORD headerTimeout);
  ZLXRESULT Resynchronise();
  bool ControlReadable();

  uint32_t MaximumPacketSize() const { return maximumPacketSize_.load(); }
  uint16_t ProtocolVersion() const { return protocolVersion_.load(); }

 private:
  struct Socket;
  ZLXRESULT ConnectSocket(Socket &socket, const sockaddr_in &address);
  ZLXRESULT Receive(Socket &socket, void *buffer, uint32_t length, DWORD timeout);
  ZLXRESULT Discard(Socket &socket, uint32_t length, DWORD timeout);
  ZLXRESULT Send(Socket &socket, const void *buffer, uint32_t length, DWORD timeout);
  ZLXRESULT SendPacket(Socket &socket, const Header &header, const void *payload, uint32_t length);
  // limit: the largest payload accepted on that connection.
  ZLXRESULT ReceiveHeader(Socket &socket, Header &header, uint32_t limit, DWORD timeout);
  ZLXRESULT ReceiveControlHeader(Header &header, DWORD timeout);
  ZLXRESULT ReceiveDataHeader(Header &header, DWORD timeout);
  // Receives a payload into a buffer that grows as its bytes arrive, so a
  // header announcing a large payload commits no memory by itself.
  ZLXRESULT ReceivePayload(Socket &socket, std::vector<uint8_t> &payload, uint32_t length, DWORD timeout);
  ZLXRESULT DrainAfterAbort(uint16_t sequence);
  void CloseSocket(Socket &socket);


  std::unique_ptr<Socket> control_;
  std::unique_ptr<Socket> data_;
  std::atomic<uint32_t> maximumPacketSize_{0};
  std::atomic<uint16_t> protocolVersion_{0};
};

// The next request sequence number: process-wide, wrapping, never reset.
uint16_t NextSequence();

}  // namespace zltp
