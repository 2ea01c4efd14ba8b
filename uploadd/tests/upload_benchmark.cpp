// Throughput of the direct-upload path, run by hand (not a CTest test):
//   cd build/win64/bin && ../../../scripts/wine-run ../wine ./uploadd_benchmark.exe
// Uploads 200 files of 1 MiB and one of 100 MiB with the native camsim
// upload client into uploadd.exe, and copies the same bytes over a raw
// loopback TCP connection from a native sender into this Wine process.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "test_files.h"
#include "upload_server_process.h"

namespace {

constexpr size_t kMiB = 1 << 20;

struct Folder {
  std::string windows, unix;
};

std::string Pattern(size_t size, int seed) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + seed) & 0xFF);
  return bytes;
}

// What a measurement printed, or why it failed.
struct Measured {
  bool ok;
  std::string text;
};

// The client's summary line: "uploaded N files, B bytes in S s (X MB/s, Y files/s)".
Measured Upload(const Folder &folder, const std::vector<std::string> &files) {
  std::string command = "timeout 600 " UPLOAD_CLIENT " upload --server 127.0.0.1:6222 --quiet";
  for (const auto &file : files) command += " " + folder.unix + "/src/" + file;
  command += " >" + folder.unix + "/client.out 2>&1";
  if (RunNative(command, folder.windows, folder.unix, 600000) != 0) return {false, "the client failed"};
  std::string out = ReadAll(folder.windows + "\\client.out");
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return {true, out};
}

// A native sender writes the files into one TCP connection to this process.
Measured RawCopy(const Folder &folder, const std::vector<std::string> &files) {
  SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address);
  listen(listener, 1);
  getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length);
  std::string command = "cat";
  for (const auto &file : files) command += " " + folder.unix + "/src/" + file;
  command += " >/dev/tcp/127.0.0.1/" + std::to_string(ntohs(address.sin_port));
  command = "/bin/bash -c \"" + command + "\"";
  STARTUPINFOA startup{sizeof startup};
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return {false, "cannot start the sender"};
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  SOCKET data = accept(listener, nullptr, nullptr);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  std::vector<char> buffer(256 * 1024);
  unsigned long long total = 0;
  for (int got; (got = recv(data, buffer.data(), static_cast<int>(buffer.size()), 0)) > 0;) total += got;
  QueryPerformanceCounter(&end);
  closesocket(data);
  closesocket(listener);
  const double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
  char result[160];
  std::snprintf(result, sizeof result, "raw copy %llu bytes in %.3f s (%.2f MB/s)", total, seconds,
                total / seconds / 1e6);
  return {true, result};
}

}  // namespace

int main() {
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  const std::string name = "uploadd_bench." + std::to_string(GetCurrentProcessId());
  const Folder folder{"Z:\\tmp\\" + name, "/tmp/" + name};
  CreateDirectoryA(folder.windows.c_str(), nullptr);
  CreateDirectoryA((folder.windows + "\\src").c_str(), nullptr);
  CreateDirectoryA((folder.windows + "\\root").c_str(), nullptr);

  std::vector<std::string> small;
  for (int i = 0; i < 200; ++i) {
    char file[32];
    std::snprintf(file, sizeof file, "IMG%04d.JPG", i);
    small.push_back(file);
    WriteAll(folder.windows + "\\src\\" + file, Pattern(kMiB, i));
  }
  WriteAll(folder.windows + "\\src\\BIG.MOV", Pattern(100 * kMiB, 7));

  int status = 0;
  {
    UploadServerProcess server(folder.windows + "\\root", "");
    const std::string started = server.HasWindow() ? server.PressStart() : "no window";
    if (!started.empty()) {
      std::printf("uploadd did not start: %s\n", started.c_str());
      status = 1;
    } else {
      // A failed measurement is reported and fails the run.
      const auto report = [&status](const char *label, const Measured &measured) {
        std::printf("%s %s\n", label, measured.text.c_str());
        if (!measured.ok) status = 1;
      };
      report("200 x 1 MiB via uploadd: ", Upload(folder, small));
      report("200 x 1 MiB raw loopback:", RawCopy(folder, small));
      report("1 x 100 MiB via uploadd: ", Upload(folder, {"BIG.MOV"}));
      report("1 x 100 MiB raw loopback:", RawCopy(folder, {"BIG.MOV"}));
    }
  }
  RemoveTree(folder.windows);
  WSACleanup();
  return status;
}
