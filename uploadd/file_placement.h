// Puts a received file in place under its own name; a file already there
// is kept under the first free numbered name (name-001 ... name-999).
#pragma once

#include <string>

// False when a rename fails; the temporary file then still exists.
bool PutFileInPlace(const std::string &temporaryPath, const std::string &targetPath);
