#include "camera_path.h"

#include <algorithm>
#include <cctype>

#include "zlx_records.h"

bool NormalizeCameraPath(const std::string &text, std::string &path, std::string &error) {
  path = text;
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.size() < 2 || path[0] < '0' || path[0] >= '0' + kDriveCount || path[1] != ':' ||
      (path.size() > 2 && path[2] != '/')) {
    error = "bad camera path '" + text + "': expected a drive number 0, 1 or 2, a colon and \"/\", as in 0:/DCIM/";
    return false;
  }
  if (path.size() == 2) path += '/';
  if (path.find("//") != std::string::npos) {
    error = "bad camera path '" + text + "': empty folder name";
    return false;
  }
  if (static_cast<int>(path.size()) > ZLX_PATH_MAX) {
    error = "camera path too long: '" + text + "' (at most " + std::to_string(ZLX_PATH_MAX) + " characters)";
    return false;
  }
  return true;
}

bool IsDriveRoot(const std::string &path) { return path.size() == 3 && path[1] == ':' && path[2] == '/'; }

bool IsFolderPath(const std::string &path) { return !path.empty() && path.back() == '/'; }

int DriveOf(const std::string &path) { return path.empty() ? -1 : path[0] - '0'; }

std::string AsFolderPath(const std::string &path) { return IsFolderPath(path) ? path : path + "/"; }

std::string WithoutClosingSlash(const std::string &path) {
  if (IsDriveRoot(path) || !IsFolderPath(path)) return path;
  return path.substr(0, path.size() - 1);
}

std::string ParentFolder(const std::string &path) {
  if (IsDriveRoot(path)) return path;
  const std::string item = WithoutClosingSlash(path);
  return item.substr(0, item.rfind('/') + 1);
}

std::string LastName(const std::string &path) {
  if (IsDriveRoot(path)) return "";
  const std::string item = WithoutClosingSlash(path);
  return item.substr(item.rfind('/') + 1);
}

std::string JoinCameraPath(const std::string &folder, const std::string &name) {
  return AsFolderPath(folder) + name;
}

bool HasWildcard(const std::string &path) { return path.find_first_of("*?") != std::string::npos; }

bool SameCameraName(const std::string &a, const std::string &b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}
