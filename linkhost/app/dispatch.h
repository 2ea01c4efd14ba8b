// The operation behind each command code, run on the command block's
// parameter area.
#pragma once

#include <windows.h>

#include <cstdint>

#include "command_layout.h"
#include "command_server.h"
#include "zlx_result.h"

// Where a transfer paints its progress and how it learns of a cancel; both
// none for a transfer without dialog.
struct TransferContext {
  HWND progressArea = nullptr;
  HANDLE cancelEvent = nullptr;
};

// The transfer mode and progress parameters of the six transfer commands.
struct TransferCommand {
  bool isTransfer = false;
  bool valid = false;  // the block holds the command's fixed fields
  uint16_t mode = 0;
  ProgressFields progress{};
};

TransferCommand DescribeTransfer(uint32_t code, const CommandBlock &block);

// Performs the command and writes its "out" fields; returns the result code.
ZLXRESULT RunCommand(uint32_t code, CommandBlock &block, const TransferContext &transfer);
