// The local copy a file's parsing name made last. The shell asks for a
// file's parsing name again and again: the copy is fetched once and used
// again only while it is the file that fetch wrote, unchanged, and nothing
// has changed the camera file since.
#pragma once

#include <windows.h>

#include <string>

#include "camapi.h"

namespace camfolder {

// Makes the local copy of the camera file at localPath (its folder made
// when missing), or keeps the one the last such fetch wrote there.
HRESULT FetchOpenedCopy(const std::string &cameraPath, const std::string &localPath,
                        const tagZLXPROGRESSPARAM &progress);

// The camera item (a file, or a folder and everything in it) was replaced,
// renamed, moved or deleted: its copy no longer stands for it.
void ForgetFetchedAt(const std::string &cameraItem);
// A receive wrote this local file.
void ForgetFetchedCopyAt(const std::string &localPath);
void ForgetFetchedCopy();

}  // namespace camfolder
