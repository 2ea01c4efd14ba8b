// camctl: the command-line client of the camera API.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "camera_session.h"
#include "command_line.h"
#include "commands.h"
#include "console_report.h"
#include "help_text.h"

namespace {

ExitCode RunOnCamera(CommandContext &context) {
  switch (context.invocation.command->id) {
    case CommandId::Info: return RunInfo(context);
    case CommandId::Drives: return RunDrives(context);
    case CommandId::Ls: return RunLs(context);
    case CommandId::Get: return RunGet(context);
    case CommandId::Put: return RunPut(context);
    case CommandId::Thumb: return RunThumb(context);
    case CommandId::Rm: return RunRm(context);
    case CommandId::Rmdir: return RunRmdir(context);
    case CommandId::Mkdir: return RunMkdir(context);
    case CommandId::Mv: return RunMv(context);
    case CommandId::Cp: return RunCp(context);
    case CommandId::Attr: return RunAttr(context);
    case CommandId::Format: return RunFormat(context);
    case CommandId::ConfigGet: return RunConfigGet(context);
    case CommandId::ConfigSet: return RunConfigSet(context);
    case CommandId::StampSizes: return RunStampSizes(context);
    case CommandId::Settings:
    case CommandId::Help: break;
  }
  return ReportError("command without a camera reached the camera", kExitUsage);
}

// The address from --address, else from the stored connection settings.
bool CameraAddress(const Invocation &invocation, std::string &address, ExitCode &failure) {
  if (!invocation.address.empty()) {
    address = invocation.address;
    return true;
  }
  char device[ZLX_TEXT_FIELD] = {};
  char stored[ZLX_TEXT_FIELD] = {};
  if (!ZlxSucceeded(ZlxGetConnectionInfo(device, stored)) || stored[0] == '\0') {
    failure = ReportError("no camera address: give --address or store one with 'camctl settings LAN ADDRESS'",
                          kExitNoConnection);
    return false;
  }
  address = stored;
  return true;
}

ExitCode Run(const std::vector<std::string> &args) {
  Invocation invocation;
  std::string error;
  if (!ParseCommandLine(args, invocation, error)) return ReportError(error, kExitUsage);
  if (invocation.help) {
    const std::string text = invocation.command ? CommandHelp(*invocation.command) : GeneralHelp();
    std::fputs(text.c_str(), stdout);
    return kExitSuccess;
  }
  if (invocation.command->id == CommandId::Settings) return RunSettings(invocation);

  std::string address;
  ExitCode failure = kExitSuccess;
  if (!CameraAddress(invocation, address, failure)) return failure;
  CameraSession session;
  const ZLXRESULT opened = session.Open(address);
  if (!ZlxSucceeded(opened)) return ReportCameraError("cannot open the camera at " + address, opened);
  CommandContext context{invocation, session.Handle(), session.Model(), address};
  return RunOnCamera(context);
}

}  // namespace

int main(int argc, char **argv) {
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception &e) {
    return ReportError(std::string("unexpected failure: ") + e.what(), kExitCameraError);
  }
}
