#include "camera_storage.h"

#include <fnmatch.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <ctime>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr size_t kNameLimit = 12;
constexpr size_t kPathLimit = 127;

bool HasWildcard(const std::string &name) { return name.find_first_of("*?") != std::string::npos; }

bool ValidName(const std::string &name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("\\:\"<>|") == std::string::npos;
}

uint32_t Clamp32(unsigned long long value) {
  return value > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(value);
}

std::vector<fs::directory_entry> SortedEntries(const fs::path &folder) {
  std::vector<fs::directory_entry> entries;
  std::error_code ec;
  for (const auto &entry : fs::directory_iterator(folder, ec)) entries.push_back(entry);
  std::sort(entries.begin(), entries.end(),
            [](const auto &a, const auto &b) { return a.path().filename() < b.path().filename(); });
  return entries;
}

}  // namespace

CameraStorage::CameraStorage(const ServeOptions &options)
    : folders_(options.driveFolders), capacity_(options.capacity), free_(options.freeSpace) {}

bool CameraStorage::Present(int drive) const {
  std::error_code ec;
  return drive >= 0 && drive < kDriveCount && !folders_[drive].empty() && fs::is_directory(folders_[drive], ec);
}

const char *CameraStorage::DriveName(int drive) {
  static const char *const kNames[kDriveCount] = {"Internal", "CF", "ATA"};
  return drive >= 0 && drive < kDriveCount ? kNames[drive] : "";
}

uint32_t CameraStorage::Capacity(int drive) const {
  if (capacity_[drive]) return *capacity_[drive];
  struct statvfs vfs{};
  if (statvfs(folders_[drive].c_str(), &vfs) != 0) return 0;
  return Clamp32(static_cast<unsigned long long>(vfs.f_blocks) * vfs.f_frsize);
}

uint32_t CameraStorage::FreeSpace(int drive) const {
  if (free_[drive]) return *free_[drive];
  struct statvfs vfs{};
  if (statvfs(folders_[drive].c_str(), &vfs) != 0) return 0;
  return Clamp32(static_cast<unsigned long long>(vfs.f_bavail) * vfs.f_frsize);
}

uint16_t CameraStorage::Resolve(const std::string &path, Resolved &out) const {
  if (path.size() > kPathLimit) return status::kNameTooLong;
  if (path.size() < 3 || path[1] != ':' || path[2] != '/' || path[0] < '0' || path[0] > '2')
    return status::kBadParameter;
  out.drive = path[0] - '0';
  if (!Present(out.drive)) return status::kNotFound;
  out.host = folders_[out.drive];
  out.name.clear();
  size_t start = 3;
  while (start < path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    if (part.size() > kNameLimit) return status::kNameTooLong;
    if (!ValidName(part)) return status::kBadParameter;
    out.host /= part;
    out.name = part;
  }
  return status::kOk;
}

uint8_t CameraStorage::AttributeOf(const fs::path &host) const {
  std::error_code ec;
  const bool directory = fs::is_directory(host, ec);
  const auto found = attributes_.find(host.string());
  uint8_t attribute = found != attributes_.end() ? found->second : (directory ? 0 : kAttrArchive);
  if (directory) attribute |= kAttrDirectory;
  return attribute;
}

zltp::WireEntry CameraStorage::EntryOf(const fs::path &host, const std::string &name) const {
  zltp::WireEntry entry;
  entry.name = name;
  entry.attribute = AttributeOf(host);
  struct stat st{};
  if (stat(host.c_str(), &st) == 0) {
    if (!S_ISDIR(st.st_mode)) entry.size = Clamp32(static_cast<unsigned long long>(st.st_size));
    std::tm local{};
    localtime_r(&st.st_mtime, &local);
    entry.year = static_cast<uint16_t>(local.tm_year + 1900);
    entry.month = static_cast<uint8_t>(local.tm_mon + 1);
    entry.day = static_cast<uint8_t>(local.tm_mday);
    entry.hour = static_cast<uint8_t>(local.tm_hour);
    entry.minute = static_cast<uint8_t>(local.tm_min);
    entry.second = static_cast<uint8_t>(local.tm_sec);
  }
  return entry;
}

void CameraStorage::ForgetAttributes(const fs::path &host) {
  const std::string prefix = host.string();
  for (auto it = attributes_.begin(); it != attributes_.end();) {
    if (it->first == prefix || it->first.rfind(prefix + "/", 0) == 0)
      it = attributes_.erase(it);
    else
      ++it;
  }
}

uint16_t CameraStorage::CheckFormat(int drive) const {
  if (drive < 0 || drive >= kDriveCount) return status::kBadParameter;
  return Present(drive) ? status::kOk : status::kDriveAccess;
}

uint16_t CameraStorage::Format(int drive) {
  if (const uint16_t check = CheckFormat(drive)) return check;
  std::error_code ec;
  for (const auto &entry : fs::directory_iterator(folders_[drive], ec)) fs::remove_all(entry.path(), ec);
  ForgetAttributes(folders_[drive]);
  return ec ? status::kDriveAccess : status::kOk;
}

uint16_t CameraStorage::List(const std::string &path, uint8_t kind, std::vector<zltp::WireEntry> &entries) const {
  entries.clear();
  std::string folderPath = path;
  std::string pattern;
  if (kind == zltp::kListFiles && !path.empty() && path.back() != '/') {
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && HasWildcard(path.substr(slash + 1))) {
      pattern = path.substr(slash + 1);
      folderPath = path.substr(0, slash + 1);
    }
  }
  Resolved target;
  if (const uint16_t result = Resolve(folderPath, target)) return result;
  std::error_code ec;
  if (!fs::exists(target.host, ec)) return status::kNotFound;
  const bool directory = fs::is_directory(target.host, ec);
  switch (kind) {
    case zltp::kListSelf:
      if (!directory) return status::kNotFound;
      entries.push_back(EntryOf(target.host, target.name));
      return status::kOk;
    case zltp::kListFiles:
      if (!directory) {
        entries.push_back(EntryOf(target.host, target.name));
        return status::kOk;
      }
      [[fallthrough]];
    case zltp::kListDirectories:
    case zltp::kListAll:
      if (!directory) return status::kNotFound;
      for (const auto &entry : SortedEntries(target.host)) {
        const bool isDirectory = entry.is_directory(ec);
        if (kind == zltp::kListFiles && isDirectory) continue;
        if (kind == zltp::kListDirectories && !isDirectory) continue;
        const std::string name = entry.path().filename().string();
        if (!pattern.empty() && fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) != 0) continue;
        entries.push_back(EntryOf(entry.path(), name));
      }
      return status::kOk;
    default:
      return status::kBadParameter;
  }
}

uint16_t CameraStorage::CreateDirectory(const std::string &path) {
  Resolved target;
  if (const uint16_t result = Resolve(path, target)) return result;
  if (target.name.empty()) return status::kBadParameter;
  std::error_code ec;
  if (fs::exists(target.host, ec)) return status::kExists;
  if (!fs::is_directory(target.host.parent_path(), ec)) return status::kNotFound;
  return fs::create_directory(target.host, ec) ? status::kOk : status::kDriveAccess;
}

uint16_t CameraStorage::CheckEraseDirectory(const std::string &path) const {
  Resolved target;
  if (const uint16_t result = Resolve(path, target)) return result;
  std::error_code ec;
  if (!fs::is_directory(target.host, ec)) return status::kNotFound;
  if (target.name.empty() || (AttributeOf(target.host) & kAttrReadOnly)) return status::kRefused;
  if (!fs::is_empty(target.host, ec)) return status::kNotEmpty;
  return status::kOk;
}

uint16_t CameraStorage::EraseDirectory(const std::string &path) {
  if (const uint16_t check = CheckEraseDirectory(path)) return check;
  Resolved target;
  Resolve(path, target);
  std::error_code ec;
  fs::remove(target.host, ec);
  ForgetAttributes(target.host);
  return ec ? status::kDriveAccess : status::kOk;
}

uint16_t CameraStorage::Rename(const std::string &path, const std::string &newName, bool directory) {
  Resolved target;
  if (const uint16_t result = Resolve(path, target)) return result;
  if (newName.size() > kNameLimit) return status::kNameTooLong;
  if (!ValidName(newName) || newName.find('/') != std::string::npos || target.name.empty())
    return status::kBadParameter;
  std::error_code ec;
  if (!fs::exists(target.host, ec) || fs::is_directory(target.host, ec) != directory) return status::kNotFound;
  if (AttributeOf(target.host) & kAttrReadOnly) return status::kRefused;
  const fs::path renamed = target.host.parent_path() / newName;
  if (fs::exists(renamed, ec)) return status::kExists;
  fs::rename(target.host, renamed, ec);
  ForgetAttributes(target.host);
  return ec ? status::kDriveAccess : status::kOk;
}

uint16_t CameraStorage::CopyOrMove(const std::string &source, const std::string &destination, bool move,
                                   bool directory) {
  Resolved from;
  if (const uint16_t result = Resolve(source, from)) return result;
  std::error_code ec;
  if (from.name.empty() || !fs::exists(from.host, ec) || fs::is_directory(from.host, ec) != directory)
    return status::kNotFound;
  Resolved to;
  if (const uint16_t result = Resolve(destination, to)) return result;
  fs::path target = to.host;
  if (directory || destination.back() == '/') {
    if (!fs::is_directory(to.host, ec)) return status::kNotFound;
    target /= from.name;
  } else if (!fs::is_directory(to.host.parent_path(), ec)) {
    return status::kNotFound;
  }
  if (fs::exists(target, ec)) return status::kExists;
  // A directory cannot go into itself or below itself.
  const std::string fromText = from.host.string() + "/";
  if (directory && (target.string() + "/").rfind(fromText, 0) == 0) return status::kTooDeep;
  if (move && (AttributeOf(from.host) & kAttrReadOnly)) return status::kRefused;
  if (move) {
    fs::rename(from.host, target, ec);
    ForgetAttributes(from.host);
  } else {
    fs::copy(from.host, target, fs::copy_options::recursive, ec);
  }
  return ec ? status::kDriveAccess : status::kOk;
}

uint16_t CameraStorage::SetAttribute(const std::string &path, uint8_t attribute) {
  Resolved target;
  if (const uint16_t result = Resolve(path, target)) return result;
  std::error_code ec;
  if (target.name.empty()) return status::kRefused;
  if (!fs::exists(target.host, ec)) return status::kNotFound;
  attributes_[target.host.string()] = static_cast<uint8_t>(attribute & ~kAttrDirectory);
  return status::kOk;
}

uint16_t CameraStorage::EraseFiles(const std::string &pattern, uint32_t mode, bool dryRun, uint16_t &count) {
  count = 0;
  std::vector<zltp::WireEntry> matches;
  const size_t slash = pattern.rfind('/');
  if (slash == std::string::npos || slash + 1 == pattern.size()) return status::kBadParameter;
  // A directory is no file: its files are not erased, nor those of the same
  // names beside it.
  if (!HasWildcard(pattern.substr(slash + 1))) {
    Resolved named;
    std::error_code ec;
    if (Resolve(pattern, named) == status::kOk && fs::is_directory(named.host, ec)) return status::kNotFound;
  }
  if (const uint16_t result = List(pattern, zltp::kListFiles, matches)) return result;
  if (matches.empty()) return status::kNotFound;
  Resolved folder;
  Resolve(pattern.substr(0, slash + 1), folder);
  const bool force = mode == 2;
  for (const zltp::WireEntry &entry : matches) {
    const fs::path host = folder.host / entry.name;
    if (!dryRun && !force && (entry.attribute & kAttrReadOnly)) return status::kRefused;
    if (!dryRun) {
      std::error_code ec;
      if (!fs::remove(host, ec)) return status::kDriveAccess;
      ForgetAttributes(host);
    }
    ++count;
  }
  return status::kOk;
}

uint16_t CameraStorage::ReadFile(const std::string &path, std::vector<uint8_t> &contents) const {
  Resolved target;
  if (const uint16_t result = Resolve(path, target)) return result;
  std::error_code ec;
  if (!fs::exists(target.host, ec)) return status::kNotFound;
  if (fs::is_directory(target.host, ec)) return status::kNotTransferable;
  std::ifstream file(target.host, std::ios::binary);
  if (!file) return status::kDriveAccess;
  contents.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return status::kOk;
}

uint16_t CameraStorage::CheckWrite(const std::string &path, uint32_t flags) const {
  Resolved target;
  if (const uint16_t result = Resolve(path, target)) return result;
  std::error_code ec;
  if (target.name.empty() || path.back() == '/') return status::kBadParameter;
  if (!fs::is_directory(target.host.parent_path(), ec)) return status::kNotFound;
  if (fs::is_directory(target.host, ec)) return status::kExists;
  if (fs::exists(target.host, ec)) {
    if (!(flags & 1)) return status::kExists;
    if (AttributeOf(target.host) & kAttrReadOnly) return status::kRefused;
  }
  return status::kOk;
}

uint16_t CameraStorage::WriteFile(const std::string &path, const std::vector<uint8_t> &contents) {
  Resolved target;
  if (const uint16_t result = Resolve(path, target)) return result;
  if (contents.size() > FreeSpace(target.drive)) return status::kDriveFull;
  // A camera's file appears only when complete: the body goes to a name no
  // camera entry can have (longer than 12 characters), then takes the target's.
  const fs::path partial = target.host.parent_path() / (".camsim-partial-" + target.name);
  std::ofstream file(partial, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char *>(contents.data()), static_cast<std::streamsize>(contents.size()));
  file.close();
  std::error_code ec;
  if (file) fs::rename(partial, target.host, ec);
  if (!file || ec) {
    fs::remove(partial, ec);
    return status::kDriveAccess;
  }
  return status::kOk;
}
