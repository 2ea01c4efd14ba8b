// Names under which an earlier upload of the same name is kept.
#pragma once

#include <string>

// The path with "-%03u" inserted before the extension of its file name:
// C:\up\IMG0001.JPG with n = 1 gives C:\up\IMG0001-001.JPG, with n = 1000
// C:\up\IMG0001-1000.JPG.
std::string BackupName(const std::string &path, unsigned n);

// The folder part of a path, up to and including its last separator.
std::string FolderOf(const std::string &path);
