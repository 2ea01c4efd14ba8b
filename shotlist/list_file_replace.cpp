#include "list_file_replace.h"

#include <windows.h>

#include "list_file.h"

namespace {

// GetTempFileName appends up to 14 characters to the folder; Wine does not
// refuse a longer folder but would then write past the name buffer.
constexpr size_t kLongestTemporaryFolder = MAX_PATH - 14;

// Whether the target is absent or a file that may be replaced. Windows
// refuses to rename over a read-only file but Wine does not, so it is
// checked here.
bool Replaceable(const std::string &path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes == INVALID_FILE_ATTRIBUTES ||
         (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

}  // namespace

bool WriteListFileReplacing(const std::string &path, std::string_view listTitle,
                            const std::vector<std::string> &cutTitles, const TextLocale &locale) {
  // In the same folder, so that putting it in place is a rename on one volume.
  const std::string folder(DriveAndFolder(path, locale));
  if (folder.empty() || folder.size() > kLongestTemporaryFolder || !Replaceable(path)) return false;
  char temporary[MAX_PATH] = "";
  if (!GetTempFileNameA(folder.c_str(), "~SL", 0, temporary)) return false;  // creates the file
  if (WriteListFile(temporary, listTitle, cutTitles, locale) &&
      MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileA(temporary);
  return false;
}
