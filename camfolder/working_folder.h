// The local working folder: camera files are received there before the
// shell gets them, and files to send are read from anywhere into memory.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "win_raii.h"

namespace camfolder {

// The system's temporary folder + "Lumo" ("C:\...\Temp\Lumo").
std::string WorkingFolder();

// Removes a local folder tree given by its full path ("C:\x" or longer).
// ERROR_BAD_PATHNAME for other paths, ERROR_INVALID_PARAMETER for none.
DWORD RemoveFolderTree(const char *path);

// Empties the working folder and makes it anew (first use in a process).
void ResetWorkingFolder();

// A whole local file in movable global memory; E_UNEXPECTED when the file
// cannot be opened or is 4 GiB or larger, E_OUTOFMEMORY. An empty file gives
// no block and size 0.
HRESULT LoadLocalFile(const char *path, unique_hglobal &data, DWORD &size);
// Writes the bytes to a new (or truncated) local file; STG_E_WRITEFAULT when
// a write fails.
HRESULT SaveLocalFile(const char *path, const void *data, DWORD size);

}  // namespace camfolder
