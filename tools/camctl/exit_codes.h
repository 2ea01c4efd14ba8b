// The exit codes of camctl, documented in its help text so that scripts can
// tell a refused operation from a bad command line or a missing camera.
#pragma once

#include "zlx_result.h"

enum ExitCode : int {
  kExitSuccess = 0,
  kExitCameraError = 1,  // the camera or the API refused or failed the operation
  kExitUsage = 2,        // bad command line
  kExitLocalError = 3,   // a local file or folder could not be read or written
  kExitCancelled = 4,    // not confirmed, cancelled in the dialog, or waiting declined
  kExitNoConnection = 5, // no camera address, or the camera cannot be reached
};

// The exit code that reports a failed camera operation with this result.
ExitCode ExitCodeForResult(ZLXRESULT result);
