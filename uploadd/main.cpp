// uploadd: the direct-upload server's program entry.
#include <winsock2.h>
#include <windows.h>

#include "profile.h"
#include "resource.h"
#include "resource_string.h"
#include "server_settings.h"
#include "upload_dialog.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  WSADATA data;
  if (WSAStartup(MAKEWORD(1, 1), &data) != 0) {
    MessageBoxA(nullptr, winfx::LoadResourceString(IDS_SOCKETS_INIT_FAILED).c_str(), nullptr, MB_OK | MB_ICONSTOP);
    return 1;
  }
  const winfx::CProfile profile(winfx::LoadResourceString(IDS_COMPANY));
  ServerSettings settings = ServerSettings::Load(profile);
  CUploadDialog dialog(settings, profile);
  dialog.DoModal();
  WSACleanup();
  return 0;
}
