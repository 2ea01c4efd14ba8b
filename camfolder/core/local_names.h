// Local names for camera names. The camera keeps names the PC's file system
// would take for another one (names differing only in case, names ending in
// a dot or a space, which Windows drops) or for a device (CON, NUL.JPG,
// COM1.JPG): a local copy under such a name would overwrite another copy or
// be written to the device. These rules give every camera name a local name
// of its own.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

// Whether Windows takes the name for a device: CON, PRN, AUX, NUL, COM1 to
// COM9 or LPT1 to LPT9, in any case, with or without an extension.
bool IsDeviceName(std::string_view name);

// The local name of one camera name: trailing dots and spaces removed,
// characters no local name may hold (< > " ? * and control characters)
// replaced by "_", and a device name prefixed with "_". nullopt for a name
// that cannot address an entry at all (empty, "." or "..", or holding "/",
// "\" or ":").
std::optional<std::string> SafeLocalName(std::string_view cameraName);

// Whether the PC runs a file of this name when it is opened: programs,
// scripts, installers and links to them, by the text after the last ".".
bool IsProgramName(std::string_view name);

// The names given out in one local folder: a camera name whose safe name the
// file system would take for one already given gets " (2)", " (3)" and on
// before its extension.
class LocalNameSet {
 public:
  std::optional<std::string> Take(std::string_view cameraName);

 private:
  bool Taken(const std::string &name) const;
  std::set<std::string> taken_;  // folded to upper case
};
