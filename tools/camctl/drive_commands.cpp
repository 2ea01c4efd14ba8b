// info, drives, format and stamp-sizes: the commands about the camera and
// its drives as a whole.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "camera_client.h"
#include "camera_path.h"
#include "commands.h"
#include "console_report.h"
#include "output_format.h"

ExitCode RunInfo(CommandContext &context) {
  std::printf("Address: %s\n", context.address.c_str());
  std::printf("Model: %u (%s)\n", static_cast<unsigned>(context.model.model), ModelName(context.model.model).c_str());
  std::printf("Protocol version: %u\n", static_cast<unsigned>(context.model.protocolVersion));
  return kExitSuccess;
}

ExitCode RunDrives(CommandContext &context) {
  std::vector<tagZLXDRIVELISTENTRY> drives;
  const ZLXRESULT listed = GetDriveList(context.camera, drives);
  if (!ZlxSucceeded(listed)) return ReportCameraError("cannot list the drives", listed);
  std::printf("%s\n", DriveTableHeader().c_str());
  for (const tagZLXDRIVELISTENTRY &drive : drives) {
    tagZLXDRIVEINFO info{};
    // An absent drive, or one the camera cannot measure, shows no sizes.
    const bool measured = drive.present && drive.number < kDriveCount &&
                          ZlxSucceeded(ZlxGetDriveInfo(context.camera, static_cast<BYTE>(drive.number), &info));
    std::printf("%s\n", FormatDriveLine(drive, measured ? &info : nullptr).c_str());
  }
  return kExitSuccess;
}

ExitCode RunFormat(CommandContext &context) {
  const std::string &operand = context.invocation.operands[0];
  if (operand.size() != 1 || operand[0] < '0' || operand[0] >= '0' + kDriveCount)
    return ReportError("bad drive '" + operand + "': expected 1 or 2", kExitUsage);
  const BYTE drive = static_cast<BYTE>(operand[0] - '0');
  if (!context.invocation.yes &&
      !AskYesNo("Format drive " + operand + "? Everything on it will be erased.", stdin, stderr))
    return ReportError("format of drive " + operand + " not confirmed; nothing was changed", kExitCancelled);
  const ZLXRESULT result = ZlxFormatDrive(context.camera, drive);
  if (!ZlxSucceeded(result)) return ReportCameraError("cannot format drive " + operand, result);
  std::printf("Drive %s formatted.\n", operand.c_str());
  return kExitSuccess;
}

ExitCode RunStampSizes(CommandContext &context) {
  tagZLXSTAMPSIZE sizes{};
  const ZLXRESULT result = ZlxQueryStampSize(context.camera, &sizes);
  if (!ZlxSucceeded(result)) return ReportCameraError("cannot read the stamp sizes", result);
  for (int i = 0; i < ZLX_STAMP_PARTS; ++i) std::printf("%s\n", FormatStampSizeLine(i, sizes.entries[i]).c_str());
  return kExitSuccess;
}
