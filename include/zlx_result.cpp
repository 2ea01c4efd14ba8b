#include "zlx_result.h"

const char *ZlxResultMeaning(ZLXRESULT result) {
  switch (ZlxCode(result)) {
    case ZLX_OK: return "success";
    case ZLX_E_NAME_EXISTS: return "an item with the given name already exists";
    case ZLX_E_TOO_DEEP: return "the folder structure is too deep";
    case ZLX_E_CANNOT_FORMAT: return "this drive cannot be formatted";
    case ZLX_E_RESERVED_NAME: return "the name is one the camera uses itself";
    case ZLX_E_CONNECTION_KIND: return "unsupported connection kind";
    case ZLX_E_WAIT_DECLINED: return "declined to wait for another user of the camera";
    case ZLX_E_CONNECT_FAILED: return "the connection to the camera failed";
    case ZLX_E_LANGUAGE: return "unsupported language code";
    case ZLX_E_VERSION: return "unsupported version";
    case ZLX_E_NOT_INITIALIZED: return "the API is not initialised";
    case ZLX_E_NOT_FOUND: return "the drive, folder or file does not exist";
    case ZLX_E_NOT_TRANSFERABLE: return "a folder or file that cannot be transferred";
    case ZLX_E_DRIVE_FULL: return "the drive is full";
    case ZLX_E_READ_ONLY: return "the drive is read-only";
    case ZLX_E_NOT_FORMATTED: return "the drive is not formatted";
    case ZLX_E_DRIVE_ACCESS: return "the drive cannot be accessed";
    case ZLX_E_REFUSED: return "refused by the camera for this item";
    case ZLX_E_CANNOT_DELETE: return "the item cannot be deleted";
    case ZLX_E_CAMERA_STATUS14: return "camera status 14";
    case ZLX_E_INVALID_NAME: return "invalid name or path";
    case ZLX_E_NOT_SUPPORTED: return "operation not supported";
    case ZLX_E_MODEL: return "unsupported model";
    case ZLX_E_INVALID_PARAMETER: return "invalid parameter";
    case ZLX_E_NOT_CONNECTED: return "not connected to the camera";
    case ZLX_E_CAMERA_STATUS7: return "camera status 7";
    case ZLX_E_CANCELLED: return "the transfer was cancelled";
    case ZLX_E_TIMEOUT: return "time-out while waiting for the camera";
    case ZLX_E_TRANSFER_MODE: return "invalid transfer mode";
    case ZLX_E_NO_MEMORY: return "not enough memory or another resource";
    case ZLX_E_GENERAL: return "general failure";
  }
  return "unknown result code";
}
