#include "bulk_transfer.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "progress_dialog.h"
#include "shared_memory.h"
#include "transfer_progress.h"
#include "win_raii.h"

using zltp::DataPacket;
using zltp::ZltpConnection;

namespace {

constexpr DWORD kRequestTimeout = 30000;
constexpr DWORD kPacketTimeout = 30000;
constexpr DWORD kDrainTimeout = 10000;
constexpr DWORD kReplyTimeout = 10000;
constexpr DWORD kPauseBeforeBody = 300;
constexpr DWORD kVersion1ShortWait = 500;
constexpr DWORD kVersion1LongWait = 5000;
constexpr uint32_t kVersion1ShortBody = 10240;
constexpr size_t kNameLimit = 128;
constexpr uint32_t kSendOverhead = 25;   // header and data prefix around each chunk
constexpr uint32_t kStampKinds = 6;
constexpr uint32_t kStampRequestSize = 66;
constexpr size_t kStampNameField = 16;

ZLXRESULT WithCode(ZLXRESULT result, uint16_t code) { return (result & 0xFFFF0000u) | code; }

bool Cancelled(const TransferContext &transfer) {
  return transfer.cancelEvent && WaitForSingleObject(transfer.cancelEvent, 0) == WAIT_OBJECT_0;
}

void Paint(const TransferContext &transfer, uint64_t done, uint64_t total) {
  if (transfer.progressArea) PaintProgress(transfer.progressArea, TransferPercent(done, total));
}

// The length of a name held in a fixed field; none when it has no terminator.
bool NameLength(CameraLink::Text name, size_t &length) {
  if (!name.chars) return false;
  length = strnlen(name.chars, name.field);
  return length < name.field;
}

// Reads the rest of an aborted transfer up to its last packet.
ZLXRESULT Drain(ZltpConnection &connection, uint16_t sequence, uint16_t &detail) {
  DataPacket packet;
  do {
    const ZLXRESULT result = connection.ReadDataPacket(sequence, packet, kDrainTimeout);
    if (!ZlxSucceeded(result)) return result;
    detail = packet.prefix.status.detail;
  } while (!packet.prefix.last);
  return ZLX_OK;
}

ZLXRESULT AbortAndDrain(ZltpConnection &connection, uint16_t sequence, uint16_t code) {
  connection.AbortTransfer(sequence);
  uint16_t detail = 0;
  const ZLXRESULT drained = Drain(connection, sequence, detail);
  return ZlxSucceeded(drained) ? ZlxMakeResult(code, detail) : drained;
}

bool Consistent(const DataPacket &packet, uint32_t total, uint32_t remaining) {
  const uint32_t body = packet.BodyLength();
  return packet.prefix.total == total && body <= remaining && (!packet.prefix.last || body == remaining);
}

// Sends the body in chunks of the camera's packet size; true in ended when
// the camera closed the exchange early with its final reply.
ZLXRESULT SendChunks(ZltpConnection &connection, uint16_t sequence, const TransferContext &transfer,
                     const uint8_t *body, uint32_t length, bool stopWhenCameraAnswers, bool &ended) {
  const uint32_t chunk = connection.MaximumPacketSize() - kSendOverhead;  // unsigned: 0 means no limit
  uint32_t sent = 0;
  ended = false;
  for (;;) {
    if (Cancelled(transfer)) {
      const ZLXRESULT r = connection.SendDataPacket(sequence, nullptr, 0, length, true);
      return WithCode(r, ZLX_E_CANCELLED);
    }
    if (connection.ControlReadable()) {
      if (stopWhenCameraAnswers) {
        ended = true;
        return ZLX_OK;
      }
      zltp::Header header;
      zltp::StatusBlock status;
      const ZLXRESULT r = connection.ReadReply(header, status, kReplyTimeout);
      if (!ZlxSucceeded(r)) return r;
      if (header.opcode == zltp::kSendFinal) {
        ended = true;
        return zltp::ResultFromStatus(status);
      }
    }
    const uint32_t remaining = length - sent;
    const bool last = remaining <= chunk;
    const uint32_t n = last ? remaining : chunk;
    const ZLXRESULT r = connection.SendDataPacket(sequence, body + sent, n, length, last);
    if (!ZlxSucceeded(r)) return r;
    sent += n;
    Paint(transfer, sent, length);
    if (last) return ZLX_OK;
  }
}

}  // namespace

ZLXRESULT Receive(ZltpConnection &connection, uint32_t opcode, uint32_t clientProcessId, CameraLink::Text name,
                  const TransferContext &transfer, uint32_t &mapping, uint32_t &size) {
  mapping = 0;
  size = 0;
  size_t nameLength = 0;
  if (!clientProcessId || !name.chars) return ZLX_E_INVALID_PARAMETER;
  if (!NameLength(name, nameLength) || nameLength >= kNameLimit) return ZLX_E_INVALID_NAME;
  if (Cancelled(transfer)) return ZLX_E_CANCELLED;
  const uint32_t maximum = connection.MaximumPacketSize();
  if (maximum && maximum < nameLength + 17) return ZLX_E_GENERAL;

  uint16_t sequence = 0;
  ZLXRESULT result = connection.SendRequest(opcode, name.chars, static_cast<uint32_t>(nameLength + 1), sequence);
  if (!ZlxSucceeded(result)) return result;
  DataPacket packet;
  result = connection.ReadDataPacket(sequence, packet, kPacketTimeout);
  if (!ZlxSucceeded(result)) return result;
  const uint32_t total = packet.prefix.total;
  if (total == 0) return ZLX_OK;
  // The mapping is committed and filled under the lock that every result
  // mapping of every link host shares: an absurd total is refused first.
  if (total > zltp::kLargestTransfer) {
    if (!packet.prefix.last) return AbortAndDrain(connection, sequence, ZLX_E_NO_MEMORY);
    connection.AbortTransfer(sequence);
    return ZLX_E_NO_MEMORY;
  }

  CSharedMemory body;
  const HANDLE local = body.Create("", PAGE_READWRITE, total);
  auto *bytes = local ? static_cast<uint8_t *>(body.Lock(true)) : nullptr;
  if (!bytes) return AbortAndDrain(connection, sequence, ZLX_E_NO_MEMORY);
  if (!Consistent(packet, total, total)) {
    body.Unlock();
    if (packet.prefix.last) {  // nothing more will come to drain
      connection.AbortTransfer(sequence);
      return ZLX_E_GENERAL;
    }
    return AbortAndDrain(connection, sequence, ZLX_E_GENERAL);
  }
  std::memcpy(bytes, packet.Body(), packet.BodyLength());
  uint32_t received = packet.BodyLength();
  uint16_t detail = 0;
  while (received < total) {
    if (Cancelled(transfer)) {
      body.Unlock();
      return AbortAndDrain(connection, sequence, ZLX_E_CANCELLED);
    }
    result = connection.ReadDataPacket(sequence, packet, kPacketTimeout);
    if (!ZlxSucceeded(result)) return result;
    if (!Consistent(packet, total, total - received)) {
      body.Unlock();
      if (packet.prefix.last) {
        connection.AbortTransfer(sequence);
        return ZLX_E_GENERAL;
      }
      return AbortAndDrain(connection, sequence, ZLX_E_GENERAL);
    }
    std::memcpy(bytes + received, packet.Body(), packet.BodyLength());
    received += packet.BodyLength();
    detail = packet.prefix.status.detail;
    Paint(transfer, received, total);
  }
  body.Unlock();

  unique_handle client(OpenProcess(PROCESS_ALL_ACCESS, TRUE, clientProcessId));
  HANDLE remote = nullptr;
  if (!client ||
      !DuplicateHandle(GetCurrentProcess(), local, client.get(), &remote, 0, TRUE, DUPLICATE_SAME_ACCESS) || !remote)
    return ZLX_E_NO_MEMORY;
  mapping = HandleTo32(remote);
  size = total;
  return ZlxMakeResult(ZLX_OK, detail);
}

ZLXRESULT Send(ZltpConnection &connection, CameraLink::Text name, const TransferContext &transfer,
               const uint8_t *body, uint32_t length, uint32_t flags) {
  size_t nameLength = 0;
  if (!name.chars || (!body && length)) return ZLX_E_INVALID_PARAMETER;
  if (!NameLength(name, nameLength) || nameLength >= kNameLimit) return ZLX_E_INVALID_NAME;
  if (Cancelled(transfer)) return ZLX_E_CANCELLED;
  const uint32_t maximum = connection.MaximumPacketSize();
  // A packet must hold at least one body byte, or the body never ends.
  if (maximum && maximum <= std::max<size_t>(nameLength + 24, kSendOverhead)) return ZLX_E_GENERAL;

  // Flags big-endian, body length little-endian, then the name.
  std::vector<uint8_t> payload(8 + nameLength + 1);
  for (int i = 0; i < 4; ++i) payload[i] = static_cast<uint8_t>(flags >> (24 - 8 * i));
  for (int i = 0; i < 4; ++i) payload[4 + i] = static_cast<uint8_t>(length >> (8 * i));
  std::memcpy(payload.data() + 8, name.chars, nameLength);
  uint16_t sequence = 0;
  ZLXRESULT result =
      connection.SendRequest(zltp::kSendFile, payload.data(), static_cast<uint32_t>(payload.size()), sequence);
  if (!ZlxSucceeded(result)) return result;
  Sleep(kPauseBeforeBody);

  bool ended = false;
  result = SendChunks(connection, sequence, transfer, body, length, false, ended);
  if (ended || !ZlxSucceeded(result)) return result;
  if (connection.ProtocolVersion() < 2) {
    // A version-1 camera sends no final reply: give it time to store the body.
    Sleep(length <= kVersion1ShortBody ? kVersion1ShortWait : kVersion1LongWait);
    return ZLX_OK;
  }
  return connection.ReadFinalReply(sequence, zltp::kSendFinal, kRequestTimeout);
}

ZLXRESULT SendStamp(ZltpConnection &connection, const TransferContext &transfer, uint16_t kind, CameraLink::Text name,
                    const uint32_t (&sizes)[ZLX_STAMP_PARTS], const uint8_t *body) {
  if (!body) return ZLX_E_INVALID_PARAMETER;
  uint64_t total = 0;
  for (uint32_t s : sizes) total += s;
  if (total == 0 || total > 0xFFFFFFFFu || kind >= kStampKinds) return ZLX_E_INVALID_PARAMETER;
  if (Cancelled(transfer)) return ZLX_E_CANCELLED;
  const uint32_t maximum = connection.MaximumPacketSize();
  if (maximum && maximum < kStampRequestSize) return ZLX_E_GENERAL;

  // Kind, the name cut to 15 characters in a zero-filled 16-byte field, the
  // eight sizes; all little-endian.
  uint8_t payload[2 + kStampNameField + 4 * ZLX_STAMP_PARTS] = {};
  payload[0] = static_cast<uint8_t>(kind);
  payload[1] = static_cast<uint8_t>(kind >> 8);
  const size_t nameLength = name.chars ? strnlen(name.chars, name.field < 15 ? name.field : 15) : 0;
  std::memcpy(payload + 2, name.chars, nameLength);
  for (int i = 0; i < ZLX_STAMP_PARTS; ++i)
    for (int b = 0; b < 4; ++b) payload[2 + kStampNameField + 4 * i + b] = static_cast<uint8_t>(sizes[i] >> (8 * b));
  uint16_t sequence = 0;
  ZLXRESULT result = connection.SendRequest(zltp::kSendStamp, payload, sizeof payload, sequence);
  if (!ZlxSucceeded(result)) return result;

  bool ended = false;
  result = SendChunks(connection, sequence, transfer, body, static_cast<uint32_t>(total), true, ended);
  if (!ZlxSucceeded(result)) return result;
  return connection.ReadFinalReply(sequence, zltp::kSendStamp, ended ? kReplyTimeout : kRequestTimeout);
}
