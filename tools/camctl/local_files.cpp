#include "local_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool EndsInSeparator(const std::string &path) {
  return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

std::string SystemMessage(const std::error_code &ec) { return ec.message(); }

}  // namespace

bool ReadLocalFile(const std::string &path, std::vector<uint8_t> &contents, std::string &error) {
  contents.clear();
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (!file) {
    error = "cannot open '" + path + "': " + std::strerror(errno);
    return false;
  }
  uint8_t buffer[65536];
  size_t got = 0;
  bool tooLarge = false;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    if (static_cast<uint64_t>(contents.size()) + got > 0xFFFFFFFFull) {
      tooLarge = true;
      break;
    }
    contents.insert(contents.end(), buffer, buffer + got);
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (tooLarge) {
    error = "'" + path + "' is too large for the camera (4 GiB or more)";
    return false;
  }
  if (failed) {
    error = "cannot read '" + path + "'";
    return false;
  }
  return true;
}

bool WriteLocalFile(const std::string &path, const uint8_t *data, size_t size, std::string &error) {
  std::FILE *file = std::fopen(path.c_str(), "wb");
  if (!file) {
    error = "cannot create '" + path + "': " + std::strerror(errno);
    return false;
  }
  const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::remove(path.c_str());
    error = "cannot write '" + path + "'";
    return false;
  }
  return true;
}

bool CreateLocalFolder(const std::string &path, std::string &error) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return true;
  fs::create_directories(path, ec);
  if (ec) {
    error = "cannot create folder '" + path + "': " + SystemMessage(ec);
    return false;
  }
  return true;
}

bool IsLocalFolder(const std::string &path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool LocalPathExists(const std::string &path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

std::string JoinLocalPath(const std::string &folder, const std::string &name) {
  if (folder.empty()) return name;
  if (EndsInSeparator(folder)) return folder + name;
#ifdef _WIN32
  return folder + "\\" + name;
#else
  return folder + "/" + name;
#endif
}

std::string LocalTarget(const std::string &local, const std::string &name) {
  if (local.empty()) return name;
  if (EndsInSeparator(local) || IsLocalFolder(local)) return JoinLocalPath(local, name);
  return local;
}

std::string LocalName(const std::string &path) {
  std::string trimmed = path;
  while (trimmed.size() > 1 && EndsInSeparator(trimmed)) trimmed.pop_back();
  const size_t cut = trimmed.find_last_of("/\\:");
  return cut == std::string::npos ? trimmed : trimmed.substr(cut + 1);
}

bool ListLocalFolder(const std::string &path, std::vector<LocalEntry> &entries, std::string &error) {
  entries.clear();
  std::error_code ec;
  fs::directory_iterator it(path, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    LocalEntry entry;
    entry.name = it->path().filename().string();
    std::error_code typeError;
    entry.folder = it->is_directory(typeError);
    entries.push_back(entry);
  }
  if (ec) {
    error = "cannot list folder '" + path + "': " + SystemMessage(ec);
    return false;
  }
  std::sort(entries.begin(), entries.end(), [](const LocalEntry &a, const LocalEntry &b) { return a.name < b.name; });
  return true;
}
