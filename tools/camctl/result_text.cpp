#include "result_text.h"

#include <cstdio>

#include "exit_codes.h"

ExitCode ExitCodeForResult(ZLXRESULT result) {
  switch (ZlxCode(result)) {
    case ZLX_OK:
      return kExitSuccess;
    case ZLX_E_CANCELLED:
    case ZLX_E_WAIT_DECLINED:
      return kExitCancelled;
    case ZLX_E_NOT_CONNECTED:
    case ZLX_E_CONNECT_FAILED:
    case ZLX_E_TIMEOUT:
      return kExitNoConnection;
    default:
      return kExitCameraError;
  }
}

std::string DescribeResult(ZLXRESULT result) {
  char text[64];
  if (ZlxDetail(result) != 0)
    std::snprintf(text, sizeof text, "0x%04X (detail 0x%04X)", ZlxCode(result), ZlxDetail(result));
  else
    std::snprintf(text, sizeof text, "0x%04X", ZlxCode(result));
  return std::string(text) + " (" + ZlxResultMeaning(result) + ")";
}

namespace {

// Connection failures get the same advice whatever the command was.
const char *ConnectionHint(ZLXRESULT result) {
  switch (ZlxCode(result)) {
    case ZLX_E_NOT_CONNECTED:
    case ZLX_E_CONNECT_FAILED:
      return "check the camera address and that the camera is on";
    default:
      return nullptr;
  }
}

}  // namespace

std::string ResultErrorLine(const std::string &action, ZLXRESULT result, const char *hint) {
  std::string line = "camctl: " + action + ": error " + DescribeResult(result);
  if (!hint) hint = ConnectionHint(result);
  if (hint) line += std::string("; ") + hint;
  return line;
}
