// A minimal command server for the channel tests: a hidden window that serves
// commands through the real command block, like the link host does.
#include <windows.h>

#include <cstring>
#include <utility>
#include <vector>

#include "channel_names.h"
#include "channel_test_protocol.h"
#include "command_layout.h"
#include "command_server.h"
#include "zlx_records.h"

namespace {

std::string g_deviceKey;
uint32_t g_served = 0;
DWORD g_busyAfterAnswer = 0;

ZLXRESULT Echo(CommandBlock &block) {
  if (!block.Holds(4)) return ZLX_E_NO_MEMORY;
  uint32_t size;
  std::memcpy(&size, block.Params(), 4);
  if (!block.Holds(size)) return ZLX_E_NO_MEMORY;
  for (uint32_t i = 4; i < size; ++i) ++block.Params()[i];
  return ZLX_OK;
}

ZLXRESULT DriveList(CommandBlock &block) {
  if (!block.Holds(sizeof(GetDriveListParams))) return ZLX_E_NO_MEMORY;
  auto *p = reinterpret_cast<GetDriveListParams *>(block.Params());
  std::vector<tagZLXDRIVELISTENTRY> drives(p->count);
  for (uint32_t i = 0; i < drives.size(); ++i) {
    drives[i].number = i;
    wsprintfA(drives[i].name, "DRIVE%u", i);
    drives[i].present = i % 2;
  }
  uint32_t mapping = 0;
  const ZLXRESULT r = HandResultToClient(p->clientProcessId, drives.data(),
                                         static_cast<uint32_t>(drives.size() * sizeof drives[0]),
                                         ResultKind::List, mapping);
  p->mapping = mapping;
  return r;
}

ZLXRESULT Serve(uint32_t code, CommandBlock &block) {
  switch (code) {
    case CMD_CLOSE_CAMERA: return ZLX_OK;
    case CMD_GET_DRIVE_LIST: return DriveList(block);
    case kEcho: return Echo(block);
    case kDetailWord: {
      const ZLXRESULT r = Echo(block);
      return r ? r : ZlxMakeResult(ZLX_OK, 0xABCD);
    }
    case kErrorAfterWrite:
      std::memset(block.Params(), kScribble, block.ParamsCapacity() < 64 ? block.ParamsCapacity() : 64);
      return ZLX_E_NOT_FOUND;
    case kSlowEcho: {
      if (!block.Holds(8)) return ZLX_E_NO_MEMORY;
      uint32_t ms;
      std::memcpy(&ms, block.Params() + 4, 4);
      Sleep(ms);
      return Echo(block);
    }
    case kServedCount:
      if (!block.Holds(4)) return ZLX_E_NO_MEMORY;
      std::memcpy(block.Params(), &g_served, 4);
      return ZLX_OK;
    case kDieWhileServing: ExitProcess(3);
    case kBusyAfterAnswer:
      if (!block.Holds(4)) return ZLX_E_NO_MEMORY;
      std::memcpy(&g_busyAfterAnswer, block.Params(), 4);
      return ZLX_OK;
    case kHandleCount: {
      if (!block.Holds(4)) return ZLX_E_NO_MEMORY;
      // Counted by probing the handle values (Wine reports no count).
      uint32_t count = 0;
      DWORD flags = 0;
      for (uintptr_t value = 4; value < 0x10000; value += 4)
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
      std::memcpy(block.Params(), &count, 4);
      return ZLX_OK;
    }
  }
  return ZLX_E_NOT_SUPPORTED;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCommandMessage) {
    CommandBlock block;
    if (block.Open(g_deviceKey.c_str())) {
      const ZLXRESULT result = Serve(static_cast<uint32_t>(lParam), block);
      ++g_served;
      block.Complete(result);
    }
    Sleep(std::exchange(g_busyAfterAnswer, 0));
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  const auto key = DeviceKey(commandLine);
  if (!key) return 2;
  g_deviceKey = *key;
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = "LumoChannelTestServer";
  RegisterClassA(&wc);
  HWND window = CreateWindowA(wc.lpszClassName, "channel test server", 0, 0, 0, 0, 0, nullptr, nullptr, instance,
                              nullptr);
  InfoBlock info;
  if (!window || !info.Publish(g_deviceKey.c_str(), window)) return 1;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
