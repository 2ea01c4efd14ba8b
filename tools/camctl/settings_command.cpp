// settings: the stored connection settings that commands use without
// --address.
#include <cstdio>

#include "camapi.h"
#include "commands.h"
#include "connection_choice.h"
#include "console_report.h"

ExitCode RunSettings(const Invocation &invocation) {
  if (invocation.operands.empty()) {
    char device[ZLX_TEXT_FIELD] = {};
    char address[ZLX_TEXT_FIELD] = {};
    const ZLXRESULT result = ZlxGetConnectionInfo(device, address);
    if (!ZlxSucceeded(result))
      return ReportCameraError("no connection settings stored", result,
                               "store them with 'camctl settings LAN ADDRESS'");
    std::printf("Device: %s\nAddress: %s\n", device, address);
    return kExitSuccess;
  }
  ConnectionChoice choice;
  std::string error;
  if (!ParseConnectionChoice(invocation.operands, choice, error)) return ReportError(error, kExitUsage);
  const ZLXRESULT result = ZlxSetConnectionInfo(choice.device.c_str(), choice.address.c_str());
  if (!ZlxSucceeded(result)) return ReportCameraError("cannot store the connection settings", result);
  std::printf("Device: %s\nAddress: %s\n", choice.device.c_str(), choice.address.c_str());
  return kExitSuccess;
}
