#include "test_files.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "child_process.h"
#include "win_raii.h"

std::string ReadAll(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

void WriteAll(const std::string &path, const std::string &bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

void RemoveTree(const std::string &path) {
  const std::string from = path + '\0';  // the list ends with two NULs
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NO_UI;
  SHFileOperationA(&operation);
}

int RunNative(const std::string &command, const std::string &folder, const std::string &unixFolder,
              unsigned timeoutMs) {
  const std::string status = unixFolder + "/native.status";
  std::string line = "/bin/bash -c \"" + command + "; echo $? >" + status + ".part; mv " + status + ".part " +
                     status + "\"";
  STARTUPINFOA startup{sizeof startup};
  PROCESS_INFORMATION info{};
  if (!StartProcess(line, FALSE, startup, info)) return -1;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  const std::string statusPath = folder + "\\native.status";
  for (unsigned waited = 0; waited < timeoutMs; waited += 50) {
    if (GetFileAttributesA(statusPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
      const int code = std::atoi(ReadAll(statusPath).c_str());
      DeleteFileA(statusPath.c_str());
      return code;
    }
    Sleep(50);
  }
  return -1;
}

std::vector<std::string> FileNames(const std::string &folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const unique_find find(FindFirstFileA((folder + "\\*").c_str(), &found));
  if (!find) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(find.get(), &found));
  std::sort(names.begin(), names.end());
  return names;
}
