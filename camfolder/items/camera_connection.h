// The camera connection of the camera folder: each shell thread that talks
// to the camera has its own API handle in a thread-local slot; a process-wide
// counter counts the successful opens.
#pragma once

#include <windows.h>

#include "camapi.h"

namespace camfolder {

// Called by the module entry point.
bool CreateThreadSlots();   // process attach
void DeleteThreadSlots();   // process detach
void AttachThreadSlot();    // thread attach: the slot's cell
void DetachThreadSlot();    // thread detach

// The connection settings from the camera API into the process-wide copy.
bool ReadConnectionSettings();

// This thread's camera handle, opened when there is none yet. Failures are
// shown to the user; E_UNEXPECTED, E_INVALIDARG or E_OUTOFMEMORY.
HRESULT GetCamera(HZLXCAMERA &camera);

// Closes the connection (the "disconnect" verb): the camera junction is
// reported removed, every counted open is closed, and the current directory
// leaves the working folder.
void Disconnect();

// After a failed camera call: closes the connection when the result says it
// is gone, so that the next operation reconnects.
void CheckConnection(ZLXRESULT result);

// Shows a failed result and makes the connection check; true on success.
bool CameraCallSucceeded(ZLXRESULT result);

// Forgets every counted open (the first folder use of a process).
void ResetOpenCount();

// Closes this thread's handle once per counted open and frees its slot.
void CloseThreadCamera();

}  // namespace camfolder
