// The operation wrappers: each carries one camera operation to the device of
// an API handle under the camera's call guard, arguments unchanged.
#include "api_handle.h"
#include "camapi.h"
#include "library_state.h"

namespace {

template <typename Operation>
ZLXRESULT Guarded(HZLXCAMERA camera, Operation &&operation) {
  if (!camapi::IsInitialized()) return ZLX_E_NOT_INITIALIZED;
  if (!camera) return ZLX_E_INVALID_PARAMETER;
  if (!camapi::g_cameraOpen) return ZLX_E_NOT_CONNECTED;
  if (!camera->guard->Acquire()) return ZLX_E_WAIT_DECLINED;
  const ZLXRESULT result = operation(*camera->device);
  camera->guard->Release();
  return result;
}

}  // namespace

#define ZLX_WRAP(call) \
  return Guarded(camera, [&](CLogicalDevice &device) { return device.call; })

ZLXAPI ZlxFormatDrive(HZLXCAMERA camera, BYTE drive) { ZLX_WRAP(_ZlxFormatDrive(drive)); }
ZLXAPI ZlxGetDriveList(HZLXCAMERA camera, DWORD *count, HGLOBAL *list) { ZLX_WRAP(_ZlxGetDriveList(count, list)); }
ZLXAPI ZlxGetDriveInfo(HZLXCAMERA camera, BYTE drive, tagZLXDRIVEINFO *info) {
  ZLX_WRAP(_ZlxGetDriveInfo(drive, info));
}
ZLXAPI ZlxGetDriveCapacity(HZLXCAMERA camera, BYTE drive, DWORD *capacity) {
  ZLX_WRAP(_ZlxGetDriveCapacity(drive, capacity));
}
ZLXAPI ZlxGetDriveFree(HZLXCAMERA camera, BYTE drive, DWORD *freeSpace) {
  ZLX_WRAP(_ZlxGetDriveFree(drive, freeSpace));
}
ZLXAPI ZlxCreateDirectory(HZLXCAMERA camera, const char *parentPath, const char *name) {
  ZLX_WRAP(_ZlxCreateDirectory(parentPath, name));
}
ZLXAPI ZlxEraseDirectory(HZLXCAMERA camera, const char *path, DWORD options, char *stoppedAt, DWORD stoppedAtLength,
                         LONG *count) {
  ZLX_WRAP(_ZlxEraseDirectory(path, options, stoppedAt, stoppedAtLength, count));
}
ZLXAPI ZlxRenameDirectory(HZLXCAMERA camera, const char *path, const char *newName, DWORD options) {
  ZLX_WRAP(_ZlxRenameDirectory(path, newName, options));
}
ZLXAPI ZlxSetDirectoryAttribute(HZLXCAMERA camera, const char *path, DWORD attribute) {
  ZLX_WRAP(_ZlxSetDirectoryAttribute(path, attribute));
}
ZLXAPI ZlxCopyDirectory(HZLXCAMERA camera, const char *source, const char *destination, DWORD options) {
  ZLX_WRAP(_ZlxCopyDirectory(source, destination, options));
}
ZLXAPI ZlxMoveDirectory(HZLXCAMERA camera, const char *source, const char *destination, DWORD options) {
  ZLX_WRAP(_ZlxMoveDirectory(source, destination, options));
}
ZLXAPI ZlxGetDirectoryList(HZLXCAMERA camera, const char *path, DWORD selector, HGLOBAL *list, DWORD *count) {
  ZLX_WRAP(_ZlxGetDirectoryList(path, selector, list, count));
}
ZLXAPI ZlxGetDirectoryInfo(HZLXCAMERA camera, const char *path, tagZLXDIRINFO *info) {
  ZLX_WRAP(_ZlxGetDirectoryInfo(path, info));
}
ZLXAPI ZlxEraseFile(HZLXCAMERA camera, const char *path, DWORD options) { ZLX_WRAP(_ZlxEraseFile(path, options)); }
ZLXAPI ZlxRenameFile(HZLXCAMERA camera, const char *path, const char *newName, DWORD options) {
  ZLX_WRAP(_ZlxRenameFile(path, newName, options));
}
ZLXAPI ZlxSetFileAttribute(HZLXCAMERA camera, const char *path, DWORD attribute) {
  ZLX_WRAP(_ZlxSetFileAttribute(path, attribute));
}
ZLXAPI ZlxCopyFile(HZLXCAMERA camera, const char *source, const char *destination, DWORD options) {
  ZLX_WRAP(_ZlxCopyFile(source, destination, options));
}
ZLXAPI ZlxMoveFile(HZLXCAMERA camera, const char *source, const char *destination, DWORD options) {
  ZLX_WRAP(_ZlxMoveFile(source, destination, options));
}
ZLXAPI ZlxGetFileInfo(HZLXCAMERA camera, const char *path, tagZLXFILEINFO *info) {
  ZLX_WRAP(_ZlxGetFileInfo(path, info));
}
ZLXAPI ZlxReceiveFile(HZLXCAMERA camera, tagZLXDATAINFO *data, WORD mode, tagZLXPROGRESSPARAM *progress) {
  ZLX_WRAP(_ZlxReceiveFile(data, mode, progress));
}
ZLXAPI ZlxSendFile(HZLXCAMERA camera, tagZLXDATAINFO *data, WORD mode, tagZLXPROGRESSPARAM *progress,
                   DWORD writeOption) {
  ZLX_WRAP(_ZlxSendFile(data, mode, progress, writeOption));
}
ZLXAPI ZlxReceiveThumbnail(HZLXCAMERA camera, tagZLXDATAINFO *data, WORD mode, tagZLXPROGRESSPARAM *progress) {
  ZLX_WRAP(_ZlxReceiveThumbnail(data, mode, progress));
}
ZLXAPI ZlxQueryStampSize(HZLXCAMERA camera, tagZLXSTAMPSIZE *sizes) { ZLX_WRAP(_ZlxQueryStampSize(sizes)); }
ZLXAPI ZlxSendStamp(HZLXCAMERA camera, tagZLXSTAMP *stamp, WORD mode, tagZLXPROGRESSPARAM *progress) {
  ZLX_WRAP(_ZlxSendStamp(stamp, mode, progress));
}
ZLXAPI ZlxGetConfiguration(HZLXCAMERA camera, tagZLXCONFIGDATA *config, WORD mode, tagZLXPROGRESSPARAM *progress) {
  ZLX_WRAP(_ZlxGetConfiguration(config, mode, progress));
}
ZLXAPI ZlxSetConfiguration(HZLXCAMERA camera, tagZLXCONFIGDATA *config, WORD mode, tagZLXPROGRESSPARAM *progress) {
  ZLX_WRAP(_ZlxSetConfiguration(config, mode, progress));
}
