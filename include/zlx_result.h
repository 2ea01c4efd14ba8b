// Result codes of every camera operation. A result is 32 bits: the low half is
// the code (0 = success), the high half carries the camera's detail word
// through unchanged. Callers test only the low half.
#pragma once

#include <cstdint>

typedef uint32_t ZLXRESULT;

enum ZlxResultCode : uint16_t {
  ZLX_OK = 0x0000,
  ZLX_E_NAME_EXISTS = 0x8F07,        // an item with the given name already exists
  ZLX_E_TOO_DEEP = 0x8F09,           // the folder structure is too deep
  ZLX_E_CANNOT_FORMAT = 0x8F11,      // this drive cannot be formatted
  ZLX_E_RESERVED_NAME = 0x8F45,      // a name the camera uses itself
  ZLX_E_CONNECTION_KIND = 0x8F48,    // unsupported connection kind
  ZLX_E_WAIT_DECLINED = 0x8F61,      // the user declined to wait for the camera
  ZLX_E_CONNECT_FAILED = 0x8F9B,     // the connection to the camera failed
  ZLX_E_LANGUAGE = 0x8FFD,           // unsupported language code
  ZLX_E_VERSION = 0x8FFE,            // unsupported version
  ZLX_E_NOT_INITIALIZED = 0x8FFF,    // the API (or the network library) is not initialised
  ZLX_E_NOT_FOUND = 0xFE07,          // the drive, folder or file does not exist
  ZLX_E_NOT_TRANSFERABLE = 0xFE08,   // a folder or file that cannot be transferred
  ZLX_E_DRIVE_FULL = 0xFE09,         // the drive is full
  ZLX_E_READ_ONLY = 0xFE0F,          // the drive is read-only
  ZLX_E_NOT_FORMATTED = 0xFE11,      // the drive is not formatted
  ZLX_E_DRIVE_ACCESS = 0xFE12,       // the drive cannot be accessed
  ZLX_E_REFUSED = 0xFE13,            // refused by the camera for the item
  ZLX_E_CANNOT_DELETE = 0xFE15,      // the item cannot be deleted
  ZLX_E_CAMERA_STATUS14 = 0xFE18,    // camera status 14
  ZLX_E_INVALID_NAME = 0xFF45,       // invalid name or path
  ZLX_E_NOT_SUPPORTED = 0xFF46,      // operation not supported
  ZLX_E_MODEL = 0xFF48,              // unsupported model
  ZLX_E_INVALID_PARAMETER = 0xFF4A,  // invalid parameter
  ZLX_E_NOT_CONNECTED = 0xFF4B,      // not connected
  ZLX_E_CAMERA_STATUS7 = 0xFF4F,     // camera status 7
  ZLX_E_CANCELLED = 0xFF61,          // cancelled in the progress dialog
  ZLX_E_TIMEOUT = 0xFF68,            // time-out waiting for the camera or the link host
  ZLX_E_TRANSFER_MODE = 0xFF83,      // invalid transfer mode
  ZLX_E_NO_MEMORY = 0xFF87,          // not enough memory or another resource
  ZLX_E_GENERAL = 0xFFFF,            // general failure
};

// The code in the low half of a result.
constexpr uint16_t ZlxCode(ZLXRESULT result) { return static_cast<uint16_t>(result & 0xFFFFu); }
// The camera's detail word in the high half.
constexpr uint16_t ZlxDetail(ZLXRESULT result) { return static_cast<uint16_t>(result >> 16); }
constexpr bool ZlxSucceeded(ZLXRESULT result) { return ZlxCode(result) == 0; }
constexpr ZLXRESULT ZlxMakeResult(uint16_t code, uint16_t detail = 0) {
  return (static_cast<uint32_t>(detail) << 16) | code;
}

// A short English description of a result code ("unknown result code" for others).
const char *ZlxResultMeaning(ZLXRESULT result);
