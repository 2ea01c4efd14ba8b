// Test helpers for files that the native camera simulator and a Windows test
// share: Wine maps the Unix root to drive Z:.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

inline std::string WindowsPath(const std::string &unixPath) {
  std::string path = "Z:" + unixPath;
  for (char &c : path)
    if (c == '/') c = '\\';
  return path;
}

inline std::string ReadFileBytes(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

inline void WriteFileBytes(const std::string &path, const std::string &bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}
