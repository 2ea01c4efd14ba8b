// The lines camctl prints: listings, drives, model and stamp sizes. Fixed
// text fields from the camera are read only up to their size, so a field
// without its terminating zero cannot run past the record.
#pragma once

#include <cstdint>
#include <string>

#include "zlx_records.h"

// The text of a fixed-size, normally zero-terminated field.
std::string FieldText(const char *field, size_t size);
// "1999-12-31 23:59:59".
std::string FormatCameraTime(const tagZLXTIME &time);
// "12.3 MiB" style size for messages; plain bytes below 1 KiB.
std::string FormatByteSize(uint64_t bytes);
// "-r--a  1999-12-31 23:59:59      12345  NAME" (folders get "/" after the name).
std::string FormatListingLine(const tagZLXFILEINFO &entry);
// The header and one line per drive of the drives command.
std::string DriveTableHeader();
std::string FormatDriveLine(const tagZLXDRIVELISTENTRY &drive, const tagZLXDRIVEINFO *info);
// "LumoK20" for model 1, "LumoK10" for model 2.
std::string ModelName(uint32_t model);
std::string FormatStampSizeLine(int index, const tagZLXSTAMPSIZEENTRY &entry);
