// Strings from the program's string table.
#pragma once

#include <string>

namespace winfx {

// The string-table entry id of the running program (or of the module of the
// application object), empty when missing.
std::string LoadResourceString(unsigned id);

}  // namespace winfx
