// The camera device reached over TCP/IP: checks each call's arguments, packs
// them into one command for the link host of the camera (starting the link
// host when none runs) and turns variable-length results into global memory
// owned by the caller.
#pragma once

#include "logical_device.h"

#ifdef LANPORT_BUILDING
#define LANPORT_API __declspec(dllexport)
#else
#define LANPORT_API __declspec(dllimport)
#endif

class LANPORT_API CZl1SocketDevice : public CLogicalDevice {
 public:
  CZl1SocketDevice();
  CZl1SocketDevice(const CZl1SocketDevice &other);
  CZl1SocketDevice &operator=(const CZl1SocketDevice &other);
  ~CZl1SocketDevice() override;

  ZLXRESULT _ZlxInitialize(DWORD version, DWORD language) override;
  ZLXRESULT _ZlxOpenCamera(tagZLXMODEL *model, void *address, CSharedMemory *block,
                           tagZLXCONNECTIONINFO *info) override;
  ZLXRESULT _ZlxSetConnection(tagZLXCONNECTIONINFO *info, CSharedMemory *block) override;
  ZLXRESULT _ZlxGetConnection(void *address, tagZLXCONNECTIONDATA *data) override;
  ZLXRESULT _ZlxCloseCamera() override;
  ZLXRESULT _ZlxFormatDrive(BYTE drive) override;
  ZLXRESULT _ZlxGetDriveList(DWORD *count, HGLOBAL *list) override;
  ZLXRESULT _ZlxGetDriveInfo(BYTE drive, tagZLXDRIVEINFO *info) override;
  ZLXRESULT _ZlxGetDriveCapacity(BYTE drive, DWORD *capacity) override;
  ZLXRESULT _ZlxGetDriveFree(BYTE drive, DWORD *freeSpace) override;
  ZLXRESULT _ZlxCreateDirectory(const char *parentPath, const char *name) override;
  ZLXRESULT _ZlxEraseDirectory(const char *path, DWORD options, char *stoppedAt, DWORD stoppedAtLength,
                               LONG *count) override;
  ZLXRESULT _ZlxRenameDirectory(const char *path, const char *newName, DWORD options) override;
  ZLXRESULT _ZlxSetDirectoryAttribute(const char *path, DWORD attribute) override;
  ZLXRESULT _ZlxCopyDirectory(const char *source, const char *destination, DWORD options) override;
  ZLXRESULT _ZlxMoveDirectory(const char *source, const char *destination, DWORD options) override;
  ZLXRESULT _ZlxGetDirectoryList(const char *path, DWORD selector, HGLOBAL *list, DWORD *count) override;
  ZLXRESULT _ZlxGetDirectoryInfo(const char *path, tagZLXDIRINFO *info) override;
  ZLXRESULT _ZlxEraseFile(const char *path, DWORD options) override;
  ZLXRESULT _ZlxRenameFile(const char *path, const char *newName, DWORD options) override;
  ZLXRESULT _ZlxSetFileAttribute(const char *path, DWORD attribute) override;
  ZLXRESULT _ZlxCopyFile(const char *source, const char *destination, DWORD options) override;
  ZLXRESULT _ZlxMoveFile(const char *source, const char *destination, DWORD options) override;
  ZLXRESULT _ZlxGetFileInfo(const char *path, tagZLXFILEINFO *info) override;
  ZLXRESULT _ZlxReceiveFile(tagZLXDATAINFO *data, WORD mode, void *progress) override;
  ZLXRESULT _ZlxSendFile(tagZLXDATAINFO *data, WORD mode, void *progress, DWORD writeOption) override;
  ZLXRESULT _ZlxReceiveThumbnail(tagZLXDATAINFO *data, WORD mode, void *progress) override;
  ZLXRESULT _ZlxQueryStampSize(void *sizes) override;
  ZLXRESULT _ZlxSendStamp(void *stamp, WORD mode, void *progress) override;
  ZLXRESULT _ZlxGetConfiguration(void *config, WORD mode, void *progress) override;
  ZLXRESULT _ZlxSetConfiguration(void *config, WORD mode, void *progress) override;

 private:
  ZLXRESULT Send(uint32_t code, void *params, uint32_t size);
  ZLXRESULT SendPathCommand(uint32_t code, const char *path, const void *tail, size_t tailSize, size_t paramSize);
  ZLXRESULT CopyOrMove(uint32_t code, const char *source, const char *destination, DWORD options);
  ZLXRESULT Rename(uint32_t code, const char *path, const char *newName, DWORD options);
  ZLXRESULT SetAttribute(uint32_t code, const char *path, DWORD attribute);
  ZLXRESULT GetDriveValue(uint32_t code, BYTE drive, DWORD *value);
  ZLXRESULT Receive(uint32_t code, tagZLXDATAINFO *data, WORD mode, void *progress);
  ZLXRESULT SendArea(uint32_t code, HGLOBAL area, uint32_t size);

  char m_deviceKey[ZLX_TEXT_FIELD];
  DWORD m_commandTimeout;
};
