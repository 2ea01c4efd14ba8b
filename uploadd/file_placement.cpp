#include "file_placement.h"

#include <windows.h>

#include <cstdint>

#include "backup_name.h"

namespace {

bool Exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The numbers go on past 999 instead of the oldest copy giving way: a camera
// whose file counter wraps sends the same names again and again, and each of
// its pictures is kept. The rename never replaces a file.
bool MoveExistingAside(const std::string &targetPath) {
  for (uint32_t n = 1; n != 0; ++n) {  // 1 to 4294967295
    const std::string backup = BackupName(targetPath, n);
    if (backup.size() >= MAX_PATH) return false;
    if (!Exists(backup)) return MoveFileA(targetPath.c_str(), backup.c_str()) != 0;
  }
  return false;
}

}  // namespace

bool PutFileInPlace(const std::string &temporaryPath, const std::string &targetPath) {
  if (Exists(targetPath) && !MoveExistingAside(targetPath)) return false;
  return MoveFileA(temporaryPath.c_str(), targetPath.c_str()) != 0;
}
