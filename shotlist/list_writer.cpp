#include <cstdio>
#include <memory>

#include "list_file.h"

namespace {

struct FileCloser {
  void operator()(std::FILE *file) const { std::fclose(file); }
};

bool WriteLine(std::FILE *file, std::string_view before, std::string_view text, std::string_view after) {
  for (std::string_view part : {before, text, after, std::string_view("\r\n")}) {
    if (!part.empty() && std::fwrite(part.data(), 1, part.size(), file) != part.size()) return false;
  }
  return true;
}

}  // namespace

bool WriteListFile(const std::string &path, std::string_view listTitle, const std::vector<std::string> &cutTitles,
                   const TextLocale &locale) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  if (!WriteLine(file.get(), kListHeader, {}, {})) return false;
  const std::string title = PrepareTitle(listTitle, 32, kListTitleLimit, locale);
  if (!title.empty() && !WriteLine(file.get(), kTitleKey, title, {})) return false;
  for (const std::string &cut : cutTitles) {
    const std::string stored = ConvertCutTitle(cut, locale);
    if (!stored.empty() && !WriteLine(file.get(), "[", stored, "]")) return false;
  }
  return std::fclose(file.release()) == 0;
}
