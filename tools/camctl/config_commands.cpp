// config-get and config-set: backing up and restoring the camera's
// configuration as an opaque file.
#include <cstdio>
#include <vector>

#include "camera_client.h"
#include "commands.h"
#include "console_report.h"
#include "local_files.h"
#include "output_format.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// Writes the bytes unchanged to standard output (binary mode on Windows).
bool WriteStandardOutput(const std::vector<uint8_t> &contents) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  return std::fwrite(contents.data(), 1, contents.size(), stdout) == contents.size() && std::fflush(stdout) == 0;
}

}  // namespace

ExitCode RunConfigGet(CommandContext &context) {
  const std::string &file = context.invocation.operands[0];
  std::vector<uint8_t> contents;
  const ZLXRESULT result =
      ReceiveConfiguration(context.camera, MakeTransferView(context.invocation.progress, 1, 1), contents);
  if (!ZlxSucceeded(result)) return ReportCameraError("cannot receive the configuration", result);
  if (file == "-") {
    if (!WriteStandardOutput(contents)) return ReportError("cannot write to standard output", kExitLocalError);
    return kExitSuccess;
  }
  std::string error;
  if (!WriteLocalFile(file, contents.data(), contents.size(), error)) return ReportError(error, kExitLocalError);
  std::printf("configuration -> %s (%s)\n", file.c_str(), FormatByteSize(contents.size()).c_str());
  return kExitSuccess;
}

ExitCode RunConfigSet(CommandContext &context) {
  const std::string &file = context.invocation.operands[0];
  std::vector<uint8_t> contents;
  std::string error;
  if (!ReadLocalFile(file, contents, error)) return ReportError(error, kExitLocalError);
  if (contents.empty()) return ReportError("'" + file + "' is empty: not a saved configuration", kExitLocalError);
  const ZLXRESULT result =
      SendConfiguration(context.camera, contents, MakeTransferView(context.invocation.progress, 1, 1));
  if (!ZlxSucceeded(result)) return ReportCameraError("cannot send the configuration", result);
  std::printf("%s -> configuration (%s)\n", file.c_str(), FormatByteSize(contents.size()).c_str());
  return kExitSuccess;
}
