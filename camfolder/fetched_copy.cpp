#include "fetched_copy.h"

#include "camera_path.h"
#include "transfer_receive.h"

namespace camfolder {

namespace {

// What the last fetch wrote: the camera file, the local file, and that
// file's size and time right after the fetch.
struct FetchedCopy {
  FetchedCopy() { InitializeCriticalSection(&lock); }
  ~FetchedCopy() { DeleteCriticalSection(&lock); }
  CRITICAL_SECTION lock;
  std::string cameraPath;
  std::string localPath;
  WIN32_FILE_ATTRIBUTE_DATA written{};
};

FetchedCopy &Fetched() {
  static FetchedCopy fetched;
  return fetched;
}

bool SameFacts(const WIN32_FILE_ATTRIBUTE_DATA &a, const WIN32_FILE_ATTRIBUTE_DATA &b) {
  return a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow &&
         CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0 &&
         CompareFileTime(&a.ftCreationTime, &b.ftCreationTime) == 0;
}

// Shell threads share the record: every look and change is under its lock.
template <typename Body>
auto Locked(Body &&body) {
  FetchedCopy &fetched = Fetched();
  EnterCriticalSection(&fetched.lock);
  auto result = body(fetched);
  LeaveCriticalSection(&fetched.lock);
  return result;
}

bool IsCurrent(const std::string &cameraPath, const std::string &localPath) {
  WIN32_FILE_ATTRIBUTE_DATA now{};
  if (!GetFileAttributesExA(localPath.c_str(), GetFileExInfoStandard, &now)) return false;
  return Locked([&](FetchedCopy &fetched) {
    return !fetched.cameraPath.empty() && fetched.cameraPath == cameraPath && fetched.localPath == localPath &&
           SameFacts(fetched.written, now);
  });
}

void Remember(const std::string &cameraPath, const std::string &localPath) {
  WIN32_FILE_ATTRIBUTE_DATA written{};
  const bool known = GetFileAttributesExA(localPath.c_str(), GetFileExInfoStandard, &written);
  Locked([&](FetchedCopy &fetched) {
    fetched.cameraPath = known ? cameraPath : std::string();
    fetched.localPath = known ? localPath : std::string();
    fetched.written = written;
    return 0;
  });
}

}  // namespace

HRESULT FetchOpenedCopy(const std::string &cameraPath, const std::string &localPath,
                        const tagZLXPROGRESSPARAM &progress) {
  if (IsCurrent(cameraPath, localPath)) return S_OK;
  const std::string folder = localPath.substr(0, localPath.find_last_of('\\'));
  if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return E_FAIL;
  const HRESULT hr = ReceiveFile(nullptr, cameraPath.c_str(), localPath.c_str(), kTransferWithProgress, progress);
  if (SUCCEEDED(hr)) Remember(cameraPath, localPath);
  return hr;
}

void ForgetFetchedAt(const std::string &cameraItem) {
  Locked([&](FetchedCopy &fetched) {
    if (IsAtOrBelow(fetched.cameraPath, cameraItem)) fetched.cameraPath.clear();
    return 0;
  });
}

void ForgetFetchedCopyAt(const std::string &localPath) {
  Locked([&](FetchedCopy &fetched) {
    if (lstrcmpiA(fetched.localPath.c_str(), localPath.c_str()) == 0) fetched.cameraPath.clear();
    return 0;
  });
}

void ForgetFetchedCopy() {
  Locked([&](FetchedCopy &fetched) {
    fetched.cameraPath.clear();
    return 0;
  });
}

}  // namespace camfolder
