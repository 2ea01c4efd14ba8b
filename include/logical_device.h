// The abstract camera device. The API calls a device only through these
// virtual operations, in this slot order; every default answers 0xFF46 and
// leaves the outputs untouched. Both camapi.dll and lanport.dll export it.
#pragma once

#include <windows.h>

#include "zlx_records.h"
#include "zlx_result.h"

class CSharedMemory;

#if defined(CAMAPI_BUILDING) || defined(LANPORT_BUILDING)
#define LOGICAL_DEVICE_API __declspec(dllexport)
#else
#define LOGICAL_DEVICE_API __declspec(dllimport)
#endif

class LOGICAL_DEVICE_API CLogicalDevice {
 public:
  CLogicalDevice();
  CLogicalDevice(const CLogicalDevice &other);
  CLogicalDevice &operator=(const CLogicalDevice &other);
  // Destroys the owned connection-information block object, which closes this
  // process's handles of the block.
  virtual ~CLogicalDevice();

  CSharedMemory *GetConnectionInfo();

  virtual ZLXRESULT _ZlxInitialize(DWORD version, DWORD language);
  virtual ZLXRESULT _ZlxOpenCamera(tagZLXMODEL *model, void *address, CSharedMemory *block,
                                   tagZLXCONNECTIONINFO *info);
  virtual ZLXRESULT _ZlxSetConnection(tagZLXCONNECTIONINFO *info, CSharedMemory *block);
  virtual ZLXRESULT _ZlxGetConnection(void *address, tagZLXCONNECTIONDATA *data);
  virtual ZLXRESULT _ZlxCloseCamera();
  virtual ZLXRESULT _ZlxFormatDrive(BYTE drive);
  virtual ZLXRESULT _ZlxGetDriveList(DWORD *count, HGLOBAL *list);
  virtual ZLXRESULT _ZlxGetDriveInfo(BYTE drive, tagZLXDRIVEINFO *info);
  virtual ZLXRESULT _ZlxGetDriveCapacity(BYTE drive, DWORD *capacity);
  virtual ZLXRESULT _ZlxGetDriveFree(BYTE drive, DWORD *freeSpace);
  virtual ZLXRESULT _ZlxCreateDirectory(const char *parentPath, const char *name);
  virtual ZLXRESULT _ZlxEraseDirectory(const char *path, DWORD options, char *stoppedAt, DWORD stoppedAtLength,
                                       LONG *count);
  virtual ZLXRESULT _ZlxRenameDirectory(const char *path, const char *newName, DWORD options);
  virtual ZLXRESULT _ZlxSetDirectoryAttribute(const char *path, DWORD attribute);
  virtual ZLXRESULT _ZlxCopyDirectory(const char *source, const char *destination, DWORD options);
  virtual ZLXRESULT _ZlxMoveDirectory(const char *source, const char *destination, DWORD options);
  virtual ZLXRESULT _ZlxGetDirectoryList(const char *path, DWORD selector, HGLOBAL *list, DWORD *count);
  virtual ZLXRESULT _ZlxGetDirectoryInfo(const char *path, tagZLXDIRINFO *info);
  virtual ZLXRESULT _ZlxEraseFile(const char *path, DWORD options);
  virtual ZLXRESULT _ZlxRenameFile(const char *path, const char *newName, DWORD options);
  virtual ZLXRESULT _ZlxSetFileAttribute(const char *path, DWORD attribute);
  virtual ZLXRESULT _ZlxCopyFile(const char *source, const char *destination, DWORD options);
  virtual ZLXRESULT _ZlxMoveFile(const char *source, const char *destination, DWORD options);
  virtual ZLXRESULT _ZlxGetFileInfo(const char *path, tagZLXFILEINFO *info);
  virtual ZLXRESULT _ZlxReceiveFile(tagZLXDATAINFO *data, WORD mode, void *progress);
  virtual ZLXRESULT _ZlxSendFile(tagZLXDATAINFO *data, WORD mode, void *progress, DWORD writeOption);
  virtual ZLXRESULT _ZlxReceiveThumbnail(tagZLXDATAINFO *data, WORD mode, void *progress);
  virtual ZLXRESULT _ZlxQueryStampSize(void *sizes);
  virtual ZLXRESULT _ZlxSendStamp(void *stamp, WORD mode, void *progress);
  virtual ZLXRESULT _ZlxGetConfiguration(void *config, WORD mode, void *progress);
  virtual ZLXRESULT _ZlxSetConfiguration(void *config, WORD mode, void *progress);

 protected:
  CSharedMemory *m_connectionInfo;
};
