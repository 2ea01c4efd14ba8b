// Camera path operands shared by the commands.
#include "camera_path.h"
#include "commands.h"
#include "console_report.h"

bool CameraOperand(const std::string &text, std::string &path, ExitCode &failure) {
  std::string error;
  if (NormalizeCameraPath(text, path, error)) return true;
  failure = ReportError(error, kExitUsage);
  return false;
}
