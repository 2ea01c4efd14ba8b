// The names the camera folder gives its items, by kind and by the shell's
// display-name flags.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/camera_item.h"

// The shell's display-name flags that change the answer.
constexpr uint32_t kNameInFolder = 0x0001;     // SHGDN_INFOLDER
constexpr uint32_t kNameForParsing = 0x8000;   // SHGDN_FORPARSING

// Every request from SHGDN_FORADDRESSBAR (0x4000) up is answered with the
// parsing name; those below it (normal, in folder, for editing) with the
// display name.
constexpr bool IsParsingRequest(uint32_t flags) { return flags >= 0x4000; }

// drive: its label, or for parsing its path; folder: its name, or for parsing
// its path ("DCIM/" in the folder); file: its name in the folder, else its
// camera path, and for parsing the path of its local copy (OpenedCopyPath
// in `copiesFolder`). nullopt for an item that cannot be named so (another
// kind, a name that would leave its folder, a local path beyond 259
// characters).
std::optional<std::string> ItemDisplayName(const CameraItem &item, uint32_t flags, std::string_view copiesFolder);

// folder + "\" + name; nullopt as above.
std::optional<std::string> LocalCopyPath(std::string_view folder, std::string_view name);

// The local copy that a file's parsing name stands for: in a folder of its
// own for each camera path ("O" and eight hexadecimal digits of the exact
// path), under the file's safe local name. Two camera files whose names the
// PC takes for one never share a copy.
std::optional<std::string> OpenedCopyPath(std::string_view folder, std::string_view cameraPath, std::string_view name);
