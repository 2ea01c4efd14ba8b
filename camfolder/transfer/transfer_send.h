// Local files sent into camera folders.
#pragma once

#include <windows.h>

#include <string>

#include "camapi.h"
#include "core/transfer_rules.h"

namespace camfolder {

// What one drop has been told so far: the user's last answer, and whether
// camera files of the same name are replaced without asking (after "replace
// all"). Each drop has its own: an answer never carries over to another.
struct SendChoices {
  int answer = kAnswerGoOn;
  uint32_t overwrite = kRefuseExisting;
};

// What became of a local file sent with move.
enum class MoveOutcome {
  kStays,          // skipped, declined or failed: the local file is where it was
  kMoved,          // it arrived whole on the camera and the local file is gone
  kKeptConverted,  // the camera holds a picture made from it, not its bytes: the file stays
  kNotVerified,    // the camera does not show it whole: the file stays
};

// Sends the local file into the camera folder (a path ending in "/"). The
// answer is set on entry (go on becomes yes, anything else cancel) and then
// holds the user's last answer. Names the camera cannot take are asked for;
// files sent into picture folders are made camera pictures first; a camera
// file of the same name is replaced only when the user says so. S_OK when
// sent or when the user declined to replace, S_FALSE when the file was
// skipped or the name question cancelled; camera failures are shown and give
// E_UNEXPECTED. With move, the local file is deleted only once the camera
// lists it with all its bytes; `outcome` tells what became of it.
HRESULT SendFile(HZLXCAMERA camera, const char *localPath, const char *cameraFolder, WORD mode,
                 const tagZLXPROGRESSPARAM &progress, bool move, SendChoices &choices, MoveOutcome *outcome = nullptr);

// Sends the bytes of a local copy of a camera file as they are, under its
// camera name, into the camera folder: a copy inside the camera keeps every
// byte. Results as for SendFile; `sentSize` receives the bytes sent.
HRESULT SendCameraCopy(HZLXCAMERA camera, const char *localPath, const std::string &cameraName,
                       const char *cameraFolder, WORD mode, const tagZLXPROGRESSPARAM &progress,
                       SendChoices &choices, DWORD &sentSize);

// Whether a send's result and answer say that the file went.
bool WasSent(HRESULT hr, const SendChoices &choices);

// Whether the camera lists the file at the path with this many bytes: what a
// move checks before it erases anything. Failures of the question are shown.
bool ArrivedWhole(HZLXCAMERA camera, const std::string &path, DWORD size, HWND owner);

}  // namespace camfolder
