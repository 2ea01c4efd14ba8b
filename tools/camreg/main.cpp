// camreg: registers camfolder.dll with the shell, or removes it again.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "registration.h"

namespace {

constexpr char kUsage[] =
    "camreg - registers the Lumo camera folder with the Windows shell\n"
    "\n"
    "Usage: camreg install [DLL]   register camfolder.dll (default: the one next to\n"
    "                              camreg.exe); linkhost.exe must be in the same folder\n"
    "       camreg uninstall       remove everything install wrote\n"
    "\n"
    "Both can be repeated. After install the camera shows in My Computer as \"Lumo\".\n";

std::string FullPath(const std::string &path) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? std::string(full, length) : std::string();
}

std::string DefaultDll() {
  char self[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  std::string path(self, length);
  return path.substr(0, path.find_last_of('\\') + 1) + "camfolder.dll";
}

bool IsFile(const std::string &path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int Install(const std::string &given) {
  const std::string dll = FullPath(given.empty() ? DefaultDll() : given);
  if (dll.empty() || !IsFile(dll)) {
    std::fprintf(stderr, "camreg: %s: no such file\n", given.empty() ? "camfolder.dll" : given.c_str());
    return 1;
  }
  const std::string linkHost = dll.substr(0, dll.find_last_of('\\') + 1) + "linkhost.exe";
  if (!IsFile(linkHost)) {
    std::fprintf(stderr, "camreg: %s is missing: the camera folder needs the link host beside it\n",
                 linkHost.c_str());
    return 1;
  }
  std::string error;
  if (!InstallCameraFolder(dll, error)) {
    std::fprintf(stderr, "camreg: %s\n", error.c_str());
    return 1;
  }
  std::printf("registered %s\n", dll.c_str());
  return 0;
}

int Uninstall() {
  std::string error;
  if (!UninstallCameraFolder(error)) {
    std::fprintf(stderr, "camreg: %s\n", error.c_str());
    return 1;
  }
  std::printf("unregistered the camera folder\n");
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc >= 2 && argc <= 3 && std::strcmp(argv[1], "install") == 0) return Install(argc == 3 ? argv[2] : "");
  if (argc == 2 && std::strcmp(argv[1], "uninstall") == 0) return Uninstall();
  const bool help = argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
  std::fputs(kUsage, help ? stdout : stderr);
  return help ? 0 : 2;
}
