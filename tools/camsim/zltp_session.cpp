#include "zltp_session.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "socket_io.h"
#include "zltp_bytes.h"

using zltp::kDataPrefixSize;
using zltp::kHeaderSize;

namespace {
constexpr int kPollMs = 200;
constexpr uint32_t kHugeLength = 0x7FFFFFF0;
}  // namespace

ZltpSession::ZltpSession(int control, int data, const ServeOptions &options, CameraStorage &storage,
                         std::string &configuration, RandomFaultSource *randomFaults, const std::atomic<bool> &stop)
    : control_(control),
      data_(data),
      options_(options),
      storage_(storage),
      configuration_(configuration),
      randomFaults_(randomFaults),
      stop_(stop),
      controlReader_(zltp::kPayloadCeiling),
      dataReader_(zltp::kDataPayloadCeiling) {}

ZltpSession::~ZltpSession() {
  CloseFd(control_);
  CloseFd(data_);
}

void ZltpSession::Run() {
  while (!stop_ && !closing_) {
    if (!requests_.empty()) {
      const Packet request = std::move(requests_.front());
      requests_.pop_front();
      if (!Serve(request)) break;
      continue;
    }
    if (!WaitEither(control_, data_, kPollMs)) continue;
    if (!ReadControl(0) || !ReadData(0)) break;
  }
}

// A random fault acts before the camera does anything with the request, so
// that a close or a refusal leaves the card as it was; a close in the data is
// left to the transfer.
bool ZltpSession::Serve(const Packet &request) {
  const RandomFault fault = randomFaults_ ? randomFaults_->Draw(request.header.opcode) : RandomFault{};
  const uint16_t sequence = request.header.sequence;
  const uint32_t opcode = request.header.opcode;
  switch (fault.kind) {
    case RandomFaultKind::None:
      break;
    case RandomFaultKind::CloseAtRequest:
      LogRandomFault(fault, sequence, opcode, "link closed before the request");
      return false;
    case RandomFaultKind::Stall: {
      LogRandomFault(fault, sequence, opcode, "stalled " + std::to_string(fault.stallMs) + " ms");
      // In short steps, so that a stall does not hold up a stop.
      const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(fault.stallMs);
      while (!stop_ && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      break;
    }
    case RandomFaultKind::Refuse:
      LogRandomFault(fault, sequence, opcode, "refused with status " + std::to_string(fault.status));
      return Refuse(request, fault.status);
    case RandomFaultKind::CloseInData:
      closeInData_ = fault;
      break;
  }
  const bool open = HandleRequest(request);
  closeInData_.reset();
  return open;
}

void ZltpSession::LogRandomFault(const RandomFault &fault, uint16_t sequence, uint32_t opcode,
                                 const std::string &what) const {
  std::fprintf(stderr, "camsim: random fault at request %llu (seq %u, op %08X): %s\n",
               static_cast<unsigned long long>(fault.request), sequence, opcode, what.c_str());
}

bool ZltpSession::ReadControl(int timeoutMs) {
  uint8_t buffer[8192];
  const long n = ReadSome(control_, buffer, sizeof buffer, timeoutMs);
  if (n < 0) return false;
  if (!controlReader_.Feed(buffer, static_cast<size_t>(n))) {
    if (options_.verbose) std::fprintf(stderr, "camsim: framing error on the control connection\n");
    return false;
  }
  while (controlReader_.HasPacket()) requests_.push_back(controlReader_.Take());
  return true;
}

bool ZltpSession::ReadData(int timeoutMs) {
  uint8_t buffer[8192];
  const long n = ReadSome(data_, buffer, sizeof buffer, timeoutMs);
  if (n < 0) return false;
  if (!dataReader_.Feed(buffer, static_cast<size_t>(n))) {
    if (options_.verbose) std::fprintf(stderr, "camsim: framing error on the data connection\n");
    return false;
  }
  while (dataReader_.HasPacket()) {
    if (!HandleDataPacket(dataReader_.Take())) return false;
  }
  return true;
}

uint16_t ZltpSession::Detail(uint32_t opcode) const {
  const Fault *detail = options_.faults.Find(FaultKind::Detail, opcode);
  return detail ? static_cast<uint16_t>(detail->value) : 0;
}

void ZltpSession::Pause(uint32_t opcode) const {
  if (const Fault *slow = options_.faults.Find(FaultKind::Slow, opcode))
    std::this_thread::sleep_for(std::chrono::milliseconds(slow->value));
}

// Without a limit a whole body goes in one packet, as the link host sends
// its own; a limit too small for any body byte still carries one.
size_t ZltpSession::ChunkLimit() const {
  const uint32_t maximum = options_.maximumPacketSize;
  if (maximum == 0) return zltp::kLargestTransfer;
  return maximum > kHeaderSize + kDataPrefixSize ? maximum - kHeaderSize - kDataPrefixSize : 1;
}

void ZltpSession::Log(const Packet &request, const std::string &what) const {
  if (!options_.verbose) return;
  // The listing flag (header byte 14) is shown when the link host set it.
  char flag[24] = "";
  if (request.header.listingFlag) std::snprintf(flag, sizeof flag, " [view-all %u]", request.header.listingFlag);
  std::fprintf(stderr, "camsim: seq %5u op %08X len %6u %s%s\n", request.header.sequence, request.header.opcode,
               request.header.payloadLength, what.c_str(), flag);
}

bool ZltpSession::SendPacket(int fd, uint32_t opcode, uint16_t sequence, const std::vector<uint8_t> &payload,
                             std::optional<uint32_t> announcedLength) {
  zltp::Header header;
  header.direction = zltp::kFromCamera;
  header.opcode = opcode;
  header.sequence = sequence;
  header.payloadLength = announcedLength.value_or(static_cast<uint32_t>(payload.size()));
  const zltp::HeaderBytes bytes = zltp::EncodeHeader(header);
  std::vector<uint8_t> packet(bytes.begin(), bytes.end());
  packet.insert(packet.end(), payload.begin(), payload.end());
  return WriteAll(fd, packet.data(), packet.size());
}

bool ZltpSession::Reply(const Packet &request, uint16_t status, const std::vector<uint8_t> &extra,
                        std::optional<uint32_t> opcode) {
  const uint32_t op = request.header.opcode;
  const uint32_t replyOpcode = opcode.value_or(op);
  const uint16_t sequence = request.header.sequence;
  const FaultSet &faults = options_.faults;
  if (faults.Has(FaultKind::Silent, op)) return true;
  Pause(op);
  if (faults.Has(FaultKind::CloseMid, op)) return false;
  if (faults.Has(FaultKind::BadHeader, op)) {
    const uint8_t wrong[kHeaderSize] = {0x00, 0x00, 0x10, 0x00};
    return WriteAll(control_, wrong, sizeof wrong);
  }
  if (faults.Has(FaultKind::HugeLength, op)) return SendPacket(control_, replyOpcode, sequence, {}, kHugeLength);
  if (const Fault *forced = faults.Find(FaultKind::Status, op)) status = static_cast<uint16_t>(forced->value);

  std::vector<uint8_t> payload(zltp::kStatusSize);
  if (faults.Has(FaultKind::Stale, op)) {
    zltp::EncodeStatus(payload.data(), {0, 0});
    if (!SendPacket(control_, replyOpcode, static_cast<uint16_t>(sequence - 1), payload)) return false;
  }
  if (const Fault *interim = faults.Find(FaultKind::Interim, op)) {
    for (uint32_t i = 0; i < interim->value; ++i) {
      zltp::EncodeStatus(payload.data(), {0, zltp::kInterimDetail});
      if (!SendPacket(control_, replyOpcode, sequence, payload)) return false;
    }
  }
  zltp::EncodeStatus(payload.data(), {status, Detail(op)});
  payload.insert(payload.end(), extra.begin(), extra.end());
  return SendPacket(control_, replyOpcode, sequence, payload);
}

bool ZltpSession::SendDataPacket(uint16_t sequence, uint16_t status, bool last, uint32_t total,
                                 const uint8_t *body, size_t length) {
  std::vector<uint8_t> payload(kDataPrefixSize);
  zltp::DataPrefix prefix;
  prefix.status = {status, 0};
  prefix.last = last;
  prefix.total = total;
  zltp::EncodeDataPrefix(payload.data(), prefix);
  if (length) payload.insert(payload.end(), body, body + length);
  return SendPacket(data_, zltp::kDataPacket, sequence, payload);
}

bool ZltpSession::SendError(const Packet &request, uint16_t status) {
  const uint32_t op = request.header.opcode;
  if (options_.faults.Has(FaultKind::Silent, op)) return true;
  Pause(op);
  return SendDataPacket(request.header.sequence, status, true, 0, nullptr, 0);
}

// An abort request for the sequence among the requests read so far; it is
// consumed.
bool ZltpSession::AbortPending(uint16_t sequence) {
  for (auto it = requests_.begin(); it != requests_.end(); ++it) {
    if (it->header.opcode == zltp::kAbortTransfer && it->header.sequence == sequence) {
      requests_.erase(it);
      return true;
    }
  }
  return false;
}

bool ZltpSession::SendChunks(const Packet &request, const std::vector<std::vector<uint8_t>> &chunks,
                             uint32_t total) {
  const uint32_t op = request.header.opcode;
  const uint16_t sequence = request.header.sequence;
  const FaultSet &faults = options_.faults;
  if (faults.Has(FaultKind::Silent, op)) return true;
  Pause(op);
  if (faults.Has(FaultKind::HugeLength, op)) return SendPacket(data_, zltp::kDataPacket, sequence, {}, kHugeLength);
  if (faults.Has(FaultKind::StaleShort, op)) {
    // A leftover of another request, too short to be a data packet of ours.
    if (!SendPacket(data_, zltp::kDataPacket, static_cast<uint16_t>(sequence - 1), {1, 2, 3})) return false;
  }
  if (faults.Has(FaultKind::Stale, op)) {
    // A leftover packet of an older transfer comes first.
    const uint8_t junk[4] = {1, 2, 3, 4};
    if (!SendDataPacket(static_cast<uint16_t>(sequence - 1), 0, true, 4, junk, sizeof junk)) return false;
  }
  const std::optional<uint64_t> closeAfter =
      closeInData_ ? std::optional<uint64_t>(ShareOf(closeInData_->cut, chunks.size())) : std::nullopt;
  for (size_t i = 0; i < chunks.size(); ++i) {
    if (closeAfter == i) {
      LogRandomFault(*closeInData_, sequence, op,
                     "link closed after " + std::to_string(i) + " of " + std::to_string(chunks.size()) +
                         " data packets");
      return false;
    }
    if (i > 0) {
      Pause(op);
      if (!ReadControl(0)) return false;
      if (AbortPending(sequence)) {
        Log(request, "aborted");
        return SendDataPacket(sequence, 0, true, total, nullptr, 0);
      }
    }
    std::vector<uint8_t> body = chunks[i];
    uint32_t announcedTotal = total;
    if (i == 1 && faults.Has(FaultKind::DataTotal, op)) announcedTotal = total + 1;
    if (faults.Has(FaultKind::DataShort, op)) announcedTotal = total + 100;
    if (const Fault *forced = faults.Find(FaultKind::Total, op)) announcedTotal = forced->value;
    if (i == 0 && faults.Has(FaultKind::DataOversize, op)) body.resize(body.size() + 16, 0xEE);
    const bool last = i + 1 == chunks.size();
    if (!SendDataPacket(sequence, 0, last, announcedTotal, body.data(), body.size())) return false;
    if (i == 0 && faults.Has(FaultKind::CloseMid, op)) return false;
  }
  return true;
}
