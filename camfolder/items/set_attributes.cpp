#include "items/set_attributes.h"

#include "core/camera_path.h"
#include "items/camera_connection.h"

namespace camfolder {

HRESULT SetAttributes(HZLXCAMERA camera, const char *path, DWORD attributes) {
  const PathKind kind = PathKindOf(path);
  if (kind != kFolderPath && kind != kFilePath) return E_INVALIDARG;
  if (!camera) {
    if (const HRESULT hr = GetCamera(camera); FAILED(hr)) return hr;
  }
  const ZLXRESULT result = kind == kFolderPath ? ZlxSetDirectoryAttribute(camera, path, attributes)
                                               : ZlxSetFileAttribute(camera, path, attributes);
  return CameraCallSucceeded(result) ? S_OK : E_FAIL;
}

}  // namespace camfolder
