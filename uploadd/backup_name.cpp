#include "backup_name.h"

#include <cstdio>

std::string FolderOf(const std::string &path) {
  const size_t separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string BackupName(const std::string &path, unsigned n) {
  const std::string folder = FolderOf(path);
  const std::string name = path.substr(folder.size());
  const size_t dot = name.rfind('.');
  const std::string base = dot == std::string::npos ? name : name.substr(0, dot);
  const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
  char number[16];
  std::snprintf(number, sizeof number, "-%03u", n);
  return folder + base + number + extension;
}
