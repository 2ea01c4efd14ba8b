#include "command_client.h"

#include <cstring>

#include "channel_names.h"
#include "command_layout.h"
#include "shared_memory.h"
#include "win_raii.h"

namespace {

struct LinkHostAddress {
  DWORD processId;
  HWND window;
};

bool ReadInfoBlock(const char *deviceKey, LinkHostAddress &out) {
  const auto name = InfoBlockName(deviceKey);
  if (!name) return false;
  CSharedMemory info;
  if (!info.Open(name->c_str(), FILE_MAP_READ)) return false;
  const auto *fields = static_cast<const uint32_t *>(info.Lock(false));
  if (!fields) return false;
  out.processId = fields[0];
  out.window = WindowFrom32(fields[1]);
  info.Unlock();
  return true;
}

// Waits for one of the handles while answering the messages that other
// threads send to this thread's windows: a window of the caller may own the
// link host's progress dialog, which enables it again when it closes, and a
// broadcast waits for every top-level window. Posted messages stay queued for
// the caller's own loop.
DWORD WaitAnsweringSentMessages(const HANDLE *handles, DWORD count, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    DWORD left = INFINITE;
    if (timeoutMs != INFINITE) {
      const DWORD elapsed = GetTickCount() - start;
      if (elapsed >= timeoutMs) return WAIT_TIMEOUT;
      left = timeoutMs - elapsed;
    }
    const DWORD waited = MsgWaitForMultipleObjects(count, handles, FALSE, left, QS_SENDMESSAGE);
    if (waited != WAIT_OBJECT_0 + count) return waited;
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

// Closes a handle that this process put into the link host's process. It is
// taken over into this process and closed here: Wine refuses to close a
// source handle without a target process.
void CloseInLinkHost(HANDLE process, HANDLE handle) {
  HANDLE local = nullptr;
  if (DuplicateHandle(process, handle, GetCurrentProcess(), &local, 0, FALSE,
                      DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS))
    CloseHandle(local);
}

// After a time-out: an event that the link host has not yet taken out of the
// block (it has not begun to serve the command) would stay open in its
// process for ever, so it is taken back. A link host that holds the block is
// serving the command and closes its event itself.
void WithdrawEvent(CSharedMemory &block, HANDLE process, HANDLE remoteEvent) {
  auto *header = static_cast<CommandBlockHeader *>(block.TryLock(true));
  if (!header) return;
  if (header->completionEvent == HandleTo32(remoteEvent)) {
    header->completionEvent = 0;
    CloseInLinkHost(process, remoteEvent);
  }
  block.Unlock();
}

}  // namespace

ZLXRESULT SendCommand(const char *deviceKey, uint32_t code, void *params, uint32_t size, DWORD timeoutMs) {
  if (!deviceKey || code == 0 || (size != 0 && !params)) return ZLX_E_INVALID_PARAMETER;

  LinkHostAddress host;
  if (!ReadInfoBlock(deviceKey, host)) return ZLX_E_NOT_CONNECTED;
  // Kept open through the wait so that a link host that dies while serving
  // ends the wait instead of leaving the caller blocked for the whole time-out.
  unique_handle process(OpenProcess(PROCESS_ALL_ACCESS, TRUE, host.processId));
  if (!process) return ZLX_E_NOT_CONNECTED;

  const auto blockName = CommandBlockName(deviceKey);
  if (!blockName) return ZLX_E_NO_MEMORY;
  const uint64_t blockSize = uint64_t{size} + kCommandHeaderSize;
  if (blockSize > 0xFFFFFFFFu) return ZLX_E_NO_MEMORY;
  CSharedMemory block;
  if (!block.Create(blockName->c_str(), PAGE_READWRITE, static_cast<DWORD>(blockSize))) return ZLX_E_NO_MEMORY;
  auto *view = static_cast<uint8_t *>(block.Lock(true));
  if (!view) return ZLX_E_NO_MEMORY;
  // A block of this name that still exists (a link host still holds the
  // block of a timed-out command) is reused at its old size: refuse to write
  // past it.
  if (block.ViewSize() < blockSize) return ZLX_E_NO_MEMORY;

  unique_handle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!event) return ZLX_E_GENERAL;
  HANDLE remoteEvent = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), event.get(), process.get(), &remoteEvent, 0, TRUE,
                       DUPLICATE_SAME_ACCESS) ||
      !remoteEvent)
    return ZLX_E_GENERAL;

  auto *header = reinterpret_cast<CommandBlockHeader *>(view);
  header->completionEvent = HandleTo32(remoteEvent);
  if (size) std::memcpy(view + kCommandHeaderSize, params, size);
  block.Unlock();

  if (!PostMessageA(host.window, kCommandMessage, 0, code)) {
    // Nobody will serve it: take the event back out of the link host.
    CloseInLinkHost(process.get(), remoteEvent);
    return ZLX_E_NOT_CONNECTED;
  }

  const HANDLE waits[] = {event.get(), process.get()};
  const DWORD waited = WaitAnsweringSentMessages(waits, 2, timeoutMs);
  event.reset();
  if (waited == WAIT_TIMEOUT) {
    WithdrawEvent(block, process.get(), remoteEvent);
    return ZLX_E_TIMEOUT;
  }
  if (waited != WAIT_OBJECT_0) return ZLX_E_NOT_CONNECTED;

  view = static_cast<uint8_t *>(block.Lock(false));
  if (!view) return ZLX_E_NO_MEMORY;
  const ZLXRESULT result = reinterpret_cast<const CommandBlockHeader *>(view)->result;
  if (ZlxSucceeded(result) && size) std::memcpy(params, view + kCommandHeaderSize, size);
  block.Unlock();
  return result;
}

HGLOBAL TakeResultMapping(uint32_t mapping, uint32_t length) {
  unique_handle handle(HandleFrom32(mapping));
  if (!handle || length == 0) return nullptr;
  unique_view view(MapViewOfFile(handle.get(), FILE_MAP_READ, 0, 0, 0));
  if (!view) return nullptr;
  MEMORY_BASIC_INFORMATION info;
  if (VirtualQuery(view.get(), &info, sizeof info) != sizeof info || info.RegionSize < length) return nullptr;
  unique_hglobal memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length));
  if (!memory) return nullptr;
  {
    global_lock target(memory.get());
    if (!target) return nullptr;
    std::memcpy(target.get(), view.get(), length);
  }
  return memory.release();
}
