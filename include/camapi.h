// The camera API exported by camapi.dll: 33 functions with the standard
// Windows calling convention, bound by name or by ordinal (the numbers below).
#pragma once

#include <windows.h>

#include "zlx_records.h"
#include "zlx_result.h"

#ifdef CAMAPI_BUILDING
#define ZLXAPI extern "C" __declspec(dllexport) ZLXRESULT WINAPI
#else
#define ZLXAPI extern "C" __declspec(dllimport) ZLXRESULT WINAPI
#endif

// Opaque API handle returned by ZlxOpenCamera.
typedef struct ZLXCAMERA_ *HZLXCAMERA;

// Transfer modes: 0 without dialog, 2 and 3 with the link host's progress dialog.
constexpr WORD ZLX_TRANSFER_NO_DIALOG = 0;
// The only connection kind, TCP/IP.
constexpr DWORD ZLX_CONNECTION_TCPIP = 1;

/*  1 */ ZLXAPI ZlxInitialize(DWORD version, DWORD language);
/*  2 */ ZLXAPI ZlxOpenCamera(HZLXCAMERA *camera, tagZLXMODEL *model, DWORD connectionKind,
                              DWORD reserved, tagZLXCANCELDLGPARAM *cancelDlgParam, const char *address);
/*  3 */ ZLXAPI ZlxCloseCamera(HZLXCAMERA camera);
/*  4 */ ZLXAPI ZlxFormatDrive(HZLXCAMERA camera, BYTE drive);
/*  5 */ ZLXAPI ZlxGetDriveList(HZLXCAMERA camera, DWORD *count, HGLOBAL *list);
/*  6 */ ZLXAPI ZlxGetDriveInfo(HZLXCAMERA camera, BYTE drive, tagZLXDRIVEINFO *info);
/*  7 */ ZLXAPI ZlxGetDriveCapacity(HZLXCAMERA camera, BYTE drive, DWORD *capacity);
/*  8 */ ZLXAPI ZlxGetDriveFree(HZLXCAMERA camera, BYTE drive, DWORD *freeSpace);
/*  9 */ ZLXAPI ZlxCreateDirectory(HZLXCAMERA camera, const char *parentPath, const char *name);
/* 10 */ ZLXAPI ZlxEraseDirectory(HZLXCAMERA camera, const char *path, DWORD options, char *stoppedAt,
                                  DWORD stoppedAtLength, LONG *count);
/* 11 */ ZLXAPI ZlxRenameDirectory(HZLXCAMERA camera, const char *path, const char *newName, DWORD options);
/* 12 */ ZLXAPI ZlxSetDirectoryAttribute(HZLXCAMERA camera, const char *path, DWORD attribute);
/* 13 */ ZLXAPI ZlxCopyDirectory(HZLXCAMERA camera, const char *source, const char *destination, DWORD options);
/* 14 */ ZLXAPI ZlxMoveDirectory(HZLXCAMERA camera, const char *source, const char *destination, DWORD options);
/* 15 */ ZLXAPI ZlxGetDirectoryList(HZLXCAMERA camera, const char *path, DWORD selector, HGLOBAL *list,
                                    DWORD *count);
/* 16 */ ZLXAPI ZlxGetDirectoryInfo(HZLXCAMERA camera, const char *path, tagZLXDIRINFO *info);
/* 17 */ ZLXAPI ZlxEraseFile(HZLXCAMERA camera, const char *path, DWORD options);
/* 18 */ ZLXAPI ZlxRenameFile(HZLXCAMERA camera, const char *path, const char *newName, DWORD options);
/* 19 */ ZLXAPI ZlxSetFileAttribute(HZLXCAMERA camera, const char *path, DWORD attribute);
/* 20 */ ZLXAPI ZlxCopyFile(HZLXCAMERA camera, const char *source, const char *destination, DWORD options);
/* 21 */ ZLXAPI ZlxMoveFile(HZLXCAMERA camera, const char *source, const char *destination, DWORD options);
/* 22 */ ZLXAPI ZlxGetFileInfo(HZLXCAMERA camera, const char *path, tagZLXFILEINFO *info);
/* 23 */ ZLXAPI ZlxReceiveFile(HZLXCAMERA camera, tagZLXDATAINFO *data, WORD mode, tagZLXPROGRESSPARAM *progress);
/* 24 */ ZLXAPI ZlxSendFile(HZLXCAMERA camera, tagZLXDATAINFO *data, WORD mode, tagZLXPROGRESSPARAM *progress,
                            DWORD writeOption);
/* 25 */ ZLXAPI ZlxReceiveThumbnail(HZLXCAMERA camera, tagZLXDATAINFO *data, WORD mode,
                                    tagZLXPROGRESSPARAM *progress);
/* 26 */ ZLXAPI ZlxQueryStampSize(HZLXCAMERA camera, tagZLXSTAMPSIZE *sizes);
/* 27 */ ZLXAPI ZlxSendStamp(HZLXCAMERA camera, tagZLXSTAMP *stamp, WORD mode, tagZLXPROGRESSPARAM *progress);
/* 28 */ ZLXAPI ZlxGetConfiguration(HZLXCAMERA camera, tagZLXCONFIGDATA *config, WORD mode,
                                    tagZLXPROGRESSPARAM *progress);
/* 29 */ ZLXAPI ZlxSetConfiguration(HZLXCAMERA camera, tagZLXCONFIGDATA *config, WORD mode,
                                    tagZLXPROGRESSPARAM *progress);
/* 30 */ ZLXAPI ZlxGetCancelDlgParam(HZLXCAMERA camera, tagZLXCANCELDLGPARAM *param);
/* 31 */ ZLXAPI ZlxSetCancelDlgParam(HZLXCAMERA camera, tagZLXCANCELDLGPARAM *param);
/* 32 */ ZLXAPI ZlxGetConnectionInfo(char *device, char *address);
/* 33 */ ZLXAPI ZlxSetConnectionInfo(const char *device, const char *address);
