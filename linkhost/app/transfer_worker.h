// Dialog transfers: the progress dialog on the window thread and a worker
// thread that runs the transfer and answers the client when it ends.
#pragma once

#include <cstdint>

#include "command_server.h"
#include "dispatch.h"

// Shows the dialog and starts the worker on the held block; false when the
// dialog or the thread cannot be made (the caller then runs the command at once).
bool StartDialogTransfer(uint32_t code, CommandBlock &block, const TransferCommand &transfer);
