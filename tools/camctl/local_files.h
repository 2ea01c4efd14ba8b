// Local files and folders on the PC side of transfers. Every function reports
// failure with a message naming the path instead of throwing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads the whole file; files of 4 GiB and more are refused because camera
// sizes are 32-bit.
bool ReadLocalFile(const std::string &path, std::vector<uint8_t> &contents, std::string &error);
// Writes the bytes to the file, replacing it. A partly written file is removed.
bool WriteLocalFile(const std::string &path, const uint8_t *data, size_t size, std::string &error);
bool CreateLocalFolder(const std::string &path, std::string &error);
bool IsLocalFolder(const std::string &path);
bool LocalPathExists(const std::string &path);
// Where a received item named name goes: into local when it is an existing
// folder or ends in a separator, the current folder when local is empty,
// otherwise local itself.
std::string LocalTarget(const std::string &local, const std::string &name);
// local folder + separator + name.
std::string JoinLocalPath(const std::string &folder, const std::string &name);
// The last component of a local path ("" when there is none).
std::string LocalName(const std::string &path);

struct LocalEntry {
  std::string name;
  bool folder = false;
};
// The entries of a local folder sorted by name.
bool ListLocalFolder(const std::string &path, std::vector<LocalEntry> &entries, std::string &error);
