// The operation behind each command code, run on the command block's
// parameter area.
#pragma once

#include <windows.h>

#include <cstdint>

#include "command_checks.h"
#include "command_layout.h"
#include "command_server.h"
#include "zlx_result.h"

// Where a transfer paints its progress and how it learns of a cancel; both
// none for a transfer without dialog.
struct TransferContext {
  HWND progressArea = nullptr;
  HANDLE cancelEvent = nullptr;
};

// Performs the command and writes its "out" fields; returns the result code
// (0xFF87 when the operation ran out of memory or met another exception).
ZLXRESULT RunCommand(uint32_t code, CommandBlock &block, const TransferContext &transfer);
