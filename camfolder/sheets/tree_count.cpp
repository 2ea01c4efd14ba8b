#include "sheets/tree_count.h"

#include <vector>

#include "core/content_items.h"
#include "items/camera_connection.h"
#include "items/camera_contents.h"
#include "items/camera_error.h"

namespace camfolder {

namespace {

constexpr DWORD kFoldersAndFiles = 3;

HRESULT AddTree(HWND owner, HZLXCAMERA camera, const std::string &path, tagZLXDIRINFO &info, TreeTotals &totals) {
  const ZLXRESULT result = ZlxGetDirectoryInfo(camera, path.c_str(), &info);
  if (!ZlxSucceeded(result)) {
    ShowCameraError(owner, result);
    CheckConnection(result);
    return E_FAIL;
  }
  totals += TreeTotals{info.totalFileSize, info.files, info.subdirectories};
  std::vector<tagZLXFILEINFO> entries;
  if (FAILED(ListDirectory(camera, path.c_str(), kFoldersAndFiles, entries))) return E_FAIL;
  for (const tagZLXFILEINFO &entry : entries) {
    if (!(entry.attributes & ZLX_ATTR_DIRECTORY)) continue;
    // An entry no path can address (".", "..", a name with "/", a path
    // beyond the camera's limit) is not followed: it could lead back up the
    // tree for ever.
    const auto child = FolderEntryItem(path, entry);
    if (!child) continue;
    tagZLXDIRINFO childInfo{};
    if (const HRESULT hr = AddTree(owner, camera, child->path, childInfo, totals); FAILED(hr)) return hr;
  }
  return S_OK;
}

}  // namespace

HRESULT CountFolderTree(HWND owner, HZLXCAMERA camera, const std::string &path, tagZLXDIRINFO &info,
                        TreeTotals &totals) {
  totals = TreeTotals{};
  return AddTree(owner, camera, path, info, totals);
}

}  // namespace camfolder
