#include "list_file.h"

#include <optional>

namespace {

bool IsHeader(std::string_view line) {
  return line.size() == kListHeader.size() && StartsWithNoCase(line, kListHeader);
}

// The title of a cut line: the text between the opening "[" and the last
// "]", which must stand after the first character; nothing for other lines.
std::optional<std::string> CutTitleOf(std::string_view line, const TextLocale &locale) {
  if (line.empty() || line[0] != '[') return std::nullopt;
  const size_t close = FindLastSingleByte(line, ']', locale);
  if (close == std::string_view::npos || close == 0) return std::nullopt;
  return std::string(line.substr(1, close - 1));
}

std::string_view TrimWhiteSpace(std::string_view text) {
  constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";
  const size_t first = text.find_first_not_of(kWhiteSpace);
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(kWhiteSpace);
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string ReadListTitle(const std::string &path, const ListContext &context) {
  ListLineReader reader(context.warn);
  if (!reader.Open(path)) return {};
  std::string line;
  if (reader.ReadLine(line) == 0 || !IsHeader(line)) return {};
  if (reader.ReadLine(line) == 0 || !StartsWithNoCase(line, kTitleKey)) return {};
  return line.substr(kTitleKey.size());
}

std::vector<std::string> ReadCutTitles(const std::string &path, const ListContext &context) {
  std::vector<std::string> titles;
  ListLineReader reader(context.warn);
  if (!reader.Open(path)) return titles;
  bool headerSeen = false;
  std::string line;
  while (reader.ReadLine(line) != 0) {
    if (IsHeader(line)) {
      headerSeen = true;
    } else if (headerSeen && StartsWithNoCase(line, kTitleKey)) {
      continue;
    } else if (auto title = CutTitleOf(line, context.locale)) {
      titles.push_back(std::move(*title));
    }
  }
  return titles;
}

size_t CountCutTitles(const std::string &path, const ListContext &context) {
  return ReadCutTitles(path, context).size();
}

std::vector<std::string> ReadImagePaths(const std::string &path, std::string_view listTitle,
                                        std::string_view cutTitle, const ListContext &context) {
  enum class TitleState { BeforeHeader, InHeader, Matched };
  std::vector<std::string> images;
  const std::string wantedList = PrepareTitle(listTitle, 32, kListTitleLimit, context.locale);
  const std::string wantedCut = PrepareTitle(cutTitle, 32, kCutTitleLimit, context.locale);

  ListLineReader reader(context.warn);
  if (!reader.Open(path)) return images;
  TitleState state = TitleState::BeforeHeader;
  bool inCut = false;
  std::string line;
  while (reader.ReadLine(line) != 0) {
    if (IsHeader(line)) {
      // A new list starts: the images that follow belong to none of the old cuts.
      state = TitleState::InHeader;
      inCut = false;
    } else if (state == TitleState::InHeader && StartsWithNoCase(line, kTitleKey)) {
      if (EqualsNoCase(std::string_view(line).substr(kTitleKey.size()), wantedList, context.locale)) {
        state = TitleState::Matched;
      }
    } else if (auto title = CutTitleOf(line, context.locale)) {
      inCut = state == TitleState::Matched && EqualsNoCase(*title, wantedCut, context.locale);
    } else if (inCut) {
      const std::string_view name = TrimWhiteSpace(line);
      if (!name.empty() && name[0] != '#') images.push_back(MakeImagePath(path, name, context.locale));
    }
  }
  return images;
}

std::string MakeImagePath(std::string_view listPath, std::string_view imageLine, const TextLocale &locale) {
  std::string imagePath(DriveAndFolder(listPath, locale));
  imagePath += imageLine;
  return imagePath;
}
