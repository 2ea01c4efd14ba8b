// Puts a received file in place under its own name; a file already there
// is kept under the first free numbered name (name-001 ... name-999,
// name-1000, ...). No upload ever deletes an earlier file.
#pragma once

#include <string>

// False when a rename fails or the existing file's numbered name would not
// fit a path (MAX_PATH); the temporary file then still exists.
bool PutFileInPlace(const std::string &temporaryPath, const std::string &targetPath);
