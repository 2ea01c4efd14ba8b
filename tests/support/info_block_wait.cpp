#include "info_block_wait.h"

#include "channel_names.h"
#include "command_layout.h"
#include "shared_memory.h"
#include "win_raii.h"

bool WaitForInfoBlock(const std::string &deviceKey, DWORD timeoutMs, PublishedServer &server) {
  const auto name = InfoBlockName(deviceKey);
  if (!name) return false;
  const DWORD start = GetTickCount();
  do {
    CSharedMemory info;
    if (info.Open(name->c_str(), FILE_MAP_READ)) {
      const auto *fields = static_cast<const uint32_t *>(info.Lock(false));
      if (fields && fields[1]) {
        server.processId = fields[0];
        server.window = WindowFrom32(fields[1]);
        return true;
      }
    }
    Sleep(25);
  } while (GetTickCount() - start < timeoutMs);
  return false;
}
