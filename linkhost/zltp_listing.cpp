#include "zltp_listing.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "zltp_bytes.h"

namespace zltp {

uint8_t BcdToInt(uint8_t bcd) { return static_cast<uint8_t>((bcd >> 4) * 10 + (bcd & 0x0F)); }

uint8_t IntToBcd(unsigned value) { return static_cast<uint8_t>(((value / 10 % 10) << 4) | (value % 10)); }

tagZLXTIME TimeFromCamera(const WireEntry &entry) {
  std::tm tm{};
  tm.tm_sec = entry.second;
  tm.tm_min = entry.minute;
  tm.tm_hour = entry.hour;
  tm.tm_mday = entry.day;
  tm.tm_mon = entry.month - 1;
  tm.tm_year = entry.year - 1900;
  tm.tm_isdst = 0;
  std::mktime(&tm);  // fills in day of week and day of year
  return {tm.tm_sec, tm.tm_min, tm.tm_hour, tm.tm_mday, tm.tm_mon,
          tm.tm_year, tm.tm_wday, tm.tm_yday, tm.tm_isdst};
}

tagZLXFILEINFO FileInfoFromWire(const WireEntry &entry) {
  tagZLXFILEINFO info{};
  std::strncpy(info.name, entry.name.c_str(), sizeof info.name - 1);
  info.attributes = entry.attribute;
  info.size = entry.size;
  info.time = TimeFromCamera(entry);
  return info;
}

bool DecodeListingBody(const uint8_t *body, size_t length, std::vector<WireEntry> &entries) {
  if (length < 2) return false;
  const size_t count = GetLe16(body);
  std::vector<WireEntry> decoded;
  size_t offset = 2;
  for (size_t i = 0; i < count; ++i) {
    if (length - offset < kEntryFixedSize + 1) return false;
    const uint8_t *p = body + offset;
    const size_t entryLength = GetLe16(p);
    if (entryLength < kEntryFixedSize + 1 || entryLength > length - offset) return false;
    const char *name = reinterpret_cast<const char *>(p + kEntryFixedSize);
    const size_t nameRoom = entryLength - kEntryFixedSize;
    const void *terminator = std::memchr(name, 0, nameRoom);
    if (!terminator) return false;
    WireEntry entry;
    entry.year = static_cast<uint16_t>(BcdToInt(p[2]) * 100 + BcdToInt(p[3]));
    entry.month = BcdToInt(p[4]);
    entry.day = BcdToInt(p[5]);
    entry.hour = BcdToInt(p[6]);
    entry.minute = BcdToInt(p[7]);
    entry.second = BcdToInt(p[8]);
    entry.attribute = p[9];
    entry.size = GetLe32(p + 10);
    entry.name.assign(name, static_cast<const char *>(terminator));
    decoded.push_back(std::move(entry));
    offset += entryLength;
  }
  entries.insert(entries.end(), decoded.begin(), decoded.end());
  return true;
}

void EncodeListingEntry(const WireEntry &entry, std::vector<uint8_t> &out) {
  const size_t start = out.size();
  const size_t length = kEntryFixedSize + entry.name.size() + 1;
  out.resize(start + length);
  uint8_t *p = out.data() + start;
  PutLe16(p, static_cast<uint16_t>(length));
  p[2] = IntToBcd(entry.year / 100);
  p[3] = IntToBcd(entry.year % 100);
  p[4] = IntToBcd(entry.month);
  p[5] = IntToBcd(entry.day);
  p[6] = IntToBcd(entry.hour);
  p[7] = IntToBcd(entry.minute);
  p[8] = IntToBcd(entry.second);
  p[9] = entry.attribute;
  PutLe32(p + 10, entry.size);
  std::memcpy(p + kEntryFixedSize, entry.name.c_str(), entry.name.size() + 1);
}

bool DecodeDriveList(const uint8_t *reply, size_t length, std::vector<tagZLXDRIVELISTENTRY> &drives) {
  drives.clear();
  if (length < 5) return false;
  const unsigned count = reply[4];
  size_t offset = 5;
  for (unsigned i = 0; i < count; ++i) {
    if (length - offset < 3) return false;
    const auto *name = reinterpret_cast<const char *>(&reply[offset + 2]);
    const size_t room = length - offset - 2;
    const size_t nameLength = strnlen(name, room);
    if (nameLength == room) return false;  // the name runs past the reply
    tagZLXDRIVELISTENTRY entry{};
    entry.number = reply[offset];
    entry.present = reply[offset + 1] == 0 ? 1 : 0;
    std::memcpy(entry.name, name, std::min(nameLength, sizeof entry.name - 1));
    drives.push_back(entry);
    offset += 2 + nameLength + 1;
  }
  return true;
}

}  // namespace zltp
