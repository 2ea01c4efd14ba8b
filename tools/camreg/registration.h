// The registry keys that make the shell find the camera folder: both
// classes, the junction under My Computer, the root extension's handlers on
// the junction, and the App Paths entry through which "linkhost.exe" is
// started by its bare name from any program, the shell included.
#pragma once

#include <string>

// Writes every key for the DLL at dllPath (a full path), with linkhost.exe
// from the same folder. Writing again replaces the values. False with the
// reason when a key cannot be written.
bool InstallCameraFolder(const std::string &dllPath, std::string &error);

// Removes every key that InstallCameraFolder writes; keys already gone are
// fine. False with the reason when one cannot be removed.
bool UninstallCameraFolder(std::string &error);
