// Readers and the writer of shot list files (".lst"): a "[LIST TITLE]" header,
// an optional "title=" line and one "[cut title]" line per cut, under which the
// camera adds the names of the image files taken for that cut.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "list_line_reader.h"
#include "list_text.h"

// What the readers and the writer need from the system.
struct ListContext {
  TextLocale locale;
  WarningSink warn;
};

inline constexpr std::string_view kListHeader = "[LIST TITLE]";
inline constexpr std::string_view kTitleKey = "title=";

// The list title from the line after a header on the first line; empty when
// the file has none or cannot be read.
std::string ReadListTitle(const std::string &path, const ListContext &context);

// Every cut title in file order, duplicates kept.
std::vector<std::string> ReadCutTitles(const std::string &path, const ListContext &context);
size_t CountCutTitles(const std::string &path, const ListContext &context);

// Paths of the image files listed under the cut `cutTitle` of the list titled
// `listTitle`, each joined to the list file's folder.
std::vector<std::string> ReadImagePaths(const std::string &path, std::string_view listTitle,
                                        std::string_view cutTitle, const ListContext &context);

// The list file's drive and folder followed by the image line unchanged.
std::string MakeImagePath(std::string_view listPath, std::string_view imageLine, const TextLocale &locale);

// Creates (or truncates) the file and writes the header, the normalised title
// and the normalised cut titles; false when the file could not be written.
bool WriteListFile(const std::string &path, std::string_view listTitle, const std::vector<std::string> &cutTitles,
                   const TextLocale &locale);
