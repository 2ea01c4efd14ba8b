// Camera entry attributes: the letters shown by ls and attr, and the
// attribute specifications the attr command accepts.
#pragma once

#include <cstdint>
#include <string>

// Five letters "drhsa" with "-" for each bit not set: folder, read-only,
// hidden, system, archive.
std::string FormatAttributes(uint32_t attributes);
// Applies a specification to the current attributes: a number ("0x21", "33"),
// a set of letters out of r h s a ("ra"), changes ("+r", "-a", "+r-h") or "-"
// for none. The folder bit is kept as it is. Returns false with a message.
bool ApplyAttributeSpec(const std::string &spec, uint32_t current, uint32_t &result, std::string &error);
