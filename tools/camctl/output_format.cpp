#include "output_format.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "attributes.h"

std::string FieldText(const char *field, size_t size) { return std::string(field, strnlen(field, size)); }

std::string FormatCameraTime(const tagZLXTIME &time) {
  char text[96];
  std::snprintf(text, sizeof text, "%04ld-%02d-%02d %02d:%02d:%02d", static_cast<long>(time.year) + 1900,
                time.mon + 1, time.mday, time.hour, time.min, time.sec);
  return text;
}

std::string FormatByteSize(uint64_t bytes) {
  static const char *const kUnits[] = {"KiB", "MiB", "GiB", "TiB"};
  if (bytes < 1024) return std::to_string(bytes) + " bytes";
  double value = static_cast<double>(bytes) / 1024.0;
  int unit = 0;
  while (value >= 1024.0 && unit < 3) {
    value /= 1024.0;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
  return text;
}

std::string FormatListingLine(const tagZLXFILEINFO &entry) {
  std::string name = FieldText(entry.name, sizeof entry.name);
  if (entry.attributes & ZLX_ATTR_DIRECTORY) name += '/';
  char columns[160];
  std::snprintf(columns, sizeof columns, "%s  %s  %10" PRIu32 "  ", FormatAttributes(entry.attributes).c_str(),
                FormatCameraTime(entry.time).c_str(), entry.size);
  return columns + name;
}

std::string DriveTableHeader() { return "Drive  Name          Present        Capacity            Free"; }

std::string FormatDriveLine(const tagZLXDRIVELISTENTRY &drive, const tagZLXDRIVEINFO *info) {
  char text[400];
  const std::string name = FieldText(drive.name, sizeof drive.name);
  if (info) {
    std::snprintf(text, sizeof text, "%-5" PRIu32 "  %-12s  %-7s  %14" PRIu32 "  %14" PRIu32, drive.number,
                  name.c_str(), drive.present ? "yes" : "no", info->capacity, info->freeSpace);
  } else {
    std::snprintf(text, sizeof text, "%-5" PRIu32 "  %-12s  %-7s  %14s  %14s", drive.number, name.c_str(),
                  drive.present ? "yes" : "no", "-", "-");
  }
  return text;
}

std::string ModelName(uint32_t model) {
  switch (model) {
    case 1: return "LumoK20";
    case 2: return "LumoK10";
    default: return "unknown model";
  }
}

std::string FormatStampSizeLine(int index, const tagZLXSTAMPSIZEENTRY &entry) {
  char text[96];
  std::snprintf(text, sizeof text, "%d  %5u  %5u  %10" PRIu32, index, static_cast<unsigned>(entry.value1),
                static_cast<unsigned>(entry.value2), entry.value3);
  return text;
}
