#include "transfer_worker.h"

#include "link_host.h"
#include "progress_dialog.h"
#include "win_raii.h"

namespace {

struct WorkerParams {
  HANDLE cancelEvent;
  uint32_t code;
  HWND dialog;
  CommandBlock *block;
};

DWORD WINAPI TransferWorker(void *argument) {
  auto *params = static_cast<WorkerParams *>(argument);
  if (!params || !params->block) return 0xFFFF;
  const WorkerParams p = *params;
  delete params;

  TransferContext context;
  context.progressArea = ProgressArea(p.dialog);
  context.cancelEvent = p.cancelEvent;
  const ZLXRESULT result = RunCommand(p.code, *p.block, context);

  if (HWND dialog = linkhost::g_progressDialog.Get()) SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  CloseHandle(p.cancelEvent);
  HANDLE completion = p.block->TakeCompletionEvent();
  p.block->WriteResult(result);
  // The window thread holds the block's lock, so it is the one to release it.
  SendMessageA(linkhost::g_commandWindow, kTransferDoneMessage, 0, 0);
  if (completion) {
    SetEvent(completion);
    CloseHandle(completion);
  }
  return 0;
}

}  // namespace

bool StartDialogTransfer(uint32_t code, std::unique_ptr<CommandBlock> &block, const TransferCommand &transfer) {
  HANDLE cancel = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!cancel) return false;
  const ProgressDialogRecord record{WindowFrom32(transfer.progress.owner), cancel,
                                    static_cast<int>(transfer.progress.current),
                                    static_cast<int>(transfer.progress.total)};
  HWND dialog = CreateProgressDialog(record);
  if (!dialog) {
    CloseHandle(cancel);
    return false;
  }
  linkhost::g_progressDialog.Set(dialog);
  auto *params = new WorkerParams{cancel, code, dialog, block.get()};
  // The worker may end at once; its end message must find the thread and the
  // held block recorded, so it runs only once both are.
  HANDLE thread = CreateThread(nullptr, 0, TransferWorker, params, CREATE_SUSPENDED, nullptr);
  if (!thread) {
    delete params;
    DestroyWindow(dialog);
    linkhost::g_progressDialog.Set(nullptr);
    CloseHandle(cancel);
    return false;
  }
  linkhost::g_heldBlock = block.release();
  linkhost::g_workerThread.Set(thread);
  ShowWindow(dialog, SW_SHOWNORMAL);
  ResumeThread(thread);
  return true;
}
