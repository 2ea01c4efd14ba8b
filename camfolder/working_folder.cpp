#include "working_folder.h"

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

void DeleteContents(const std::string &folder) {
  WIN32_FIND_DATAA entry;
  const unique_find find(FindFirstFileA((folder + "\\*").c_str(), &entry));
  if (!find) return;
  do {
    const std::string_view name(entry.cFileName);
    if (name == "." || name == "..") continue;
    const std::string path = folder + "\\" + entry.cFileName;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A link to another folder is removed, never followed.
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) DeleteContents(path);
      RemoveDirectoryA(path.c_str());
    } else {
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
  } while (FindNextFileA(find.get(), &entry));
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

void ResetWorkingFolder() {
  const std::string folder = WorkingFolder();
  RemoveFolderTree(folder.c_str());
  RemoveFolderTree(folder.c_str());
  CreateDirectoryA(folder.c_str(), nullptr);
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

}  // namespace camfolder
