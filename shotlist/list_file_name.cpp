#include "list_file_name.h"

namespace {

constexpr std::string_view kListExtension = ".lst";
constexpr std::string_view kForbidden = "|><\"?*:/\\";
constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

// Whether a single-byte character (never a trail byte) of the text is one
// that no file name may hold.
bool HasForbiddenCharacter(std::string_view text, const TextLocale &locale) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (locale.isLeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;
    } else if (kForbidden.find(text[i]) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(kWhiteSpace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
}

}  // namespace

bool EndsWithBackslash(std::string_view text, const TextLocale &locale) {
  return !text.empty() && FindLastSingleByte(text, '\\', locale) == text.size() - 1;
}

ListFileName MakeListFileName(std::string_view folder, std::string_view typedName, const TextLocale &locale) {
  std::string name(typedName);
  const bool hasExtension =
      name.size() >= kListExtension.size() &&
      StartsWithNoCase(std::string_view(name).substr(name.size() - kListExtension.size()), kListExtension);
  if (!hasExtension) name += kListExtension;

  ListFileName result;
  result.name = name;
  if (HasForbiddenCharacter(name, locale)) {
    result.check = ListNameCheck::ForbiddenCharacter;
    return result;
  }
  result.fullPath = std::string(folder);
  if (!EndsWithBackslash(result.fullPath, locale)) result.fullPath += '\\';
  result.fullPath += Trim(name);

  const std::string_view path = result.fullPath;
  const std::string_view fileName = path.substr(DriveAndFolder(path, locale).size());
  const std::string_view extension = PathExtension(path, locale);
  const std::string_view base = fileName.substr(0, fileName.size() - extension.size());
  result.name = std::string(fileName);
  if (base.size() > 8 || extension.size() != kListExtension.size()) {
    result.check = ListNameCheck::NotEightDotThree;
  } else {
    for (char c : base) {
      if (static_cast<unsigned char>(c) >= 0x80) {
        result.check = ListNameCheck::NotAscii;
        break;
      }
    }
  }
  return result;
}
