#include "camera_link.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <string>

#include "command_checks.h"
#include "shared/command_server.h"
#include "zltp_bytes.h"

using namespace zltp;

namespace {

constexpr DWORD kRequestTimeout = 30000;
constexpr DWORD kCloseTimeout = 10000;
constexpr DWORD kDrainTimeout = 10000;
constexpr size_t kPathMax = ZLX_PATH_MAX;
constexpr size_t kNameMax = ZLX_NAME_MAX;
constexpr size_t kErasePathField = 128;

std::optional<std::string> TextOf(const CameraLink::Text &text, size_t limit) {
  return FieldText(text.chars, text.field, limit);
}

void AppendBe32(std::vector<uint8_t> &out, uint32_t value) {
  out.resize(out.size() + 4);
  PutBe32(out.data() + out.size() - 4, value);
}

void AppendString(std::vector<uint8_t> &out, const std::string &text) {
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(0);
}

void CopyPath(char (&field)[kErasePathField], const std::string &path) {
  std::memset(field, 0, sizeof field);
  std::memcpy(field, path.data(), std::min(path.size(), sizeof field - 1));
}

// flags, first path, second text: the payload of rename, copy and move.
std::vector<uint8_t> FlagsAndTwoTexts(uint32_t flags, const std::string &first, const std::string &second) {
  std::vector<uint8_t> payload;
  AppendBe32(payload, flags);
  AppendString(payload, first);
  AppendString(payload, second);
  return payload;
}

}  // namespace

ZLXRESULT CameraLink::Request(uint32_t opcode, const std::vector<uint8_t> &payload, void *reply,
                              uint32_t capacity, uint32_t *replyLength, DWORD timeout) {
  uint8_t status[kStatusSize];
  if (!reply) {
    reply = status;
    capacity = sizeof status;
  }
  return connection_.Transact(opcode, payload.empty() ? nullptr : payload.data(),
                              static_cast<uint32_t>(payload.size()), reply, capacity, replyLength, timeout);
}

ZLXRESULT CameraLink::OpenCamera(Text address, uint32_t &model, uint32_t &protocolVersion) {
  const auto text = TextOf(address, 15);
  if (!text) return ZLX_E_INVALID_PARAMETER;
  uint32_t reportedModel = 0;
  uint16_t version = 0;
  const ZLXRESULT result = connection_.Connect(text->c_str(), reportedModel, version);
  if (ZlxSucceeded(result)) {
    model = reportedModel;
    protocolVersion = version;
  }
  return result;
}

ZLXRESULT CameraLink::CloseCamera() {
  const ZLXRESULT result = Request(kCloseCamera, {}, nullptr, 0, nullptr, kCloseTimeout);
  connection_.Disconnect();
  return result;
}

ZLXRESULT CameraLink::FormatDrive(uint8_t drive) {
  const ZLXRESULT result = Request(kFormatDriveFirst, {drive});
  if (!ZlxSucceeded(result)) return result;
  return Request(kFormatDriveSecond, {drive});
}

ZLXRESULT CameraLink::ListDrives(std::vector<tagZLXDRIVELISTENTRY> &drives) {
  drives.clear();
  // As large as the camera's packet size allows, but never more than the
  // longest list a count byte can announce: 255 drives, each with its number,
  // its flag and a name as long as the entry keeps. A camera announcing a
  // huge packet size thus makes no huge buffer.
  constexpr uint32_t kLongestDriveList = kStatusSize + 1 + 255 * (2 + sizeof(tagZLXDRIVELISTENTRY::name));
  const uint32_t limit = PayloadLimit(connection_.MaximumPacketSize());
  std::vector<uint8_t> reply(std::clamp<uint32_t>(limit, kStatusSize, kLongestDriveList));
  uint32_t length = 0;
  const ZLXRESULT result =
      Request(kDriveList, {}, reply.data(), static_cast<uint32_t>(reply.size()), &length);
  if (!ZlxSucceeded(result)) return result;
  if (!DecodeDriveList(reply.data(), length, drives)) return ZLX_E_GENERAL;
  return result;
}

ZLXRESULT CameraLink::GetDriveList(uint32_t clientProcessId, uint8_t &count, uint32_t &mapping) {
  std::vector<tagZLXDRIVELISTENTRY> drives;
  const ZLXRESULT result = ListDrives(drives);
  if (!ZlxSucceeded(result)) return result;
  uint32_t handle = 0;
  const ZLXRESULT handed = HandResultToClient(clientProcessId, drives.data(),
                                              static_cast<uint32_t>(drives.size() * sizeof(tagZLXDRIVELISTENTRY)),
                                              ResultKind::List, handle);
  if (!ZlxSucceeded(handed)) return handed;
  count = static_cast<uint8_t>(drives.size());
  mapping = handle;
  return result;
}

namespace {

// The 32-bit value of a drive capacity or free-space reply.
ZLXRESULT DriveValue(ZLXRESULT result, const uint8_t *reply, uint32_t length,
                            uint32_t &value) {
  if (!ZlxSucceeded(result)) return result;
  if (length < 8) return ZLX_E_GENERAL;
  value = GetLe32(reply + 4);
  return result;
}

}  // namespace

ZLXRESULT CameraLink::GetDriveCapacity(uint8_t drive, uint32_t &value) {
  uint8_t reply[8] = {};
  uint32_t length = 0;
  const ZLXRESULT result = Request(kDriveCapacity, {drive}, reply, sizeof reply, &length);
  return DriveValue(result, reply, length, value);
}

ZLXRESULT CameraLink::GetDriveFree(uint8_t drive, uint32_t &value) {
  uint8_t reply[8] = {};
  uint32_t length = 0;
  const ZLXRESULT result = Request(kDriveFree, {drive}, reply, sizeof reply, &length);
  return DriveValue(result, reply, length, value);
}

ZLXRESULT CameraLink::MakeDirectory(Text parent, Text name) {
  const auto parentText = TextOf(parent, kPathMax - 1);
  const auto nameText = TextOf(name, kNameMax);
  if (!parentText || !nameText || nameText->empty()) return ZLX_E_INVALID_PARAMETER;
  std::string path = *parentText;
  if (path.empty() || path.back() != '/') path += '/';
  path += *nameText;
  if (path.back() != '/') path += '/';
  if (path.size() > kPathMax) return ZLX_E_INVALID_PARAMETER;
  std::vector<uint8_t> payload;
  AppendString(payload, path);
  return Request(kCreateDirectory, payload);
}

ZLXRESULT CameraLink::RenameEntry(uint32_t opcode, Text path, Text newName, uint32_t flags) {
  const auto pathText = TextOf(path, kPathMax);
  const auto nameText = TextOf(newName, kNameMax);
  if (!pathText || !nameText) return ZLX_E_INVALID_PARAMETER;
  return Request(opcode, FlagsAndTwoTexts(flags, *pathText, *nameText));
}

ZLXRESULT CameraLink::RenameDirectory(Text path, Text newName, uint32_t flags) {
  return RenameEntry(kRenameDirectory, path, newName, flags);
}

ZLXRESULT CameraLink::RenameFile(Text path, Text newName, uint32_t flags) {
  return RenameEntry(kRenameFile, path, newName, flags);
}

ZLXRESULT CameraLink::SetAttribute(Text path, uint8_t attribute) {
  const auto pathText = TextOf(path, kPathMax);
  if (!pathText) return ZLX_E_INVALID_PARAMETER;
  std::vector<uint8_t> payload{attribute};
  AppendString(payload, *pathText);
  return Request(kSetAttribute, payload);
}

ZLXRESULT CameraLink::CopyOrMoveEntry(uint32_t opcode, Text source, Text destination, uint32_t flags) {
  const auto from = TextOf(source, kPathMax);
  const auto to = TextOf(destination, kPathMax);
  if (!from || !to) return ZLX_E_INVALID_PARAMETER;
  return Request(opcode, FlagsAndTwoTexts(flags, *from, *to));
}

ZLXRESULT CameraLink::CopyOrMoveDirectory(bool move, Text source, Text destination, uint32_t flags) {
  return CopyOrMoveEntry(move ? kMoveDirectory : kCopyDirectory, source, destination, flags);
}

ZLXRESULT CameraLink::CopyOrMoveFile(bool move, Text source, Text destination, uint32_t flags) {
  return CopyOrMoveEntry(move ? kMoveFile : kCopyFile, source, destination, flags);
}

ZLXRESULT CameraLink::List(Text path, uint8_t kind, std::vector<tagZLXFILEINFO> &entries) {
  entries.clear();
  const auto pathText = TextOf(path, kPathMax);
  if (!pathText) return ZLX_E_INVALID_PARAMETER;
  std::vector<uint8_t> payload{kind};
  AppendString(payload, *pathText);
  uint16_t sequence = 0;
  ZLXRESULT result =
      connection_.SendRequest(kListing, payload.data(), static_cast<uint32_t>(payload.size()), sequence);
  if (!ZlxSucceeded(result)) return result;

  // Ends the camera's transfer early and reads what it had already sent.
  auto abortAndDrain = [&](uint16_t code) -> ZLXRESULT {
    connection_.AbortTransfer(sequence);
    DataPacket rest;
    for (;;) {
      const ZLXRESULT drained = connection_.ReadDataPacket(sequence, rest, kDrainTimeout);
      if (!ZlxSucceeded(drained)) return drained;
      if (rest.prefix.last) return ZlxMakeResult(code, rest.prefix.status.detail);
    }
  };

  DataPacket packet;
  std::vector<WireEntry> wire;
  for (;;) {
    result = connection_.ReadDataPacket(sequence, packet, kRequestTimeout);
    if (!ZlxSucceeded(result)) {
      entries.clear();
      return result;
    }
    if (packet.BodyLength() > 0) {
      wire.clear();
      if (!DecodeListingBody(packet.Body(), packet.BodyLength(), wire)) {
        entries.clear();
        if (packet.prefix.last) return ZLX_E_GENERAL;
        const ZLXRESULT drained = abortAndDrain(ZLX_E_GENERAL);
        return ZlxSucceeded(drained) ? ZLXRESULT{ZLX_E_GENERAL} : drained;
      }
      try {
        for (const WireEntry &entry : wire) entries.push_back(FileInfoFromWire(entry));
      } catch (const std::bad_alloc &) {
        entries.clear();
        if (packet.prefix.last) return ZLX_E_NO_MEMORY;
        return abortAndDrain(ZLX_E_NO_MEMORY);
      }
    }
    if (packet.prefix.last) return ZlxMakeResult(ZLX_OK, packet.prefix.status.detail);
  }
}

ZLXRESULT CameraLink::GetDirectoryList(uint32_t clientProcessId, Text path, uint8_t kind, uint32_t &count,
                                       uint32_t &mapping) {
  std::vector<tagZLXFILEINFO> entries;
  const ZLXRESULT result = List(path, kind, entries);
  if (!ZlxSucceeded(result)) return result;
  uint32_t handle = 0;
  const ZLXRESULT handed =
      HandResultToClient(clientProcessId, entries.data(),
                         static_cast<uint32_t>(entries.size() * sizeof(tagZLXFILEINFO)), ResultKind::List, handle);
  if (!ZlxSucceeded(handed)) return handed;
  count = static_cast<uint32_t>(entries.size());
  mapping = handle;
  return result;
}

ZLXRESULT CameraLink::GetDirectoryInfo(Text path, tagZLXDIRINFO &info) {
  const auto pathText = TextOf(path, kPathMax);
  if (!pathText) return ZLX_E_INVALID_PARAMETER;
  std::vector<tagZLXFILEINFO> self;
  ZLXRESULT result = List(path, kListSelf, self);
  if (!ZlxSucceeded(result)) return result;
  if (self.size() != 1) return ZLX_E_GENERAL;
  std::vector<tagZLXFILEINFO> all;
  result = List(path, kListAll, all);
  if (!ZlxSucceeded(result)) return result;
  tagZLXDIRINFO out{};
  std::memcpy(out.path, pathText->c_str(), pathText->size() + 1);
  out.attributes = self[0].attributes;
  out.time = self[0].time;
  for (const tagZLXFILEINFO &entry : all) {
    if (entry.attributes & ZLX_ATTR_DIRECTORY) {
      ++out.subdirectories;
    } else {
      ++out.files;
      out.totalFileSize += entry.size;
    }
  }
  info = out;
  return result;
}

ZLXRESULT CameraLink::GetFileInfo(Text path, tagZLXFILEINFO &info) {
  const auto pathText = TextOf(path, kPathMax);
  if (!pathText) return ZLX_E_INVALID_PARAMETER;
  std::vector<tagZLXFILEINFO> entries;
  const ZLXRESULT result = List(path, kListFiles, entries);
  if (!ZlxSucceeded(result)) return result;
  if (entries.size() != 1) return ZLX_E_GENERAL;
  info = entries[0];
  std::memset(info.name, 0, sizeof info.name);
  std::memcpy(info.name, pathText->c_str(), pathText->size());
  return result;
}

ZLXRESULT CameraLink::EraseFile(Text path, uint32_t mode, uint16_t *count) {
  const auto pathText = TextOf(path, kPathMax);
  if (!pathText) return ZLX_E_INVALID_PARAMETER;
  // First step: mode and a fixed 128-byte path field.
  std::vector<uint8_t> first;
  AppendBe32(first, mode);
  first.resize(4 + kErasePathField, 0);
  std::memcpy(first.data() + 4, pathText->data(), pathText->size());
  uint8_t reply[6] = {};
  uint32_t length = 0;
  ZLXRESULT result = Request(kEraseFileFirst, first, reply, sizeof reply, &length);
  if (ZlxSucceeded(result)) {
    std::vector<uint8_t> second;
    AppendBe32(second, mode);
    AppendString(second, *pathText);
    std::memset(reply, 0, sizeof reply);
    length = 0;
    result = Request(kEraseFileSecond, second, reply, sizeof reply, &length);
  }
  if (count) *count = length >= 6 ? GetLe16(reply + 4) : 0;
  return result;
}

ZLXRESULT CameraLink::QueryStampSize(tagZLXSTAMPSIZE &sizes) {
  uint8_t reply[68] = {};
  uint32_t length = 0;
  const ZLXRESULT result = Request(kQueryStampSize, {}, reply, sizeof reply, &length);
  if (!ZlxSucceeded(result)) return result;
  if (length < sizeof reply) return ZLX_E_GENERAL;
  std::memcpy(&sizes, reply + 4, sizeof sizes);
  return result;
}

ZLXRESULT CameraLink::RemoveOneDirectory(const std::string &path, uint32_t flags) {
  std::vector<uint8_t> payload;
  AppendString(payload, path);
  if (!(flags & kEraseKeepAttributes)) {
    std::vector<uint8_t> attribute{0};
    AppendString(attribute, path);
    Request(kSetAttribute, attribute);  // a failure shows in the erase itself
  }
  const ZLXRESULT result = Request(kEraseDirectoryFirst, payload);
  if (!ZlxSucceeded(result)) return result;
  return Request(kEraseDirectorySecond, payload);
}

ZLXRESULT CameraLink::EraseTree(const std::string &path, uint32_t flags, char (&stoppedAt)[128],
                                uint32_t &count) {
  ZLXRESULT result = RemoveOneDirectory(path, flags);
  const uint16_t code = ZlxCode(result);
  if (code == ZLX_OK) return result;
  if (code == ZLX_E_REFUSED || (code == ZLX_E_CANNOT_DELETE && (flags & kEraseNoRecursion))) {
    CopyPath(stoppedAt, path);
    return result;
  }
  if (code != ZLX_E_CANNOT_DELETE) return result;

  if (flags & kEraseForce) flags |= kEraseKeepAttributes;
  std::vector<tagZLXFILEINFO> children;
  result = List(Text(path.c_str(), path.size() + 1), kListDirectories, children);
  if (!ZlxSucceeded(result)) return result;
  for (const tagZLXFILEINFO &child : children) {
    if (!(child.attributes & ZLX_ATTR_DIRECTORY)) continue;
    const std::string name = child.name;
    // A name that would lead back up or nowhere cannot be a subdirectory,
    // and a path past the camera's limit cannot exist: never recurse on them.
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) return ZLX_E_GENERAL;
    const std::string childPath = path + name + "/";
    if (childPath.size() > kPathMax) return ZLX_E_INVALID_NAME;
    result = EraseTree(childPath, flags, stoppedAt, count);
    if (!ZlxSucceeded(result)) return result;
  }

  std::vector<tagZLXFILEINFO> files;
  result = List(Text(path.c_str(), path.size() + 1), kListFiles, files);
  if (!ZlxSucceeded(result)) return result;
  if (!files.empty()) {
    const std::string pattern = path + "*";
    uint16_t erased = 0;
    result = EraseFile(Text(pattern.c_str(), pattern.size() + 1), (flags & kEraseForce) ? 2 : 1, &erased);
    const uint16_t fileCode = ZlxCode(result);
    if (fileCode == ZLX_E_REFUSED || fileCode == ZLX_E_CANNOT_DELETE) {
      CopyPath(stoppedAt, path);
      count = erased;
      return result;
    }
    if (!ZlxSucceeded(result)) return result;
  }
  return RemoveOneDirectory(path, 1);
}

ZLXRESULT CameraLink::EraseDirectory(Text path, uint32_t flags, char (&stoppedAt)[128], uint32_t &count) {
  auto pathText = TextOf(path, kPathMax);
  if (!pathText || pathText->empty()) return ZLX_E_INVALID_PARAMETER;
  if (pathText->back() != '/') *pathText += '/';
  if (pathText->size() > kPathMax) return ZLX_E_INVALID_PARAMETER;
  return EraseTree(*pathText, flags, stoppedAt, count);
}
