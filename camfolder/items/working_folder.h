// The local working folder: camera files are received there before the
// shell gets them, and files to send are read from anywhere into memory.
//
// Shell threads and processes share the folder. Each process works in a
// part of its own ("...\Lumo\P<id>-<n>"), locked by an open file while the
// process uses it; each fetch gets a fresh folder inside that part, so that
// two fetches of folders or files of the same name never meet.
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

// First use in a process: removes what processes that no longer use the
// working folder left there (never a part another process holds), and makes
// the folder.
void CleanWorkingFolder();

// This process's part of the working folder, made and locked at first use;
// nullopt when it cannot be made.
std::optional<std::string> ProcessFolder();
// A name for a new folder inside this process's part ("...\D12"), not yet
// made; every call gives another.
std::optional<std::string> NewLocalFolder(char kind);

// A whole local file in movable global memory; E_UNEXPECTED when the file
// cannot be opened or is 4 GiB or larger, E_OUTOFMEMORY. An empty file gives
// no block and size 0.
HRESULT LoadLocalFile(const char *path, unique_hglobal &data, DWORD &size);
// Writes the bytes to a new (or truncated) local file; STG_E_WRITEFAULT when
// a write fails.
HRESULT SaveLocalFile(const char *path, const void *data, DWORD size);
// Replaces (or makes) the local file only once all the bytes are written: a
// temporary file beside it takes them first. A failure leaves the old file
// as it was and gives STG_E_WRITEFAULT.
HRESULT ReplaceLocalFile(const char *path, const void *data, DWORD size);

}  // namespace camfolder
