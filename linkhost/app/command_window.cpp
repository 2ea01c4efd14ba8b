// The hidden command window: serves message 0x8001 from the clients and the
// end of a dialog transfer (0x8002) from the worker.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "command_layout.h"
#include "dispatch.h"
#include "link_host.h"
#include "transfer_worker.h"

namespace linkhost {
namespace {

constexpr size_t kDeviceKeyMax = 259;

// Serves one command: answers at once, or leaves it to a dialog transfer that
// holds the command block until its worker ends.
void ServeCommand(uint32_t code) {
  auto block = std::make_unique<CommandBlock>();
  if (!block->Open(g_deviceKey)) return;  // the client runs into its time-out
  const TransferCommand transfer = DescribeTransfer(code, block->Params(), block->ParamsCapacity());
  if (transfer.isTransfer) {
    if (!transfer.valid) return block->Complete(ZLX_E_NO_MEMORY);
    if (transfer.mode == 1 || transfer.mode > 3) return block->Complete(ZLX_E_TRANSFER_MODE);
    if (transfer.mode != 0 && StartDialogTransfer(code, block, transfer)) return;
  }
  block->Complete(RunCommand(code, *block, TransferContext{}));
}

LRESULT CALLBACK CommandWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const auto *create = reinterpret_cast<const CREATESTRUCTA *>(lParam);
      const char *key = static_cast<const char *>(create->lpCreateParams);
      if (!key || std::strlen(key) > kDeviceKeyMax) return -1;
      std::memcpy(g_deviceKey, key, std::strlen(key) + 1);
      WSADATA wsa;
      WSAStartup(MAKEWORD(1, 1), &wsa);
      return 0;
    }
    case WM_DESTROY:
      WSACleanup();
      PostQuitMessage(0);
      return 0;
    case kCommandMessage:
      if (g_heldBlock) return -1;  // a dialog transfer holds the channel
      ServeCommand(static_cast<uint32_t>(lParam));
      return 0;
    case kTransferDoneMessage:
      if (g_heldBlock) {
        g_heldBlock->Release();
        delete g_heldBlock;
        g_heldBlock = nullptr;
      }
      // The worker only signals its client from here on: stop waiting for it.
      if (HANDLE worker = g_workerThread.Get()) {
        g_workerThread.Set(nullptr);
        CloseHandle(worker);
      }
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool RegisterCommandWindowClass(HINSTANCE instance) {
  WNDCLASSEXA wc{sizeof wc};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = CommandWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kWindowClass;
  return RegisterClassExA(&wc) != 0;
}

HWND CreateCommandWindow(HINSTANCE instance, const char *commandLine, const char *deviceKey) {
  char title[600];
  std::snprintf(title, sizeof title, "%s - %s", kWindowClass, commandLine);
  g_commandWindow = CreateWindowA(kWindowClass, title, WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, const_cast<char *>(deviceKey));
  return g_commandWindow;
}

}  // namespace linkhost
