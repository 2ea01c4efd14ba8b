// Text rules of shot list files: the normalisation every title goes through,
// cutting to a byte limit without splitting a double-byte character, and the
// ASCII-only case-insensitive comparisons the readers use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The system settings the text rules depend on: the ANSI code page's lead-byte
// test and the system default language identifier.
struct TextLocale {
  bool (*isLeadByte)(unsigned char byte);
  uint16_t defaultLanguage;
};

constexpr uint16_t kLanguageJapanese = 0x0411;

constexpr size_t kListTitleLimit = 16;
constexpr size_t kCutTitleLimit = 12;

// Drops control codes, maps two irregular double-byte marks to their usual
// forms and, on a Japanese system, widens half-width katakana (combining a
// following voicing mark where a voiced form exists). Output is at most twice
// the input.
std::string NormalizeListText(std::string_view text, const TextLocale &locale);

// Ends `text` before the first character that would take it above `limit` bytes.
void TruncateMbcs(std::string &text, size_t limit, const TextLocale &locale);

// The first `takeBytes` bytes of `text`, normalised and cut to `limit` bytes.
std::string PrepareTitle(std::string_view text, size_t takeBytes, size_t limit, const TextLocale &locale);

// The text a cut title is stored as: first 24 bytes, normalised, cut to 12.
std::string ConvertCutTitle(std::string_view title, const TextLocale &locale);

// Equality ignoring the case of single-byte ASCII letters; the bytes of a
// double-byte character must match exactly.
bool EqualsNoCase(std::string_view a, std::string_view b, const TextLocale &locale);

// Whether `text` begins with the ASCII word `prefix`, letter case ignored.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Position of the last single-byte `c` (never a trail byte), or npos.
size_t FindLastSingleByte(std::string_view text, char c, const TextLocale &locale);

// Drive and folder of a path, the folder with its trailing separator.
std::string_view DriveAndFolder(std::string_view path, const TextLocale &locale);

// Extension of a path including its dot, or empty.
std::string_view PathExtension(std::string_view path, const TextLocale &locale);
