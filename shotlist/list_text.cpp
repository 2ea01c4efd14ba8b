#include "list_text.h"

#include <algorithm>

#include "kana_table.h"

namespace {

constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

unsigned char ByteAt(std::string_view text, size_t i) { return static_cast<unsigned char>(text[i]); }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// First entry for `key`; with a voicing flag, a later entry of the same key
// carrying that flag wins when there is one.
const KanaEntry *FindKana(unsigned char key, uint8_t voicing) {
  auto table = KanaTable();
  auto plain = std::find_if(table.begin(), table.end(), [&](const KanaEntry &e) { return e.key == key; });
  if (plain == table.end()) return nullptr;
  if (voicing != 0) {
    auto voiced = std::find_if(plain + 1, table.end(),
                               [&](const KanaEntry &e) { return e.key == key && e.voicing == voicing; });
    if (voiced != table.end()) return &*voiced;
  }
  return &*plain;
}

void AppendDoubleByte(std::string &out, uint16_t code) {
  out.push_back(static_cast<char>(code >> 8));
  out.push_back(static_cast<char>(code & 0xFF));
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Position just after the last path separator (0 when there is none),
// skipping trail bytes of double-byte characters.
size_t FileNameStart(std::string_view path, const TextLocale &locale) {
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (locale.isLeadByte(ByteAt(path, i))) {
      ++i;
    } else if (IsSeparator(path[i])) {
      start = i + 1;
    }
  }
  return start;
}

}  // namespace

std::string NormalizeListText(std::string_view text, const TextLocale &locale) {
  std::string out;
  out.reserve(text.size() * 2);
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char byte = ByteAt(text, i);
    if (locale.isLeadByte(byte)) {
      if (i + 1 == text.size()) {
        out.push_back(static_cast<char>(byte));
        break;
      }
      const unsigned char trail = ByteAt(text, i + 1);
      if (byte == 0xFA && trail == 0x57) {
        AppendDoubleByte(out, 0x8156);
      } else if (byte == 0xFA && trail == 0x56) {
        AppendDoubleByte(out, 0x8166);
      } else {
        out.push_back(static_cast<char>(byte));
        out.push_back(static_cast<char>(trail));
      }
      i += 2;
      continue;
    }
    if (byte < 0x20) {
      ++i;
      continue;
    }
    if (byte < 0x80 || locale.defaultLanguage != kLanguageJapanese) {
      out.push_back(static_cast<char>(byte));
      ++i;
      continue;
    }
    uint8_t voicing = 0;
    if (i + 1 < text.size()) {
      const unsigned char next = ByteAt(text, i + 1);
      voicing = next == kVoicedMark ? 1 : next == kSemiVoicedMark ? 2 : 0;
    }
    const KanaEntry *entry = FindKana(byte, voicing);
    if (!entry) {
      AppendDoubleByte(out, 0xFFFF);
      ++i;
      continue;
    }
    AppendDoubleByte(out, entry->fullWidth);
    i += entry->voicing != 0 ? 2 : 1;
  }
  return out;
}

void TruncateMbcs(std::string &text, size_t limit, const TextLocale &locale) {
  size_t count = 0;
  size_t i = 0;
  while (i < text.size() && text[i] != '\0') {
    const bool lead = locale.isLeadByte(ByteAt(text, i));
    const size_t width = lead ? 2 : 1;
    if (count + width > limit) break;
    count += width;
    if (lead && (i + 1 >= text.size() || text[i + 1] == '\0')) {
      i += 1;  // a lone lead byte ends the string
      break;
    }
    i += width;
  }
  text.resize(i);
}

std::string PrepareTitle(std::string_view text, size_t takeBytes, size_t limit, const TextLocale &locale) {
  std::string prepared = NormalizeListText(text.substr(0, takeBytes), locale);
  TruncateMbcs(prepared, limit, locale);
  return prepared;
}

std::string ConvertCutTitle(std::string_view title, const TextLocale &locale) {
  return PrepareTitle(title, 24, kCutTitleLimit, locale);
}

bool EqualsNoCase(std::string_view a, std::string_view b, const TextLocale &locale) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (locale.isLeadByte(ByteAt(a, i)) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
  }
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (AsciiLower(text[i]) != AsciiLower(prefix[i])) return false;
  }
  return true;
}

size_t FindLastSingleByte(std::string_view text, char c, const TextLocale &locale) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    if (locale.isLeadByte(ByteAt(text, i))) {
      ++i;
    } else if (text[i] == c) {
      found = i;
    }
  }
  return found;
}

std::string_view DriveAndFolder(std::string_view path, const TextLocale &locale) {
  const size_t nameStart = FileNameStart(path, locale);
  if (nameStart > 0) return path.substr(0, nameStart);
  const bool hasDrive = path.size() >= 2 && path[1] == ':';
  return path.substr(0, hasDrive ? 2 : 0);
}

std::string_view PathExtension(std::string_view path, const TextLocale &locale) {
  std::string_view name = path.substr(FileNameStart(path, locale));
  if (name.size() >= 2 && name[1] == ':') name.remove_prefix(2);
  const size_t dot = FindLastSingleByte(name, '.', locale);
  return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}
