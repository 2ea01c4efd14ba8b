// The camera's drives, each backed by a host folder, with the attributes the
// camera keeps for its entries. Every operation answers a camera status (0 on
// success, otherwise a value of the camera's status table).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "serve_options.h"
#include "zltp_listing.h"

namespace status {
constexpr uint16_t kOk = 0;
constexpr uint16_t kNotSupported = 3;
constexpr uint16_t kBadParameter = 5;
constexpr uint16_t kNotTransferable = 8;
constexpr uint16_t kDriveFull = 9;
constexpr uint16_t kDriveAccess = 12;
constexpr uint16_t kNotFound = 128;
constexpr uint16_t kRefused = 131;
constexpr uint16_t kNotEmpty = 133;
constexpr uint16_t kExists = 136;
constexpr uint16_t kNameTooLong = 138;
constexpr uint16_t kTooDeep = 142;
}  // namespace status

constexpr uint8_t kAttrReadOnly = 0x01;
constexpr uint8_t kAttrDirectory = 0x10;
constexpr uint8_t kAttrArchive = 0x20;

class CameraStorage {
 public:
  explicit CameraStorage(const ServeOptions &options);

  bool Present(int drive) const;
  static const char *DriveName(int drive);
  uint32_t Capacity(int drive) const;
  uint32_t FreeSpace(int drive) const;
  uint16_t CheckFormat(int drive) const;
  uint16_t Format(int drive);

  uint16_t List(const std::string &path, uint8_t kind, std::vector<zltp::WireEntry> &entries) const;
  uint16_t CreateDirectory(const std::string &path);
  uint16_t CheckEraseDirectory(const std::string &path) const;
  uint16_t EraseDirectory(const std::string &path);
  uint16_t Rename(const std::string &path, const std::string &newName, bool directory);
  uint16_t CopyOrMove(const std::string &source, const std::string &destination, bool move, bool directory);
  uint16_t SetAttribute(const std::string &path, uint8_t attribute);
  // Erases the files matching the path (a file, or a name pattern with * and
  // ?); count receives the files that match (dry run) or that were erased.
  uint16_t EraseFiles(const std::string &pattern, uint32_t mode, bool dryRun, uint16_t &count);
  uint16_t ReadFile(const std::string &path, std::vector<uint8_t> &contents) const;
  uint16_t CheckWrite(const std::string &path, uint32_t flags) const;
  uint16_t WriteFile(const std::string &path, const std::vector<uint8_t> &contents);

 private:
  struct Resolved {
    int drive = 0;
    std::filesystem::path host;
    std::string name;  // last component, empty for a drive root
  };
  uint16_t Resolve(const std::string &path, Resolved &out) const;
  uint8_t AttributeOf(const std::filesystem::path &host) const;
  zltp::WireEntry EntryOf(const std::filesystem::path &host, const std::string &name) const;
  void ForgetAttributes(const std::filesystem::path &host);

  std::array<std::string, kDriveCount> folders_;
  std::array<std::optional<uint32_t>, kDriveCount> capacity_;
  std::array<std::optional<uint32_t>, kDriveCount> free_;
  std::map<std::string, uint8_t> attributes_;  // by host path; absent: default
};
