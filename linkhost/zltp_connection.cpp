#include "zltp_connection.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "view_all_directory.h"
#include "zltp_bytes.h"

namespace zltp {

namespace {

constexpr DWORD kConnectTimeout = 10000;
constexpr DWORD kSendTimeout = 30000;
constexpr DWORD kPayloadTimeout = 10000;
constexpr DWORD kPollStep = 1000;
constexpr int kSocketBuffer = 2048;

ZLXRESULT MapSocketError(int error) {
  switch (error) {
    case WSAEINVAL: return ZLX_E_INVALID_PARAMETER;
    case WSAETIMEDOUT: return ZLX_E_TIMEOUT;
    case WSANOTINITIALISED: return ZLX_E_NOT_INITIALIZED;
    default: return ZLX_E_CONNECT_FAILED;
  }
}

// A broken stream: the peer closed or reset the connection.
bool ConnectionLost(int error) {
  return error == WSAECONNRESET || error == WSAECONNABORTED || error == WSAENOTCONN || error == WSAESHUTDOWN ||
         error == WSAENETRESET;
}

// Milliseconds left before start + timeout (unsigned tick arithmetic copes
// with the wrap of GetTickCount).
DWORD Remaining(DWORD start, DWORD timeout) {
  const DWORD elapsed = GetTickCount() - start;
  return elapsed >= timeout ? 0 : timeout - elapsed;
}

std::atomic<uint16_t> g_sequence{0};

}  // namespace

uint16_t NextSequence() { return g_sequence.fetch_add(1); }

struct ZltpConnection::Socket {
  std::mutex lock;  // held across the check and invalidation in CloseSocket
  SOCKET handle = INVALID_SOCKET;
  WSAEVENT event = WSA_INVALID_EVENT;

  SOCKET Get() {
    std::lock_guard<std::mutex> guard(lock);
    return handle;
  }
  // Waits up to the given time for a network event of this socket; fills
  // the events seen. False when nothing happened in time or the events could
  // not be read.
  bool Wait(DWORD start, DWORD timeout, WSANETWORKEVENTS &events) {
    for (;;) {
      const DWORD left = Remaining(start, timeout);
      if (left == 0) return false;
      const DWORD result = WSAWaitForMultipleEvents(1, &event, FALSE, std::min(left, kPollStep), FALSE);
      if (result == WSA_WAIT_TIMEOUT) continue;
      if (result != WSA_WAIT_EVENT_0) return false;
      const SOCKET s = Get();
      if (s == INVALID_SOCKET) return false;
      return WSAEnumNetworkEvents(s, event, &events) == 0;
    }
  }
};

ZltpConnection::ZltpConnection() : control_(std::make_unique<Socket>()), data_(std::make_unique<Socket>()) {}

ZltpConnection::~ZltpConnection() { Disconnect(); }

bool ZltpConnection::Connected() const { return control_->Get() != INVALID_SOCKET; }

ZLXRESULT ZltpConnection::ConnectSocket(Socket &socket, const sockaddr_in &address) {
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) return MapSocketError(WSAGetLastError());
  const WSAEVENT event = WSACreateEvent();
  {
    std::lock_guard<std::mutex> guard(socket.lock);
    socket.handle = s;
    socket.event = event;
  }
  if (event == WSA_INVALID_EVENT) return ZLX_E_NO_MEMORY;
  const int size = kSocketBuffer;
  setsockopt(s, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char *>(&size), sizeof size);
  setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char *>(&size), sizeof size);
  if (WSAEventSelect(s, event, FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE) != 0)
    return MapSocketError(WSAGetLastError());
  if (::connect(s, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) return ZLX_OK;
  const int error = WSAGetLastError();
  if (error != WSAEWOULDBLOCK) return MapSocketError(error);
  const DWORD start = GetTickCount();
  WSANETWORKEVENTS events{};
  while (socket.Wait(start, kConnectTimeout, events)) {
    if (events.lNetworkEvents & FD_CONNECT) {
      const int connectError = events.iErrorCode[FD_CONNECT_BIT];
      return connectError ? MapSocketError(connectError) : ZLXRESULT{ZLX_OK};
    }
  }
  return ZLX_E_CONNECT_FAILED;
}

ZLXRESULT ZltpConnection::Connect(const char *address, uint32_t &model, uint16_t &protocolVersion) {
  if (!address) return ZLX_E_INVALID_PARAMETER;
  sockaddr_in target{};
  target.sin_family = AF_INET;
  if (inet_pton(AF_INET, address, &target.sin_addr) != 1) return ZLX_E_INVALID_PARAMETER;
  Disconnect();
  maximumPacketSize_ = 0;
  protocolVersion_ = 0;

  auto fail = [this](ZLXRESULT result) {
    Disconnect();
    return result;
  };
  target.sin_port = htons(kControlPort);
  ZLXRESULT result = ConnectSocket(*control_, target);
  if (!ZlxSucceeded(result)) return fail(result);
  target.sin_port = htons(kDataPort);
  result = ConnectSocket(*data_, target);
  if (!ZlxSucceeded(result)) return fail(result);

  uint8_t version[10] = {};
  uint32_t length = 0;
  const uint8_t offerTwo[2] = {2, 0};
  result = Transact(kVersionOffer, offerTwo, 2, version, sizeof version, &length, kConnectTimeout);
  if (ZlxCode(result) == ZLX_E_VERSION) {
    const uint8_t offerOne[2] = {1, 0};
    result = Transact(kVersionOffer, offerOne, 2, version, sizeof version, &length, kConnectTimeout);
  }
  if (!ZlxSucceeded(result)) return fail(result);
  const uint16_t accepted = GetLe16(version + 8);
  if (length < sizeof version || accepted == 0 || accepted > 2)
    return fail((result & 0xFFFF0000u) | ZLX_E_GENERAL);
  protocolVersion_ = accepted;

  uint8_t parameters[8] = {};
  result = Transact(kLinkParameters, nullptr, 0, parameters, sizeof parameters, &length, kConnectTimeout);
  if (!ZlxSucceeded(result)) return fail(result);
  if (length < sizeof parameters) return fail(ZLX_E_GENERAL);
  maximumPacketSize_ = GetLe32(parameters + 4);

  model = GetBe32(version + 4) + 1;
  protocolVersion = accepted;
  return result & 0xFFFF0000u;
}

void ZltpConnection::CloseSocket(Socket &socket) {
  std::lock_guard<std::mutex> guard(socket.lock);
  if (socket.handle != INVALID_SOCKET) {
    const SOCKET s = socket.handle;
    socket.handle = INVALID_SOCKET;
    shutdown(s, SD_SEND);
    char scratch[1024];
    while (recv(s, scratch, sizeof scratch, 0) > 0) {
    }
    shutdown(s, SD_BOTH);
    closesocket(s);
  }
  if (socket.event != WSA_INVALID_EVENT) {
    WSACloseEvent(socket.event);
    socket.event = WSA_INVALID_EVENT;
  }
}

ZLXRESULT ZltpConnection::Disconnect() {
  CloseSocket(*control_);
  CloseSocket(*data_);
  return ZLX_OK;
}

ZLXRESULT ZltpConnection::Receive(Socket &socket, void *buffer, uint32_t length, DWORD timeout) {
  const SOCKET s = socket.Get();
  if (s == INVALID_SOCKET) return ZLX_E_NOT_CONNECTED;
  if (!buffer && length) return ZLX_E_INVALID_PARAMETER;
  auto *bytes = static_cast<char *>(buffer);
  uint32_t received = 0;
  const DWORD start = GetTickCount();
  while (received < length) {
    const int chunk = static_cast<int>(std::min<uint32_t>(length - received, 1u << 20));
    const int n = recv(s, bytes + received, chunk, 0);
    if (n > 0) {
      received += static_cast<uint32_t>(n);
      continue;
    }
    const int error = n == 0 ? 0 : WSAGetLastError();
    if (n == 0 || ConnectionLost(error)) {
      Disconnect();
      return ZLX_E_CONNECT_FAILED;
    }
    if (error != WSAEWOULDBLOCK) return MapSocketError(error);
    WSANETWORKEVENTS events{};
    if (!socket.Wait(start, timeout, events)) return ZLX_E_CONNECT_FAILED;
    if ((events.lNetworkEvents & FD_READ) && events.iErrorCode[FD_READ_BIT])
      return MapSocketError(events.iErrorCode[FD_READ_BIT]);
    // A close event is acted on by the next recv, after the bytes still buffered.
  }
  return ZLX_OK;
}

ZLXRESULT ZltpConnection::Discard(Socket &socket, uint32_t length, DWORD timeout) {
  char scratch[4096];
  while (length > 0) {
    const uint32_t n = std::min<uint32_t>(length, sizeof scratch);
    const ZLXRESULT result = Receive(socket, scratch, n, timeout);
    if (!ZlxSucceeded(result)) return result;
    length -= n;
  }
  return ZLX_OK;
}

ZLXRESULT ZltpConnection::Send(Socket &socket, const void *buffer, uint32_t length, DWORD timeout) {
  const SOCKET s = socket.Get();
  if (s == INVALID_SOCKET) return ZLX_E_NOT_CONNECTED;
  const auto *bytes = static_cast<const char *>(buffer);
  uint32_t sent = 0;
  const DWORD start = GetTickCount();
  while (sent < length) {
    const int chunk = static_cast<int>(std::min<uint32_t>(length - sent, 1u << 20));
    const int n = send(s, bytes + sent, chunk, 0);
    if (n > 0) {
      sent += static_cast<uint32_t>(n);
      continue;
    }
    const int error = WSAGetLastError();
    if (ConnectionLost(error)) {
      Disconnect();
      return ZLX_E_CONNECT_FAILED;
    }
    if (error != WSAEWOULDBLOCK) return MapSocketError(error);
    WSANETWORKEVENTS events{};
    if (!socket.Wait(start, timeout, events)) return ZLX_E_CONNECT_FAILED;
    if (events.lNetworkEvents & FD_CLOSE) {
      Disconnect();
      return ZLX_E_CONNECT_FAILED;
    }
    if ((events.lNetworkEvents & FD_WRITE) && events.iErrorCode[FD_WRITE_BIT])
      return MapSocketError(events.iErrorCode[FD_WRITE_BIT]);
  }
  return ZLX_OK;
}

ZLXRESULT ZltpConnection::SendPacket(Socket &socket, const Header &header, const void *payload,
                                     uint32_t length) {
  std::vector<uint8_t> packet;
  try {
    packet.resize(kHeaderSize + length);
  } catch (const std::bad_alloc &) {
    return ZLX_E_NO_MEMORY;
  }
  const HeaderBytes bytes = EncodeHeader(header);
  std::memcpy(packet.data(), bytes.data(), kHeaderSize);
  if (length) std::memcpy(packet.data() + kHeaderSize, payload, length);
  return Send(socket, packet.data(), static_cast<uint32_t>(packet.size()), kSendTimeout);
}

ZLXRESULT ZltpConnection::ReceiveHeader(Socket &socket, Header &header, uint32_t limit, DWORD timeout) {
  uint8_t bytes[kHeaderSize];
  const ZLXRESULT result = Receive(socket, bytes, kHeaderSize, timeout);
  if (!ZlxSucceeded(result)) return result;
  if (DecodeHeader(bytes, kFromCamera, header) && header.payloadLength <= limit) return ZLX_OK;
  // A framing error, or a length no sane camera sends: the stream can no
  // longer be trusted, so start over with a resynchronisation.
  return (Resynchronise() & 0xFFFF0000u) | ZLX_E_GENERAL;
}

ZLXRESULT ZltpConnection::ReceiveControlHeader(Header &header, DWORD timeout) {
  return ReceiveHeader(*control_, header, PayloadLimit(maximumPacketSize_.load()), timeout);
}

ZLXRESULT ZltpConnection::ReceiveDataHeader(Header &header, DWORD timeout) {
  return ReceiveHeader(*data_, header, DataPayloadLimit(maximumPacketSize_.load()), timeout);
}

ZLXRESULT ZltpConnection::ReceivePayload(Socket &socket, std::vector<uint8_t> &payload, uint32_t length,
                                         DWORD timeout) {
  constexpr uint32_t kFirstStep = 1u << 20;
  payload.clear();
  uint32_t received = 0;
  while (received < length) {
    const uint32_t step = std::min(length - received, std::max(kFirstStep, received));
    payload.resize(received + step);  // may throw std::bad_alloc: the caller handles it
    const ZLXRESULT result = Receive(socket, payload.data() + received, step, timeout);
    if (!ZlxSucceeded(result)) return result;
    received += step;
  }
  return ZLX_OK;
}

ZLXRESULT ZltpConnection::Transact(uint32_t opcode, const void *payload, uint32_t payloadLength, void *reply,
                                   uint32_t replyCapacity, uint32_t *replyLength, DWORD headerTimeout) {
  if (!reply || replyCapacity < kStatusSize || (payloadLength && !payload)) return ZLX_E_INVALID_PARAMETER;
  const uint32_t maximum = maximumPacketSize_.load();
  if (maximum && maximum < payloadLength + kHeaderSize) return ZLX_E_GENERAL;
  if (!Connected()) return ZLX_E_NOT_CONNECTED;

  Header request;
  request.payloadLength = payloadLength;
  request.opcode = opcode;
  request.sequence = NextSequence();
  request.listingFlag = ViewAllDirectoryByte();
  ZLXRESULT result = SendPacket(*control_, request, payload, payloadLength);
  if (!ZlxSucceeded(result)) return result;

  for (;;) {
    Header header;
    result = ReceiveControlHeader(header, headerTimeout);
    if (!ZlxSucceeded(result)) return result;
    if (header.opcode != opcode || header.sequence != request.sequence) {
      result = Discard(*control_, header.payloadLength, kPayloadTimeout);  // a stale reply
      if (!ZlxSucceeded(result)) return result;
      continue;
    }
    if (header.payloadLength > replyCapacity) {
      result = Discard(*control_, header.payloadLength, kPayloadTimeout);
      return ZlxSucceeded(result) ? ZlxMakeResult(ZLX_E_INVALID_PARAMETER) : result;
    }
    result = Receive(*control_, reply, header.payloadLength, kPayloadTimeout);
    if (!ZlxSucceeded(result)) return result;
    if (header.payloadLength < kStatusSize) return ZLX_E_GENERAL;  // no status block
    const StatusBlock status = DecodeStatus(static_cast<const uint8_t *>(reply));
    if (status.Interim()) continue;
    if (replyLength) *replyLength = header.payloadLength;
    return ResultFromStatus(status);
  }
}

ZLXRESULT ZltpConnection::SendRequest(uint32_t opcode, const void *payload, uint32_t payloadLength,
                                      uint16_t &sequence) {
  if (payloadLength && !payload) return ZLX_E_INVALID_PARAMETER;
  const uint32_t maximum = maximumPacketSize_.load();
  if (maximum && maximum < payloadLength + kHeaderSize) return ZLX_E_GENERAL;
  if (!Connected()) return ZLX_E_NOT_CONNECTED;
  Header request;
  request.payloadLength = payloadLength;
  request.opcode = opcode;
  request.sequence = NextSequence();
  sequence = request.sequence;
  return SendPacket(*control_, request, payload, payloadLength);
}

ZLXRESULT ZltpConnection::Resynchronise() {
  const uint32_t maximum = maximumPacketSize_.load();
  if (maximum && maximum < kHeaderSize) return ZLX_E_GENERAL;
  if (!Connected()) return ZLX_E_NOT_CONNECTED;
  Header request;
  request.opcode = kResynchronise;
  request.sequence = NextSequence();
  ZLXRESULT result = SendPacket(*control_, request, nullptr, 0);
  if (!ZlxSucceeded(result)) return result;
  for (;;) {
    uint8_t bytes[kHeaderSize];
    result = Receive(*control_, bytes, kHeaderSize, kPayloadTimeout);
    if (!ZlxSucceeded(result)) return result;
    Header header;
    if (!DecodeHeader(bytes, kFromCamera, header) || header.payloadLength > PayloadLimit(maximumPacketSize_.load()))
      return ZLX_E_GENERAL;
    if (header.sequence != request.sequence || header.payloadLength != kStatusSize) {
      result = Discard(*control_, header.payloadLength, kPayloadTimeout);
      if (!ZlxSucceeded(result)) return result;
      if (header.sequence != request.sequence) continue;
      return ZLX_E_GENERAL;
    }
    uint8_t status[kStatusSize];
    result = Receive(*control_, status, kStatusSize, kPayloadTimeout);
    if (!ZlxSucceeded(result)) return result;
    const StatusBlock block = DecodeStatus(status);
    if (MapCameraStatus(block.status) != ZLX_OK) return ResultFromStatus(block);
    if (block.Interim()) continue;
    // Whatever the camera had queued on the data connection before it
    // answered belongs to the broken exchange: drop it.
    const SOCKET s = data_->Get();
    if (s != INVALID_SOCKET) {
      char scratch[4096];
      while (recv(s, scratch, sizeof scratch, 0) > 0) {
      }
    }
    return ZlxMakeResult(ZLX_OK, block.detail);
  }
}

ZLXRESULT ZltpConnection::ReadDataPacket(uint16_t sequence, DataPacket &packet, DWORD timeout) {
  if (data_->Get() == INVALID_SOCKET) return ZLX_E_NOT_CONNECTED;
  for (;;) {
    Header header;
    ZLXRESULT result = ReceiveDataHeader(header, timeout);
    if (!ZlxSucceeded(result)) return result;
    // A leftover packet of another request is dropped whatever it holds.
    if (header.sequence != sequence) {
      result = Discard(*data_, header.payloadLength, kPayloadTimeout);
      if (!ZlxSucceeded(result)) return result;
      continue;
    }
    if (header.payloadLength < kDataPrefixSize) {
      result = Discard(*data_, header.payloadLength, kPayloadTimeout);
      return ZlxSucceeded(result) ? ZlxMakeResult(ZLX_E_GENERAL) : result;
    }
    try {
      result = ReceivePayload(*data_, packet.payload, header.payloadLength, kPayloadTimeout);
    } catch (const std::bad_alloc &) {
      const uint32_t taken = static_cast<uint32_t>(packet.payload.size());
      packet.payload = {};
      AbortTransfer(sequence);
      result = Discard(*data_, header.payloadLength - taken, kPayloadTimeout);
      return ZlxSucceeded(result) ? DrainAfterAbort(sequence) : result;
    }
    if (!ZlxSucceeded(result)) return result;
    DecodeDataPrefix(packet.payload.data(), packet.payload.size(), packet.prefix);
    if (MapCameraStatus(packet.prefix.status.status) != ZLX_OK) return ResultFromStatus(packet.prefix.status);
    return ZLX_OK;
  }
}

// After an abort for lack of memory: read the rest of the transfer keeping
// only each packet's prefix, until an error status or the last packet.
ZLXRESULT ZltpConnection::DrainAfterAbort(uint16_t sequence) {
  for (;;) {
    Header header;
    ZLXRESULT result = ReceiveDataHeader(header, kPayloadTimeout);
    if (!ZlxSucceeded(result)) return result;
    if (header.payloadLength < kDataPrefixSize) return ZLX_E_GENERAL;
    uint8_t bytes[kDataPrefixSize];
    result = Receive(*data_, bytes, kDataPrefixSize, kPayloadTimeout);
    if (ZlxSucceeded(result)) result = Discard(*data_, header.payloadLength - kDataPrefixSize, kPayloadTimeout);
    if (!ZlxSucceeded(result)) return result;
    DataPrefix prefix;
    DecodeDataPrefix(bytes, sizeof bytes, prefix);
    if (MapCameraStatus(prefix.status.status) != ZLX_OK) return ResultFromStatus(prefix.status);
    if (prefix.last) return ZlxMakeResult(ZLX_E_NO_MEMORY, prefix.status.detail);
  }
}

ZLXRESULT ZltpConnection::SendDataPacket(uint16_t sequence, const void *body, uint32_t length, uint32_t total,
                                         bool last) {
  if (data_->Get() == INVALID_SOCKET) return ZLX_E_NOT_CONNECTED;
  if (length && !body) return ZLX_E_INVALID_PARAMETER;
  if (length > UINT32_MAX - kDataPrefixSize) return ZLX_E_INVALID_PARAMETER;
  Header header;
  header.opcode = kDataPacket;
  header.sequence = sequence;
  header.payloadLength = length + static_cast<uint32_t>(kDataPrefixSize);
  uint8_t front[kHeaderSize + kDataPrefixSize];
  const HeaderBytes bytes = EncodeHeader(header);
  std::memcpy(front, bytes.data(), kHeaderSize);
  DataPrefix prefix;
  prefix.last = last;
  prefix.total = total;
  EncodeDataPrefix(front + kHeaderSize, prefix);
  // The body goes straight from the caller's buffer, without a copy.
  ZLXRESULT result = Send(*data_, front, sizeof front, kSendTimeout);
  if (ZlxSucceeded(result) && length) result = Send(*data_, body, length, kSendTimeout);
  return result;
}

ZLXRESULT ZltpConnection::AbortTransfer(uint16_t sequence) {
  if (!Connected()) return ZLX_E_NOT_CONNECTED;
  Header header;
  header.opcode = kAbortTransfer;
  header.sequence = sequence;
  header.payloadLength = kStatusSize;
  const uint8_t zero[kStatusSize] = {};
  return SendPacket(*control_, header, zero, kStatusSize);
}

ZLXRESULT ZltpConnection::ReadReply(Header &header, StatusBlock &status, DWORD headerTimeout) {
  ZLXRESULT result = ReceiveControlHeader(header, headerTimeout);
  if (!ZlxSucceeded(result)) return result;
  if (header.payloadLength < kStatusSize) {
    result = Discard(*control_, header.payloadLength, kPayloadTimeout);
    return ZlxSucceeded(result) ? ZlxMakeResult(ZLX_E_GENERAL) : result;
  }
  uint8_t bytes[kStatusSize];
  result = Receive(*control_, bytes, kStatusSize, kPayloadTimeout);
  if (ZlxSucceeded(result)) result = Discard(*control_, header.payloadLength - kStatusSize, kPayloadTimeout);
  if (!ZlxSucceeded(result)) return result;
  status = DecodeStatus(bytes);
  return ZLX_OK;
}

ZLXRESULT ZltpConnection::ReadFinalReply(uint16_t sequence, uint32_t expectedOpcode, DWORD headerTimeout) {
  Header header;
  StatusBlock status;
  const ZLXRESULT result = ReadReply(header, status, headerTimeout);
  if (!ZlxSucceeded(result)) return result;
  const ZLXRESULT mapped = ResultFromStatus(status);
  if (header.opcode != expectedOpcode || header.sequence != sequence) return (mapped & 0xFFFF0000u) | ZLX_E_GENERAL;
  return mapped;
}

bool ZltpConnection::ControlReadable() {
  const SOCKET s = control_->Get();
  if (s == INVALID_SOCKET) return false;
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(s, &readable);
  timeval zero{0, 0};
  return select(0, &readable, nullptr, nullptr, &zero) > 0;
}

}  // namespace zltp
