// Throughput of the camera API against the simulated camera, next to a raw
// loopback TCP copy of the same bytes with the link's 2048-byte socket
// buffers, measured in the same run:
//   camapi_bench [MiB]   (32 by default)
// Receives and sends one file of that size through camapi, lists a folder
// of 1,000 entries, and prints MB/s for each.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "camapi.h"
#include "camsim_process.h"
#include "channel_names.h"
#include "child_process.h"
#include "shared_memory.h"
#include "unix_paths.h"
#include "win_raii.h"

namespace {

constexpr int kSocketBuffer = 2048;
constexpr int kListEntries = 1000;

double Seconds(LARGE_INTEGER start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}

void Report(const char *what, size_t bytes, double seconds) {
  std::printf("%-34s %8.1f MB/s  (%.3f s)\n", what, bytes / seconds / 1e6, seconds);
}

// Sends size bytes from one loopback socket to another, both with 2048-byte buffers.
double RawLoopback(size_t size) {
  unique_socket listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  // Set before listening, so the accepted socket has it from the start.
  setsockopt(listener.get(), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char *>(&kSocketBuffer),
             sizeof kSocketBuffer);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener.get(), reinterpret_cast<sockaddr *>(&address), sizeof address);
  int length = sizeof address;
  getsockname(listener.get(), reinterpret_cast<sockaddr *>(&address), &length);
  listen(listener.get(), 1);
  const LARGE_INTEGER start = Now();
  std::thread sender([&] {
    unique_socket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    setsockopt(s.get(), SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char *>(&kSocketBuffer), sizeof kSocketBuffer);
    connect(s.get(), reinterpret_cast<sockaddr *>(&address), sizeof address);
    std::string chunk(64 * 1024, 'x');
    for (size_t sent = 0; sent < size;) {
      const int n = send(s.get(), chunk.data(), static_cast<int>(std::min(chunk.size(), size - sent)), 0);
      if (n <= 0) break;
      sent += n;
    }
  });
  unique_socket receiver(accept(listener.get(), nullptr, nullptr));
  const DWORD timeout = 10000;  // never wait forever on a stalled copy
  setsockopt(receiver.get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char *>(&timeout), sizeof timeout);
  std::string buffer(64 * 1024, '\0');
  for (size_t received = 0; received < size;) {
    const int n = recv(receiver.get(), buffer.data(), static_cast<int>(buffer.size()), 0);
    if (n <= 0) break;
    received += n;
  }
  sender.join();
  return Seconds(start);
}

}  // namespace

int main(int argc, char **argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::printf("camapi_bench: preparing the camera's files\n");
  const size_t size = size_t(argc > 1 ? std::atoi(argv[1]) : 32) << 20;
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);

  const std::string folder = "/tmp/lumo-bench-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(WindowsPath(folder).c_str(), nullptr);
  CreateDirectoryA(WindowsPath(folder + "/MANY").c_str(), nullptr);
  const std::string body(size, 'L');
  std::ofstream(WindowsPath(folder + "/BIG.BIN"), std::ios::binary) << body;
  for (int i = 0; i < kListEntries; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/MANY/F%05d.TXT", i);
    std::ofstream(WindowsPath(folder + name)) << i;
  }

  CamsimProcess camsim;
  std::string error;
  const std::string address = "127.30.0.1";
  if (!camsim.Start(address, {"--drive", "0=" + folder}, error)) {
    std::fprintf(stderr, "camapi_bench: %s\n", error.c_str());
    return 1;
  }
  ChildProcess host("linkhost.exe " + address);
  Sleep(500);
  ZlxInitialize(0x10000, 8);
  tagZLXMODEL model{1, 0};
  HZLXCAMERA camera = nullptr;
  if (ZLXRESULT r = ZlxOpenCamera(&camera, &model, 1, 0, nullptr, address.c_str())) {
    std::fprintf(stderr, "camapi_bench: open failed: 0x%04X\n", r & 0xFFFF);
    return 1;
  }

  tagZLXDATAINFO data{};
  std::strcpy(data.path, "0:/BIG.BIN");
  LARGE_INTEGER start = Now();
  ZLXRESULT result = ZlxReceiveFile(camera, &data, 0, nullptr);
  const double receiveSeconds = Seconds(start);
  if (result || data.length != size) std::fprintf(stderr, "receive: 0x%04X\n", result & 0xFFFF);

  std::strcpy(data.path, "0:/SENT.BIN");
  start = Now();
  result = ZlxSendFile(camera, &data, 0, nullptr, 1);
  const double sendSeconds = Seconds(start);
  if (result) std::fprintf(stderr, "send: 0x%04X\n", result & 0xFFFF);
  GlobalFree(data.data);

  HGLOBAL list = nullptr;
  DWORD count = 0;
  start = Now();
  result = ZlxGetDirectoryList(camera, "0:/MANY/", 1, &list, &count);
  const double listSeconds = Seconds(start);
  if (result || count != kListEntries) std::fprintf(stderr, "list: 0x%04X, %lu entries\n", result & 0xFFFF, count);
  GlobalFree(list);
  ZlxCloseCamera(camera);
  PostMessageA(FindWindowA("ZL1_ZLtpProxyServer", ("ZL1_ZLtpProxyServer - " + address).c_str()), WM_CLOSE, 0, 0);
  host.Wait(10000);
  camsim.Stop();
  RunShell("rm -rf " + folder);

  const double rawSeconds = RawLoopback(size);
  std::printf("%zu MiB file, %d-entry folder\n", size >> 20, kListEntries);
  Report("camapi receive", size, receiveSeconds);
  Report("camapi send", size, sendSeconds);
  Report("raw loopback TCP (2048-byte buffers)", size, rawSeconds);
  std::printf("%-34s %8.1f entries/s  (%.3f s)\n", "camapi list", kListEntries / listSeconds, listSeconds);
  WSACleanup();
  return 0;
}
