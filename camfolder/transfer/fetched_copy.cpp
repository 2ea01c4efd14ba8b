#include "transfer/fetched_copy.h"

#include "core/camera_path.h"
#include "transfer/transfer_receive.h"
#include "win_raii.h"

namespace camfolder {

namespace {

// What the last fetch wrote: the camera file, the local file, and that
// file's size and time right after the fetch.
// Shell threads share the record: every look and change is under its lock.
struct FetchedCopy {
  critical_section lock;
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

bool IsCurrent(const std::string &cameraPath, const std::string &localPath) {
  WIN32_FILE_ATTRIBUTE_DATA now{};
  if (!GetFileAttributesExA(localPath.c_str(), GetFileExInfoStandard, &now)) return false;
  FetchedCopy &fetched = Fetched();
  const section_lock hold(fetched.lock);
  return !fetched.cameraPath.empty() && fetched.cameraPath == cameraPath && fetched.localPath == localPath &&
         SameFacts(fetched.written, now);
}

void Remember(const std::string &cameraPath, const std::string &localPath) {
  WIN32_FILE_ATTRIBUTE_DATA written{};
  const bool known = GetFileAttributesExA(localPath.c_str(), GetFileExInfoStandard, &written);
  FetchedCopy &fetched = Fetched();
  const section_lock hold(fetched.lock);
  fetched.cameraPath = known ? cameraPath : std::string();
  fetched.localPath = known ? localPath : std::string();
  fetched.written = written;
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
  FetchedCopy &fetched = Fetched();
  const section_lock hold(fetched.lock);
  if (IsAtOrBelow(fetched.cameraPath, cameraItem)) fetched.cameraPath.clear();
}

void ForgetFetchedCopyAt(const std::string &localPath) {
  FetchedCopy &fetched = Fetched();
  const section_lock hold(fetched.lock);
  if (lstrcmpiA(fetched.localPath.c_str(), localPath.c_str()) == 0) fetched.cameraPath.clear();
}

void ForgetFetchedCopy() {
  FetchedCopy &fetched = Fetched();
  const section_lock hold(fetched.lock);
  fetched.cameraPath.clear();
}

}  // namespace camfolder
