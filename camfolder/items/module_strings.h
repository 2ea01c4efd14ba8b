// Texts from this module's string table and the texts made from them:
// drive labels and size texts. What is shown is taken in UTF-16, which
// carries the stored text whatever the system's ANSI code page; what the
// shell is given as a name (a drive's label) and the file names of the
// camera's backups are ANSI, as the shell's and the camera's names are.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace camfolder {

// The string-table entry in the ANSI code page; nullopt when it cannot be loaded.
std::optional<std::string> LoadModuleString(unsigned id, size_t bufferSize = 1024);
// The entry, or the fallback text when it cannot be loaded.
std::string ModuleStringOr(unsigned id, const char *fallback);

// The entry as stored; nullopt when it cannot be loaded.
std::optional<std::wstring> LoadModuleText(unsigned id);
std::wstring ModuleTextOr(unsigned id, const wchar_t *fallback);
// The entry as a format filled with the values (see FormatText).
std::wstring FormatModuleText(unsigned id, const wchar_t *fallback, std::initializer_list<std::wstring_view> values);

// An ANSI text (a camera's name or path) as the system's code page reads it.
std::wstring WidenAnsi(std::string_view text);
// The text in the system's code page; nullopt when a character has no
// place there (a best-fit stand-in would name another file).
std::optional<std::string> ExactAnsi(std::wstring_view text);

// "内蔵メモリ (0:)", "CF (1:)", "ATA (2:)"; nullopt for drives without a name.
std::optional<std::string> DriveLabel(uint32_t drive);
std::optional<std::wstring> DriveLabelText(uint32_t drive);

// "999 バイト", "0.97KB", "1.90MB".
std::wstring SizeText(uint64_t value);

}  // namespace camfolder
