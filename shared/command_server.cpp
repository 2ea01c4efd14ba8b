#include "command_server.h"

#include <cstring>
#include <utility>

#include "channel_names.h"
#include "command_layout.h"
#include "win_raii.h"

bool InfoBlock::Publish(const char *deviceKey, HWND window) {
  const auto name = InfoBlockName(deviceKey);
  if (!name || !block_.Create(name->c_str(), PAGE_READWRITE, 8)) return false;
  auto *fields = static_cast<uint32_t *>(block_.Lock(true));
  if (!fields) return false;
  fields[0] = GetCurrentProcessId();
  fields[1] = WindowTo32(window);
  block_.Unlock();
  return true;
}

CommandBlock::~CommandBlock() {
  if (event_) CloseHandle(event_);
}

bool CommandBlock::Open(const char *deviceKey) {
  const auto name = CommandBlockName(deviceKey);
  if (!name || !block_.Open(name->c_str(), FILE_MAP_ALL_ACCESS)) return false;
  header_ = static_cast<uint8_t *>(block_.Lock(true));
  const size_t viewSize = block_.ViewSize();
  if (!header_ || viewSize < kCommandHeaderSize) {
    block_.Close();
    header_ = nullptr;
    return false;
  }
  // The event is taken out of the block: a client that gives up waiting
  // withdraws its event only while it still stands there. A block without
  // one belongs to a client that has given up, and is not served.
  auto *header = reinterpret_cast<CommandBlockHeader *>(header_);
  event_ = HandleFrom32(header->completionEvent);
  header->completionEvent = 0;
  if (!event_) {
    block_.Close();
    header_ = nullptr;
    return false;
  }
  params_ = header_ + kCommandHeaderSize;
  capacity_ = viewSize - kCommandHeaderSize;
  return true;
}

void CommandBlock::WriteResult(ZLXRESULT result) {
  if (header_) reinterpret_cast<CommandBlockHeader *>(header_)->result = result;
}

void CommandBlock::Release() {
  block_.Close();
  header_ = params_ = nullptr;
  capacity_ = 0;
}

HANDLE CommandBlock::TakeCompletionEvent() { return std::exchange(event_, nullptr); }

void CommandBlock::Complete(ZLXRESULT result) {
  WriteResult(result);
  Release();
  if (HANDLE event = TakeCompletionEvent()) {
    SetEvent(event);
    CloseHandle(event);
  }
}

ZLXRESULT HandResultToClient(DWORD clientProcessId, const void *data, uint32_t length, ResultKind kind,
                             uint32_t &mapping) {
  mapping = 0;
  if (length == 0) return ZLX_OK;
  const bool list = kind == ResultKind::List;
  unique_handle client(OpenProcess(PROCESS_ALL_ACCESS, TRUE, clientProcessId));
  if (!client) return list ? ZLX_E_INVALID_PARAMETER : ZLX_E_NO_MEMORY;

  CSharedMemory result;
  const HANDLE local = result.Create("", PAGE_READWRITE, length);
  if (!local) return ZLX_E_NO_MEMORY;
  void *view = result.Lock(true);
  if (!view) return ZLX_E_NO_MEMORY;
  std::memcpy(view, data, length);
  result.Unlock();

  HANDLE remote = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), local, client.get(), &remote, 0, TRUE, DUPLICATE_SAME_ACCESS) ||
      !remote)
    return list ? ZLX_E_GENERAL : ZLX_E_NO_MEMORY;
  mapping = HandleTo32(remote);
  return ZLX_OK;
}
