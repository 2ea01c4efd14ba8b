#include "core/camera_path.h"

#include <cstring>

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Case-insensitive comparison of two texts, like the C library's _stricmp.
int CompareNoCase(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(Lower(a[i]));
    const auto y = static_cast<unsigned char>(Lower(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool InRange(std::string_view text, std::string_view low, std::string_view high) {
  return CompareNoCase(text, low) >= 0 && CompareNoCase(text, high) <= 0;
}

bool HasOnlyNameCharacters(std::string_view name) {
  for (const char c : name) {
    if (static_cast<unsigned char>(c) >= 0x80 || c == 0) return false;
    if (std::strchr("\"*/:<>?\\|", c)) return false;
  }
  return true;
}

std::string_view WithoutTrailingSlash(std::string_view path) {
  if (!path.empty() && path.back() == '/') path.remove_suffix(1);
  return path;
}

}  // namespace

PathKind PathKindOf(const char *path) {
  if (!path) return kNoPath;
  const size_t length = std::strlen(path);
  if (length == 0) return kRootPath;
  if (length == 3 && path[1] == ':' && path[2] == '/') return kDrivePath;
  return path[length - 1] == '/' ? kFolderPath : kFilePath;
}

std::string LastComponent(std::string_view path) {
  path = WithoutTrailingSlash(path);
  const size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ParentPath(std::string_view path) {
  if (path.size() >= 2 && path.back() == '/' && path[path.size() - 2] != ':') path.remove_suffix(1);
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::optional<std::string> ChildPath(std::string_view folder, std::string_view name, bool folderEntry) {
  std::string path;
  path.reserve(folder.size() + name.size() + 1);
  path.append(folder).append(name);
  if (folderEntry) path.push_back('/');
  if (path.size() > kCameraPathMax) return std::nullopt;
  return path;
}

bool IsDcfFolder(const char *path) {
  if (!path) return false;
  const std::string_view text(path);
  if (text.size() < 8 || CompareNoCase(text.substr(1, 7), ":/DCIM/") != 0) return false;
  const std::string_view rest = text.substr(8);
  if (rest.size() < 8) return false;
  if (!InRange(rest.substr(0, 3), "100", "999") || !InRange(rest.substr(3, 5), "     ", "zzzzz")) return false;
  const std::string_view after = rest.substr(8);
  return after.empty() || after == "/";
}

bool IsValidFolderName(std::string_view name) {
  return !name.empty() && name.size() <= 8 && HasOnlyNameCharacters(name);
}

bool IsValidFileName(std::string_view name) {
  if (name.empty() || !HasOnlyNameCharacters(name)) return false;
  const size_t dot = name.find('.');
  if (dot == std::string_view::npos) return name.size() <= 8;
  return dot <= 8 && name.size() - dot <= 4;
}

bool IsUsableEntryName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of("/\\:") == std::string_view::npos;
}

bool SameCameraText(std::string_view a, std::string_view b) { return CompareNoCase(a, b) == 0; }

std::string FoldedCameraText(std::string_view text) {
  std::string folded(text);
  for (char &c : folded)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return folded;
}

bool IsAtOrBelow(std::string_view path, std::string_view item) {
  if (item.empty() || path.size() < item.size() || !SameCameraText(path.substr(0, item.size()), item)) return false;
  return path.size() == item.size() || item.back() == '/';
}
