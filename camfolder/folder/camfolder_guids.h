// The two classes of the camera folder module.
#pragma once

#include <windows.h>

namespace camfolder {

// The camera folder, bound to the junction under My Computer and to every
// drive and folder below it.
constexpr GUID kCameraFolderClass = {0x5B7C0E21, 0x4A93, 0x4D6B, {0x8F, 0x12, 0x3C, 0x9A, 0x7E, 0x4D, 0x2B, 0x60}};
// The root extension: the camera's verbs and connection page on the junction.
constexpr GUID kRootExtensionClass = {0x9E3A6F14, 0x2C58, 0x47B1, {0xA0, 0xD9, 0x6B, 0x1E, 0x8C, 0x7F, 0x3A, 0x25}};

constexpr char kCameraFolderClassText[] = "{5B7C0E21-4A93-4D6B-8F12-3C9A7E4D2B60}";
constexpr char kRootExtensionClassText[] = "{9E3A6F14-2C58-47B1-A0D9-6B1E8C7F3A25}";
// The junction's parsing name in My Computer.
constexpr char kCameraFolderParsingName[] = "::{5B7C0E21-4A93-4D6B-8F12-3C9A7E4D2B60}";

}  // namespace camfolder
