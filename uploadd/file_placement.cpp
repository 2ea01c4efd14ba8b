#include "file_placement.h"

#include <windows.h>

#include "backup_name.h"

namespace {

bool Exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

constexpr unsigned kMaxBackups = 999;

// When all 999 numbered names are taken, the oldest (number 1) gives way.
bool MoveExistingAside(const std::string &targetPath) {
  for (unsigned n = 1; n <= kMaxBackups; ++n) {
    const std::string backup = BackupName(targetPath, n);
    if (!Exists(backup)) return MoveFileA(targetPath.c_str(), backup.c_str()) != 0;
  }
  const std::string first = BackupName(targetPath, 1);
  DeleteFileA(first.c_str());
  return MoveFileA(targetPath.c_str(), first.c_str()) != 0;
}

}  // namespace

bool PutFileInPlace(const std::string &temporaryPath, const std::string &targetPath) {
  if (Exists(targetPath) && !MoveExistingAside(targetPath)) return false;
  return MoveFileA(temporaryPath.c_str(), targetPath.c_str()) != 0;
}
