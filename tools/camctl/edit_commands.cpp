// rm, rmdir, mkdir, mv and cp: changing the camera's folders and files.
#include <cstdio>
#include <vector>

#include "camera_client.h"
#include "camera_path.h"
#include "commands.h"
#include "console_report.h"
#include "output_format.h"

namespace {

// Erase-file modes: the plain erase, and one that also erases read-only files.
constexpr DWORD kEraseNormal = 1;
constexpr DWORD kEraseForce = 2;
// Rename, copy and move flags passed to the camera.
constexpr DWORD kNoFlags = 0;

// Finds the item and tells whether it is a folder.
ExitCode Inspect(CommandContext &context, const std::string &path, const std::string &action, bool &folder) {
  tagZLXFILEINFO entry{};
  const ZLXRESULT found = FindItem(context.camera, path, entry);
  if (!ZlxSucceeded(found)) return ReportCameraError(action + " " + path, found);
  folder = entry.attributes & ZLX_ATTR_DIRECTORY;
  return kExitSuccess;
}

// The two operands of mv and cp; the source must exist and not be a drive root.
ExitCode SourceAndDestination(CommandContext &context, const std::string &verb, std::string &source,
                              std::string &destination, bool &folder) {
  ExitCode failure = kExitSuccess;
  if (!CameraOperand(context.invocation.operands[0], source, failure) ||
      !CameraOperand(context.invocation.operands[1], destination, failure))
    return failure;
  if (IsDriveRoot(source)) return ReportError("cannot " + verb + " a drive root", kExitUsage);
  return Inspect(context, source, "cannot " + verb, folder);
}

}  // namespace

ExitCode RunRm(CommandContext &context) {
  const DWORD mode = (context.invocation.options & kOptionForce) ? kEraseForce : kEraseNormal;
  for (const std::string &operand : context.invocation.operands) {
    std::string path;
    ExitCode failure = kExitSuccess;
    if (!CameraOperand(operand, path, failure)) return failure;
    // A folder path would make the camera erase the files inside it.
    if (IsFolderPath(path)) return ReportError(path + " is a folder; use rmdir", kExitUsage);
    if (!HasWildcard(path)) {
      bool folder = false;
      if (const ExitCode failed = Inspect(context, path, "cannot erase", folder)) return failed;
      if (folder) return ReportError(path + " is a folder; use rmdir", kExitUsage);
    }
    const ZLXRESULT result = ZlxEraseFile(context.camera, path.c_str(), mode);
    if (!ZlxSucceeded(result)) return ReportCameraError("cannot erase " + path, result);
    std::printf("erased %s\n", path.c_str());
  }
  return kExitSuccess;
}

ExitCode RunRmdir(CommandContext &context) {
  for (const std::string &operand : context.invocation.operands) {
    std::string path;
    ExitCode failure = kExitSuccess;
    if (!CameraOperand(operand, path, failure)) return failure;
    path = AsFolderPath(path);
    if (IsDriveRoot(path)) return ReportError("cannot erase a drive root; use format", kExitUsage);
    char stoppedAt[128] = {};
    LONG count = 0;
    const ZLXRESULT result =
        ZlxEraseDirectory(context.camera, path.c_str(), 0, stoppedAt, sizeof stoppedAt, &count);
    if (!ZlxSucceeded(result)) {
      const std::string where = FieldText(stoppedAt, sizeof stoppedAt);
      return ReportCameraError("cannot erase " + path + (where.empty() ? "" : " (stopped at " + where + ")"), result);
    }
    std::printf("erased %s\n", path.c_str());
  }
  return kExitSuccess;
}

ExitCode RunMkdir(CommandContext &context) {
  for (const std::string &operand : context.invocation.operands) {
    std::string path;
    ExitCode failure = kExitSuccess;
    if (!CameraOperand(operand, path, failure)) return failure;
    if (IsDriveRoot(path)) return ReportError("a drive root already exists: " + path, kExitUsage);
    path = AsFolderPath(path);
    const std::string parent = ParentFolder(path);
    const std::string name = LastName(path);
    const ZLXRESULT result = ZlxCreateDirectory(context.camera, parent.c_str(), name.c_str());
    if (!ZlxSucceeded(result)) return ReportCameraError("cannot create " + path, result);
    std::printf("created %s\n", path.c_str());
  }
  return kExitSuccess;
}

ExitCode RunMv(CommandContext &context) {
  std::string source;
  std::string destination;
  bool folder = false;
  if (const ExitCode failed = SourceAndDestination(context, "move", source, destination, folder)) return failed;
  if (folder) source = AsFolderPath(source);
  ZLXRESULT result = ZLX_OK;
  // A new name in the same folder is a rename; anything else a move.
  if (!IsFolderPath(destination) && ParentFolder(destination) == ParentFolder(source)) {
    const std::string name = LastName(destination);
    result = folder ? ZlxRenameDirectory(context.camera, source.c_str(), name.c_str(), kNoFlags)
                    : ZlxRenameFile(context.camera, source.c_str(), name.c_str(), kNoFlags);
  } else if (folder) {
    destination = AsFolderPath(destination);
    result = ZlxMoveDirectory(context.camera, source.c_str(), destination.c_str(), kNoFlags);
  } else {
    result = ZlxMoveFile(context.camera, source.c_str(), destination.c_str(), kNoFlags);
  }
  if (!ZlxSucceeded(result)) return ReportCameraError("cannot move " + source + " to " + destination, result);
  std::printf("%s -> %s\n", source.c_str(), destination.c_str());
  return kExitSuccess;
}

ExitCode RunCp(CommandContext &context) {
  std::string source;
  std::string destination;
  bool folder = false;
  if (const ExitCode failed = SourceAndDestination(context, "copy", source, destination, folder)) return failed;
  ZLXRESULT result = ZLX_OK;
  if (folder) {
    source = AsFolderPath(source);
    destination = AsFolderPath(destination);
    result = ZlxCopyDirectory(context.camera, source.c_str(), destination.c_str(), kNoFlags);
  } else {
    result = ZlxCopyFile(context.camera, source.c_str(), destination.c_str(), kNoFlags);
  }
  if (!ZlxSucceeded(result)) return ReportCameraError("cannot copy " + source + " to " + destination, result);
  std::printf("%s -> %s\n", source.c_str(), destination.c_str());
  return kExitSuccess;
}
