#include "request_fields.h"

#include <cstring>

#include "zltp_bytes.h"

using namespace zltp;

bool TakeString(const std::vector<uint8_t> &payload, size_t &offset, std::string &out) {
  if (offset >= payload.size()) return false;
  const auto *start = reinterpret_cast<const char *>(payload.data() + offset);
  const void *end = std::memchr(start, 0, payload.size() - offset);
  if (!end) return false;
  out.assign(start, static_cast<const char *>(end));
  offset += out.size() + 1;
  return true;
}

bool FlagsAndTwoStrings(const std::vector<uint8_t> &payload, uint32_t &flags, std::string &a, std::string &b) {
  if (payload.size() < 4) return false;
  flags = GetBe32(payload.data());
  size_t offset = 4;
  return TakeString(payload, offset, a) && TakeString(payload, offset, b);
}

bool DecodeStampRequest(const std::vector<uint8_t> &payload, StampRequest &stamp) {
  constexpr size_t kNameField = 16;
  if (payload.size() < 2 + kNameField + 4 * 8) return false;
  stamp.kind = GetLe16(payload.data());
  const auto *name = reinterpret_cast<const char *>(payload.data() + 2);
  stamp.name.assign(name, strnlen(name, kNameField));
  stamp.total = 0;
  for (int i = 0; i < 8; ++i) stamp.total += GetLe32(payload.data() + 2 + kNameField + 4 * i);
  return true;
}
