// Listing bodies: the entries of a directory as the camera sends them in the
// data packets of a listing request, decoded into file entries. Portable code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "zlx_records.h"

namespace zltp {

// Listing kinds, the first payload byte of the listing request.
enum ListingKind : uint8_t {
  kListFiles = 1,        // the files named by the path
  kListDirectories = 2,  // the subdirectories of a directory
  kListAll = 3,          // every entry of a directory
  kListSelf = 4,         // the entry of the directory itself
};

// Fixed part of an entry: length, year (2 BCD bytes), month, day, hour,
// minute, second, attribute, size; the name and its terminator follow.
constexpr size_t kEntryFixedSize = 14;

// One entry as it travels on the wire, before the time conversion.
struct WireEntry {
  uint16_t year = 0;  // full year, e.g. 1999
  uint8_t month = 1, day = 1, hour = 0, minute = 0, second = 0;
  uint8_t attribute = 0;
  uint32_t size = 0;
  std::string name;
};

uint8_t BcdToInt(uint8_t bcd);
uint8_t IntToBcd(unsigned value);  // value 0..99

// Broken-down local time of a camera time stamp, normalised with mktime so
// that day of week and day of year are filled in.
tagZLXTIME TimeFromCamera(const WireEntry &entry);
tagZLXFILEINFO FileInfoFromWire(const WireEntry &entry);

// Decodes one listing body (entry count, then the entries) and appends its
// entries. False when the body is malformed: shorter than its count says, an
// entry length of 0 or below the fixed part, an entry running past the body,
// or a name without its terminator inside the entry. Nothing is appended then.
bool DecodeListingBody(const uint8_t *body, size_t length, std::vector<WireEntry> &entries);

// Appends the wire form of one entry (used by the camera simulator).
void EncodeListingEntry(const WireEntry &entry, std::vector<uint8_t> &out);

// The drive list reply (status block, count, then per drive its number, its
// flag and its NUL-terminated name); false when an entry runs past the reply.
bool DecodeDriveList(const uint8_t *reply, size_t length, std::vector<tagZLXDRIVELISTENTRY> &drives);

}  // namespace zltp
