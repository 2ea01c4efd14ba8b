// What the simulated camera does with each request.
#include <cstdio>
#include <cstring>

#include "exif_thumbnail.h"
#include "request_fields.h"
#include "zltp_bytes.h"
#include "zltp_session.h"

using namespace zltp;

namespace {

const char kConfigurationName[] = "ZL1_CONFIGURATION";

// A status fault answers the requests that reply with data packets as well.
uint16_t ForcedStatus(const FaultSet &faults, uint32_t opcode, uint16_t status) {
  const Fault *forced = faults.Find(FaultKind::Status, opcode);
  return forced ? static_cast<uint16_t>(forced->value) : status;
}

std::vector<uint8_t> Le32(uint32_t value) {
  std::vector<uint8_t> bytes(4);
  PutLe32(bytes.data(), value);
  return bytes;
}

std::vector<std::vector<uint8_t>> Split(const std::vector<uint8_t> &body, size_t chunk) {
  std::vector<std::vector<uint8_t>> chunks;
  for (size_t at = 0; at < body.size(); at += chunk)
    chunks.emplace_back(body.begin() + at, body.begin() + std::min(body.size(), at + chunk));
  if (chunks.empty()) chunks.emplace_back();
  return chunks;
}

std::string StatusText(uint16_t status) { return status ? "-> status " + std::to_string(status) : "-> ok"; }

}  // namespace

bool ZltpSession::HandleRequest(const Packet &request) {
  const std::vector<uint8_t> &p = request.payload;
  std::string path, other;
  uint32_t flags = 0;
  uint16_t result = status::kOk;
  switch (request.header.opcode) {
    case kVersionOffer: {
      const uint16_t offered = p.size() >= 2 ? GetLe16(p.data()) : 0;
      bool accepted = false;
      for (uint16_t v : options_.versions) accepted = accepted || v == offered;
      if (options_.faults.Has(FaultKind::Version1, kVersionOffer)) accepted = offered == 1;
      std::vector<uint8_t> extra(6, 0);
      PutBe32(extra.data(), options_.model - 1);
      const uint16_t named = options_.faults.Has(FaultKind::Version3, kVersionOffer) ? 3 : offered;
      PutLe16(extra.data() + 4, accepted ? named : 0);
      if (accepted) version_ = offered;
      Log(request, "version offer " + std::to_string(offered) + (accepted ? " accepted" : " refused"));
      return Reply(request, accepted ? 0 : 1, extra);
    }
    case kLinkParameters:
      Log(request, "link parameters");
      return Reply(request, 0, Le32(options_.maximumPacketSize));
    case kCloseCamera:
      Log(request, "close");
      closing_ = true;
      return Reply(request, 0);
    case kResynchronise:
      Log(request, "resynchronise");
      requests_.clear();
      incoming_.reset();
      early_.clear();
      return Reply(request, 0);
    case kAbortTransfer:
      if (incoming_ && incoming_->sequence == request.header.sequence) incoming_.reset();
      Log(request, "abort");
      return true;
    case kDriveList: {
      std::vector<uint8_t> extra{static_cast<uint8_t>(kDriveCount)};
      for (int drive = 0; drive < kDriveCount; ++drive) {
        extra.push_back(static_cast<uint8_t>(drive));
        extra.push_back(storage_.Present(drive) ? 0 : 1);
        const char *name = CameraStorage::DriveName(drive);
        extra.insert(extra.end(), name, name + std::strlen(name) + 1);
      }
      Log(request, "drive list");
      return Reply(request, 0, extra);
    }
    case kDriveCapacity:
    case kDriveFree: {
      const int drive = p.empty() ? -1 : p[0];
      if (drive < 0 || drive >= kDriveCount) return Reply(request, status::kBadParameter);
      if (!storage_.Present(drive)) return Reply(request, status::kDriveAccess);
      const uint32_t value =
          request.header.opcode == kDriveCapacity ? storage_.Capacity(drive) : storage_.FreeSpace(drive);
      Log(request, "drive " + std::to_string(drive) + " value " + std::to_string(value));
      return Reply(request, 0, Le32(value));
    }
    case kFormatDriveFirst:
    case kFormatDriveSecond:
      result = p.empty() ? status::kBadParameter
               : request.header.opcode == kFormatDriveFirst ? storage_.CheckFormat(p[0])
                                                             : storage_.Format(p[0]);
      Log(request, "format " + StatusText(result));
      return Reply(request, result);
    case kCreateDirectory:
    case kEraseDirectoryFirst:
    case kEraseDirectorySecond: {
      size_t offset = 0;
      if (!TakeString(p, offset, path)) return Reply(request, status::kBadParameter);
      result = request.header.opcode == kCreateDirectory       ? storage_.CreateDirectory(path)
               : request.header.opcode == kEraseDirectoryFirst ? storage_.CheckEraseDirectory(path)
                                                               : storage_.EraseDirectory(path);
      Log(request, path + " " + StatusText(result));
      return Reply(request, result);
    }
    case kRenameDirectory:
    case kRenameFile:
      if (!FlagsAndTwoStrings(p, flags, path, other)) return Reply(request, status::kBadParameter);
      result = storage_.Rename(path, other, request.header.opcode == kRenameDirectory);
      Log(request, path + " to " + other + " " + StatusText(result));
      return Reply(request, result);
    case kCopyDirectory:
    case kMoveDirectory:
    case kCopyFile:
    case kMoveFile: {
      if (!FlagsAndTwoStrings(p, flags, path, other)) return Reply(request, status::kBadParameter);
      const uint32_t op = request.header.opcode;
      result = storage_.CopyOrMove(path, other, op == kMoveDirectory || op == kMoveFile,
                                   op == kCopyDirectory || op == kMoveDirectory);
      Log(request, path + " to " + other + " " + StatusText(result));
      return Reply(request, result);
    }
    case kSetAttribute: {
      size_t offset = 1;
      if (p.empty() || !TakeString(p, offset, path)) return Reply(request, status::kBadParameter);
      result = storage_.SetAttribute(path, p[0]);
      Log(request, path + " attribute " + std::to_string(p[0]) + " " + StatusText(result));
      return Reply(request, result);
    }
    case kEraseFileFirst:
    case kEraseFileSecond: {
      // The first step carries a fixed 128-byte path field, the second the path alone.
      size_t offset = 4;
      if (p.size() < 5 || !TakeString(p, offset, path)) return Reply(request, status::kBadParameter);
      uint16_t count = 0;
      result = storage_.EraseFiles(path, GetBe32(p.data()), request.header.opcode == kEraseFileFirst, count);
      std::vector<uint8_t> extra(2);
      PutLe16(extra.data(), count);
      Log(request, path + " count " + std::to_string(count) + " " + StatusText(result));
      return Reply(request, result, extra);
    }
    case kQueryStampSize: {
      std::vector<uint8_t> extra(64);
      for (int i = 0; i < 8; ++i) {
        PutLe16(&extra[i * 8], static_cast<uint16_t>(64 * (i + 1)));
        PutLe16(&extra[i * 8 + 2], static_cast<uint16_t>(48 * (i + 1)));
        PutLe32(&extra[i * 8 + 4], static_cast<uint32_t>(64 * 48 * (i + 1) * (i + 1) / 8));
      }
      Log(request, "stamp sizes");
      return Reply(request, 0, extra);
    }
    case kListing:
      return HandleListing(request);
    case kReceiveFile:
      return HandleReceive(request, false);
    case kReceiveThumbnail:
      return HandleReceive(request, true);
    case kSendFile:
      return HandleSendRequest(request);
    case kSendStamp:
      return HandleStampRequest(request);
    default:
      Log(request, "not supported");
      return Reply(request, status::kNotSupported);
  }
}

// A refusal has the shape of the request's own failure answer.
bool ZltpSession::Refuse(const Packet &request, uint16_t status) {
  switch (request.header.opcode) {
    case kListing:
    case kReceiveFile:
    case kReceiveThumbnail:
      return SendError(request, status);
    case kSendFile:
      return Reply(request, status, {}, kSendFinal);
    case kEraseFileFirst:
    case kEraseFileSecond:
      return Reply(request, status, {0, 0});  // no file counted
    default:
      return Reply(request, status);
  }
}

bool ZltpSession::HandleListing(const Packet &request) {
  std::string path;
  size_t offset = 1;
  if (request.payload.empty() || !TakeString(request.payload, offset, path))
    return SendError(request, status::kBadParameter);
  std::vector<WireEntry> entries;
  const uint16_t result =
      ForcedStatus(options_.faults, request.header.opcode, storage_.List(path, request.payload[0], entries));
  if (result) {
    Log(request, "list kind " + std::to_string(request.payload[0]) + " " + path + " " + StatusText(result));
    return SendError(request, result);
  }

  // Whole entries per packet, as many as the packet size allows (at least one).
  const size_t room = ChunkLimit();
  std::vector<std::vector<uint8_t>> bodies;
  std::vector<uint8_t> body(2, 0);
  uint16_t inBody = 0;
  for (const WireEntry &entry : entries) {
    std::vector<uint8_t> encoded;
    EncodeListingEntry(entry, encoded);
    if (inBody > 0 && body.size() + encoded.size() > room) {
      PutLe16(body.data(), inBody);
      bodies.push_back(std::move(body));
      body.assign(2, 0);
      inBody = 0;
    }
    body.insert(body.end(), encoded.begin(), encoded.end());
    ++inBody;
  }
  PutLe16(body.data(), inBody);
  bodies.push_back(std::move(body));
  if (!entries.empty()) {
    std::vector<uint8_t> &first = bodies.front();
    if (options_.faults.Has(FaultKind::BadEntry, kListing)) PutLe16(&first[2], 0);
    if (options_.faults.Has(FaultKind::EntryPastEnd, kListing))
      PutLe16(&first[2], static_cast<uint16_t>(first.size() + 10));
  }
  uint32_t total = 0;
  for (const auto &b : bodies) total += static_cast<uint32_t>(b.size());
  Log(request, "list kind " + std::to_string(request.payload[0]) + " " + path + " " + std::to_string(entries.size()) +
                   " entries in " + std::to_string(bodies.size()) + " packets -> ok");
  return SendChunks(request, bodies, total);
}

bool ZltpSession::HandleReceive(const Packet &request, bool thumbnail) {
  std::string name;
  size_t offset = 0;
  if (!TakeString(request.payload, offset, name)) return SendError(request, status::kBadParameter);
  std::vector<uint8_t> body;
  uint16_t result = status::kOk;
  if (!thumbnail && name == kConfigurationName) {
    body.assign(configuration_.begin(), configuration_.end());
  } else {
    result = storage_.ReadFile(name, body);
    if (!result && thumbnail) {
      std::vector<uint8_t> picture = std::move(body);
      body.clear();
      if (!ExtractExifThumbnail(picture, body)) result = status::kNotTransferable;
    }
  }
  result = ForcedStatus(options_.faults, request.header.opcode, result);
  Log(request, (thumbnail ? "thumbnail " : "receive ") + name + " " + std::to_string(body.size()) + " bytes " +
                   StatusText(result));
  if (result) return SendError(request, result);
  return SendChunks(request, Split(body, ChunkLimit()), static_cast<uint32_t>(body.size()));
}

bool ZltpSession::HandleSendRequest(const Packet &request) {
  const std::vector<uint8_t> &p = request.payload;
  Incoming incoming;
  size_t offset = 8;
  if (p.size() < 9 || !TakeString(p, offset, incoming.name)) return Reply(request, status::kBadParameter, {}, kSendFinal);
  const uint32_t flags = GetBe32(p.data());
  incoming.total = GetLe32(p.data() + 4);
  incoming.opcode = kSendFile;
  incoming.sequence = request.header.sequence;
  incoming.closeAfterFirst = options_.faults.Has(FaultKind::CloseMid, kSendFile);
  incoming.closeInData = closeInData_;
  const uint16_t result = incoming.name == kConfigurationName ? status::kOk : storage_.CheckWrite(incoming.name, flags);
  Log(request, "send " + incoming.name + " " + std::to_string(incoming.total) + " bytes " + StatusText(result));
  if (result) return Reply(request, result, {}, kSendFinal);  // the camera ends the transfer at once
  return StartIncoming(std::move(incoming));
}

bool ZltpSession::StartIncoming(Incoming incoming) {
  incoming_ = std::move(incoming);
  std::deque<Packet> early = std::move(early_);
  early_.clear();
  for (Packet &packet : early) {
    if (!HandleDataPacket(packet)) return false;
  }
  return true;
}

bool ZltpSession::HandleStampRequest(const Packet &request) {
  StampRequest stamp;
  if (!DecodeStampRequest(request.payload, stamp)) return Reply(request, status::kBadParameter);
  Incoming incoming;
  const uint16_t kind = stamp.kind;
  incoming.name = stamp.name;
  const uint64_t total = stamp.total;  // eight 32-bit sizes may pass 32 bits together
  incoming.opcode = kSendStamp;
  incoming.sequence = request.header.sequence;
  incoming.closeInData = closeInData_;
  Log(request, "stamp " + std::to_string(kind) + " " + incoming.name + " " + std::to_string(total) + " bytes");
  if (kind > 5 || total == 0 || total > 0xFFFFFFFFu) return Reply(request, status::kBadParameter);
  incoming.total = static_cast<uint32_t>(total);
  return StartIncoming(std::move(incoming));
}

bool ZltpSession::HandleDataPacket(const Packet &packet) {
  DataPrefix prefix;
  if (packet.header.opcode != kDataPacket || !DecodeDataPrefix(packet.payload.data(), packet.payload.size(), prefix))
    return true;  // not a body chunk: ignored
  if (!incoming_ || incoming_->sequence != packet.header.sequence) {
    constexpr size_t kEarlyPackets = 16;
    if (early_.size() == kEarlyPackets) early_.pop_front();  // of an ended transfer, most likely
    early_.push_back(packet);
    return true;
  }
  incoming_->body.insert(incoming_->body.end(), packet.payload.begin() + kDataPrefixSize, packet.payload.end());
  Log(packet, "data " + std::to_string(packet.payload.size() - kDataPrefixSize) + (prefix.last ? " last" : ""));
  ++incoming_->packets;
  if (incoming_->closeAfterFirst) return false;
  // The body is kept until it is complete, so a close leaves the card as it was.
  if (const auto &fault = incoming_->closeInData;
      fault && (incoming_->body.size() > ShareOf(fault->cut, incoming_->total) || prefix.last)) {
    LogRandomFault(*fault, incoming_->sequence, incoming_->opcode,
                   "link closed on receiving data packet " + std::to_string(incoming_->packets) + " (" +
                       std::to_string(incoming_->body.size()) + " of " + std::to_string(incoming_->total) +
                       " bytes), nothing stored");
    return false;
  }
  if (incoming_->body.size() > incoming_->total) {
    Packet reply;
    reply.header.opcode = incoming_->opcode;
    reply.header.sequence = incoming_->sequence;
    incoming_.reset();
    return Reply(reply, status::kBadParameter, {}, reply.header.opcode == kSendFile ? kSendFinal : kSendStamp);
  }
  if (!prefix.last) return true;
  return FinishIncoming();
}

bool ZltpSession::FinishIncoming() {
  Incoming incoming = std::move(*incoming_);
  incoming_.reset();
  Packet reply;
  reply.header.opcode = incoming.opcode;
  reply.header.sequence = incoming.sequence;
  if (incoming.body.size() < incoming.total) {
    Log(reply, "transfer cancelled by the link host");
    return true;
  }
  uint16_t result = status::kOk;
  if (incoming.opcode == kSendStamp) {
    Log(reply, "stamp stored");
    return Reply(reply, result, {}, kSendStamp);
  }
  if (incoming.name == kConfigurationName)
    configuration_.assign(incoming.body.begin(), incoming.body.end());
  else
    result = storage_.WriteFile(incoming.name, incoming.body);
  Log(reply, "stored " + incoming.name + " " + StatusText(result));
  if (version_ < 2) return true;  // version 1 sends no final reply
  return Reply(reply, result, {}, kSendFinal);
}
