// Saving a list file without ever losing the one it replaces.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "list_text.h"

// Writes the list file (WriteListFile) into a new temporary file in the
// target's folder and, once that is complete and closed, puts it in the
// target's place in one step. On any failure the temporary file is deleted
// and an existing target is left byte for byte as it was; a read-only target
// or a folder of that name is never replaced.
bool WriteListFileReplacing(const std::string &path, std::string_view listTitle,
                            const std::vector<std::string> &cutTitles, const TextLocale &locale);
