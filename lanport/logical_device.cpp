#include "logical_device.h"

#include "shared_memory.h"

CLogicalDevice::CLogicalDevice() : m_connectionInfo(nullptr) {}
CLogicalDevice::CLogicalDevice(const CLogicalDevice &other) : m_connectionInfo(other.m_connectionInfo) {}
CLogicalDevice &CLogicalDevice::operator=(const CLogicalDevice &other) {
  m_connectionInfo = other.m_connectionInfo;
  return *this;
}
CLogicalDevice::~CLogicalDevice() { delete m_connectionInfo; }

CSharedMemory *CLogicalDevice::GetConnectionInfo() { return m_connectionInfo; }

ZLXRESULT CLogicalDevice::_ZlxInitialize(DWORD, DWORD) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxOpenCamera(tagZLXMODEL *, void *, CSharedMemory *, tagZLXCONNECTIONINFO *) {
  return ZLX_E_NOT_SUPPORTED;
}
ZLXRESULT CLogicalDevice::_ZlxSetConnection(tagZLXCONNECTIONINFO *, CSharedMemory *) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxGetConnection(void *, tagZLXCONNECTIONDATA *) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxCloseCamera() { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxFormatDrive(BYTE) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxGetDriveList(DWORD *, HGLOBAL *) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxGetDriveInfo(BYTE, tagZLXDRIVEINFO *) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxGetDriveCapacity(BYTE, DWORD *) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxGetDriveFree(BYTE, DWORD *) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxCreateDirectory(const char *, const char *) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxEraseDirectory(const char *, DWORD, char *, DWORD, LONG *) {
  return ZLX_E_NOT_SUPPORTED;
}
ZLXRESULT CLogicalDevice::_ZlxRenameDirectory(const char *, const char *, DWORD) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxSetDirectoryAttribute(const char *, DWORD) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxCopyDirectory(const char *, const char *, DWORD) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxMoveDirectory(const char *, const char *, DWORD) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxGetDirectoryList(const char *, DWORD, HGLOBAL *, DWORD *) {
  return ZLX_E_NOT_SUPPORTED;
}
ZLXRESULT CLogicalDevice::_ZlxGetDirectoryInfo(const char *, tagZLXDIRINFO *) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxEraseFile(const char *, DWORD) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxRenameFile(const char *, const char *, DWORD) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxSetFileAttribute(const char *, DWORD) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxCopyFile(const char *, const char *, DWORD) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxMoveFile(const char *, const char *, DWORD) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxGetFileInfo(const char *, tagZLXFILEINFO *) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxReceiveFile(tagZLXDATAINFO *, WORD, void *) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxSendFile(tagZLXDATAINFO *, WORD, void *, DWORD) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxReceiveThumbnail(tagZLXDATAINFO *, WORD, void *) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxQueryStampSize(void *) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxSendStamp(void *, WORD, void *) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxGetConfiguration(void *, WORD, void *) { return ZLX_E_NOT_SUPPORTED; }
ZLXRESULT CLogicalDevice::_ZlxSetConfiguration(void *, WORD, void *) { return ZLX_E_NOT_SUPPORTED; }
