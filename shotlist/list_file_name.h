// The file name the save dialog makes of what the user typed: ".lst" is
// added when missing, then the name is checked for characters no file name
// may hold, for the 8.3 form the camera reads and for ASCII.
#pragma once

#include <string>
#include <string_view>

#include "list_text.h"

enum class ListNameCheck {
  Accepted,
  ForbiddenCharacter,  // one of \ / : * ? " < > |
  NotEightDotThree,    // base name over 8 bytes, or an extension other than a dot and three characters
  NotAscii,            // a byte of the base name is 0x80 or above
};

struct ListFileName {
  ListNameCheck check = ListNameCheck::Accepted;
  std::string fullPath;  // the folder, a backslash and the trimmed name
  std::string name;      // base name and extension, as the messages show it
};

// `typedName` must not be empty; `folder` is a file-system folder.
ListFileName MakeListFileName(std::string_view folder, std::string_view typedName, const TextLocale &locale);

// Whether the text ends with a backslash that is not the trail byte of a
// double-byte character.
bool EndsWithBackslash(std::string_view text, const TextLocale &locale);
