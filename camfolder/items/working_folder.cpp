#include "items/working_folder.h"

#include <string_view>

namespace camfolder {

std::string WorkingFolder() {
  char temp[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, temp);
  std::string path = length > 0 && length < MAX_PATH ? std::string(temp, length) : std::string();
  if (path.empty() || path.back() != '\\') path.push_back('\\');
  return path + "Lumo";
}

namespace {

bool IsFullFolderPath(std::string_view path) {
  const bool letter = !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return letter && path.size() >= 4 && path[1] == ':' && path[2] == '\\';
}

// Calls visit(path, attributes) for every entry of the folder but "." and "..".
template <typename Visit>
void ForEachEntry(const std::string &folder, Visit visit) {
  WIN32_FIND_DATAA entry;
  const unique_find find(FindFirstFileA((folder + "\\*").c_str(), &entry));
  if (!find) return;
  do {
    const std::string_view name(entry.cFileName);
    if (name != "." && name != "..") visit(folder + "\\" + entry.cFileName, entry.dwFileAttributes);
  } while (FindNextFileA(find.get(), &entry));
}

void DeleteContents(const std::string &folder) {
  ForEachEntry(folder, [](const std::string &path, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A link to another folder is removed, never followed.
      if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) DeleteContents(path);
      RemoveDirectoryA(path.c_str());
    } else {
      if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
  });
}

}  // namespace

DWORD RemoveFolderTree(const char *path) {
  if (!path) return ERROR_INVALID_PARAMETER;
  std::string folder(path);
  if (!IsFullFolderPath(folder)) return ERROR_BAD_PATHNAME;
  if (folder.back() == '\\') folder.pop_back();
  if (RemoveDirectoryA(folder.c_str())) return ERROR_SUCCESS;
  DeleteContents(folder);
  return RemoveDirectoryA(folder.c_str()) ? ERROR_SUCCESS : GetLastError();
}

namespace {

constexpr char kLockName[] = "\\in-use.lock";

// The parts of processes still running hold their lock file open without
// sharing its deletion: only a part nobody holds can be removed.
bool IsAbandoned(const std::string &part) {
  const std::string lock = part + kLockName;
  if (GetFileAttributesA(lock.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  return DeleteFileA(lock.c_str()) != 0;
}

struct ProcessPart {
  critical_section lock;
  std::string folder;
  unique_file held;  // released when the module unloads
  LONG next = 0;
};

ProcessPart &Part() {
  static ProcessPart part;
  return part;
}

// A new part with its lock held; another process that cleans the working
// folder in the meantime may take the empty folder away, so it is tried anew.
bool MakePart(ProcessPart &part) {
  const std::string working = WorkingFolder();
  CreateDirectoryA(working.c_str(), nullptr);
  for (unsigned n = 0; n < 1000; ++n) {
    const std::string folder = working + "\\P" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(n);
    if (!CreateDirectoryA(folder.c_str(), nullptr)) {
      if (GetLastError() == ERROR_ALREADY_EXISTS) continue;
      return false;
    }
    unique_file lock(CreateFileA((folder + kLockName).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (!lock) continue;
    part.folder = folder;
    part.held = std::move(lock);
    return true;
  }
  return false;
}

}  // namespace

void CleanWorkingFolder() {
  const std::string folder = WorkingFolder();
  CreateDirectoryA(folder.c_str(), nullptr);
  ForEachEntry(folder, [](const std::string &path, DWORD attributes) {
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      DeleteFileA(path.c_str());  // a file some program still has open stays
    } else if (IsAbandoned(path)) {
      RemoveFolderTree(path.c_str());
    }
  });
}

std::optional<std::string> ProcessFolder() {
  ProcessPart &part = Part();
  const section_lock hold(part.lock);
  if (part.folder.empty() && !MakePart(part)) return std::nullopt;
  return part.folder;
}

std::optional<std::string> NewLocalFolder(char kind) {
  const auto folder = ProcessFolder();
  if (!folder) return std::nullopt;
  const LONG n = InterlockedIncrement(&Part().next);
  return *folder + "\\" + kind + std::to_string(n);
}

HRESULT LoadLocalFile(const char *path, unique_hglobal &data, DWORD &size) {
  data.reset();
  size = 0;
  const unique_file file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return E_UNEXPECTED;
  LARGE_INTEGER length;
  if (!GetFileSizeEx(file.get(), &length) || length.QuadPart >= 0x100000000LL) return E_UNEXPECTED;
  const DWORD total = static_cast<DWORD>(length.QuadPart);
  if (total == 0) return S_OK;
  unique_hglobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, total));
  if (!block) return E_OUTOFMEMORY;
  {
    const global_lock bytes(block.get());
    if (!bytes) return E_OUTOFMEMORY;
    DWORD done = 0;
    while (done < total) {
      DWORD read = 0;
      if (!ReadFile(file.get(), static_cast<char *>(bytes.get()) + done, total - done, &read, nullptr) || read == 0)
        return E_UNEXPECTED;  // the file shrank or cannot be read
      done += read;
    }
  }
  data = std::move(block);
  size = total;
  return S_OK;
}

HRESULT SaveLocalFile(const char *path, const void *data, DWORD size) {
  const unique_file file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return STG_E_WRITEFAULT;
  DWORD done = 0;
  while (done < size) {
    DWORD written = 0;
    if (!WriteFile(file.get(), static_cast<const char *>(data) + done, size - done, &written, nullptr) ||
        written == 0)
      return STG_E_WRITEFAULT;
    done += written;
  }
  return S_OK;
}

HRESULT ReplaceLocalFile(const char *path, const void *data, DWORD size) {
  const std::string target(path);
  const size_t slash = target.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
  // The temporary name takes the folder, a "\" and 13 characters of its own;
  // the call does not check that they fit.
  constexpr size_t kTemporaryName = 14;
  char temporary[MAX_PATH];
  if (folder.size() + kTemporaryName >= MAX_PATH || !GetTempFileNameA(folder.c_str(), "LMO", 0, temporary))
    return STG_E_WRITEFAULT;
  if (SaveLocalFile(temporary, data, size) != S_OK ||
      !MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary);
    return STG_E_WRITEFAULT;
  }
  return S_OK;
}

}  // namespace camfolder
