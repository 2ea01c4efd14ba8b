// Texts from this module's string table, in the ANSI code page, and the
// texts made from them: drive labels and size texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace camfolder {

// The string-table entry; nullopt when it cannot be loaded.
std::optional<std::string> LoadModuleString(unsigned id, size_t bufferSize = 1024);
// The entry, or the fallback text when it cannot be loaded.
std::string ModuleStringOr(unsigned id, const char *fallback);

// "内蔵メモリ (0:)", "CF (1:)", "ATA (2:)"; nullopt for drives without a name.
std::optional<std::string> DriveLabel(uint32_t drive);

// "999 バイト", "0.97KB", "1.90MB".
std::string SizeText(uint64_t value);

}  // namespace camfolder
