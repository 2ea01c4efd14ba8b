// The client end of the command channel: one transaction carries one command
// to the link host of a camera and brings its result back.
#pragma once

#include <windows.h>

#include <cstdint>

#include "zlx_result.h"

// Sends a command and waits up to timeoutMs for its result. params holds the
// "in" fields on entry and, after a successful command, the whole parameter
// area as the link host left it; after an error it is left as it was.
//
// After a time-out the completion event is taken back out of the link host
// unless the link host is serving the command already. A link host that is,
// may still hand a variable-length result to this process afterwards: that
// mapping handle cannot be known here and stays open until the process ends
// (one per command given up, and the device waits 24 hours before it gives up).
ZLXRESULT SendCommand(const char *deviceKey, uint32_t code, void *params, uint32_t size, DWORD timeoutMs);

// Copies a variable-length result that the link host handed over as a mapping
// duplicated into this process into movable, zero-initialised global memory,
// and closes the mapping handle. Returns none when the mapping cannot be read
// or is shorter than the length the reply claims.
HGLOBAL TakeResultMapping(uint32_t mapping, uint32_t length);
