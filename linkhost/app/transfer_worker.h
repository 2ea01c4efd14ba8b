// Dialog transfers: the progress dialog on the window thread and a worker
// thread that runs the transfer and answers the client when it ends.
#pragma once

#include <cstdint>
#include <memory>

#include "command_server.h"
#include "dispatch.h"

// Shows the dialog and starts the worker on the block, which becomes the held
// block of the transfer; false when the dialog or the thread cannot be made
// (the block stays with the caller, who then runs the command at once).
bool StartDialogTransfer(uint32_t code, std::unique_ptr<CommandBlock> &block, const TransferCommand &transfer);
