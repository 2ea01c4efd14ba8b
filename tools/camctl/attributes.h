// Camera entry attributes: the letters shown by ls and attr, and the
// attribute texts the attr command accepts.
#pragma once

#include <cstdint>
#include <string>

// Five letters "drhsa" with "-" for each bit not set: folder, read-only,
// hidden, system, archive.
std::string FormatAttributes(uint32_t attributes);
// Applies an attribute text to the current attributes: a number ("0x21", "33"),
// a set of letters out of r h s a ("ra"), changes ("+r", "-a", "+r-h") or "-"
// for none. The folder bit is kept as it is. Returns false with a message.
bool ApplyAttributeText(const std::string &text, uint32_t current, uint32_t &result, std::string &error);
