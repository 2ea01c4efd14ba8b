// get, thumb and put: moving files and folder trees between the camera and
// the PC.
#include <cstdio>
#include <vector>

#include "camera_client.h"
#include "camera_path.h"
#include "commands.h"
#include "console_report.h"
#include "local_files.h"
#include "output_format.h"

namespace {

ExitCode ReceiveOne(CommandContext &context, const std::string &path, const std::string &local, bool thumbnail,
                    TransferView view) {
  std::vector<uint8_t> contents;
  const ZLXRESULT result = ReceiveContents(context.camera, path, thumbnail, view, contents);
  if (!ZlxSucceeded(result))
    return ReportCameraError(std::string("cannot receive ") + (thumbnail ? "the thumbnail of " : "") + path, result);
  if (thumbnail && contents.empty()) return ReportError(path + " has no thumbnail", kExitCameraError);
  std::string error;
  if (!WriteLocalFile(local, contents.data(), contents.size(), error)) return ReportError(error, kExitLocalError);
  std::printf("%s -> %s (%s)\n", path.c_str(), local.c_str(), FormatByteSize(contents.size()).c_str());
  return kExitSuccess;
}

// Receives a camera folder with everything below it into the local folder.
ExitCode ReceiveTree(CommandContext &context, const std::string &folder, const std::string &local) {
  std::vector<tagZLXFILEINFO> entries;
  const ZLXRESULT listed = ListFolder(context.camera, folder, kListAll, entries);
  if (!ZlxSucceeded(listed)) return ReportCameraError("cannot list " + folder, listed);
  std::string error;
  if (!CreateLocalFolder(local, error)) return ReportError(error, kExitLocalError);
  const uint32_t total = static_cast<uint32_t>(entries.size());
  for (uint32_t i = 0; i < total; ++i) {
    const std::string name = FieldText(entries[i].name, sizeof entries[i].name);
    const bool isFolder = entries[i].attributes & ZLX_ATTR_DIRECTORY;
    const std::string path = isFolder ? AsFolderPath(JoinCameraPath(folder, name)) : JoinCameraPath(folder, name);
    // A name that could leave the local folder is never used as a local path.
    if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\:") != std::string::npos ||
        static_cast<int>(path.size()) > ZLX_PATH_MAX)
      return ReportError("refusing the camera entry '" + name + "' in " + folder, kExitCameraError);
    const std::string target = JoinLocalPath(local, name);
    const ExitCode result = isFolder ? ReceiveTree(context, path, target)
                                     : ReceiveOne(context, path, target, false,
                                                  MakeTransferView(context.invocation.progress, i + 1, total));
    if (result != kExitSuccess) return result;
  }
  return kExitSuccess;
}

// "LUMO0001.JPG" -> "LUMO0001_thumb.jpg".
std::string ThumbnailName(const std::string &name) {
  const size_t dot = name.rfind('.');
  return (dot == std::string::npos ? name : name.substr(0, dot)) + "_thumb.jpg";
}

ExitCode SendOne(CommandContext &context, const std::string &local, const std::string &path, TransferView view) {
  std::vector<uint8_t> contents;
  std::string error;
  if (!ReadLocalFile(local, contents, error)) return ReportError(error, kExitLocalError);
  const bool replace = context.invocation.options & kOptionReplace;
  const ZLXRESULT result =
      SendContents(context.camera, path, contents, view, replace ? kWriteReplace : kWriteRefuseExisting);
  if (!ZlxSucceeded(result)) {
    const bool exists = ZlxCode(result) == ZLX_E_NAME_EXISTS && !replace;
    return ReportCameraError("cannot send " + local + " to " + path, result,
                             exists ? "use --replace to overwrite it" : nullptr);
  }
  std::printf("%s -> %s (%s)\n", local.c_str(), path.c_str(), FormatByteSize(contents.size()).c_str());
  return kExitSuccess;
}

// The camera path of a local item sent into folder; folders need room for
// their closing "/".
bool CameraChildPath(const std::string &folder, const std::string &name, bool isFolder, std::string &path) {
  path = JoinCameraPath(folder, name);
  if (isFolder) path += '/';
  if (static_cast<int>(path.size()) <= ZLX_PATH_MAX) return true;
  ReportError("camera path too long: " + path, kExitUsage);
  return false;
}

// Sends a local folder with everything below it as a new (or existing)
// folder of the camera.
ExitCode SendTree(CommandContext &context, const std::string &local, const std::string &parent) {
  const std::string name = LocalName(local);
  if (name.empty() || name == "." || name == "..")
    return ReportError("cannot tell the folder name of '" + local + "'; name the folder itself", kExitUsage);
  std::string folder;
  if (!CameraChildPath(parent, name, true, folder)) return kExitUsage;
  const ZLXRESULT created = ZlxCreateDirectory(context.camera, parent.c_str(), name.c_str());
  if (!ZlxSucceeded(created) && ZlxCode(created) != ZLX_E_NAME_EXISTS)
    return ReportCameraError("cannot create " + folder, created);
  std::vector<LocalEntry> entries;
  std::string error;
  if (!ListLocalFolder(local, entries, error)) return ReportError(error, kExitLocalError);
  uint32_t files = 0;
  for (const LocalEntry &entry : entries) files += entry.folder ? 0 : 1;
  uint32_t index = 0;
  for (const LocalEntry &entry : entries) {
    const std::string source = JoinLocalPath(local, entry.name);
    ExitCode result = kExitSuccess;
    if (entry.folder) {
      result = SendTree(context, source, folder);
    } else {
      std::string path;
      if (!CameraChildPath(folder, entry.name, false, path)) return kExitUsage;
      result = SendOne(context, source, path, MakeTransferView(context.invocation.progress, ++index, files));
    }
    if (result != kExitSuccess) return result;
  }
  return kExitSuccess;
}

}  // namespace

ExitCode RunGet(CommandContext &context) {
  const Invocation &invocation = context.invocation;
  std::string path;
  ExitCode failure = kExitSuccess;
  if (!CameraOperand(invocation.operands[0], path, failure)) return failure;
  const std::string local = invocation.operands.size() > 1 ? invocation.operands[1] : "";
  if (HasWildcard(path)) return ReportError("get takes one file or folder, not a pattern: " + path, kExitUsage);
  tagZLXFILEINFO entry{};
  const ZLXRESULT found = FindItem(context.camera, path, entry);
  if (!ZlxSucceeded(found)) return ReportCameraError("cannot receive " + path, found);
  if (entry.attributes & ZLX_ATTR_DIRECTORY) {
    const std::string name = IsDriveRoot(path) ? "drive" + std::to_string(DriveOf(path)) : LastName(path);
    return ReceiveTree(context, AsFolderPath(path), LocalTarget(local, name));
  }
  return ReceiveOne(context, path, LocalTarget(local, LastName(path)), false,
                    MakeTransferView(invocation.progress, 1, 1));
}

ExitCode RunThumb(CommandContext &context) {
  const Invocation &invocation = context.invocation;
  std::string path;
  ExitCode failure = kExitSuccess;
  if (!CameraOperand(invocation.operands[0], path, failure)) return failure;
  if (IsFolderPath(path)) return ReportError("thumb takes a picture, not a folder: " + path, kExitUsage);
  const std::string local = invocation.operands.size() > 1 ? invocation.operands[1] : "";
  return ReceiveOne(context, path, LocalTarget(local, ThumbnailName(LastName(path))), true,
                    MakeTransferView(invocation.progress, 1, 1));
}

ExitCode RunPut(CommandContext &context) {
  const Invocation &invocation = context.invocation;
  const std::string &local = invocation.operands[0];
  std::string folder;
  ExitCode failure = kExitSuccess;
  if (!CameraOperand(invocation.operands[1], folder, failure)) return failure;
  folder = AsFolderPath(folder);
  if (!LocalPathExists(local)) return ReportError("no such local file or folder: " + local, kExitLocalError);
  if (IsLocalFolder(local)) return SendTree(context, local, folder);
  std::string path;
  if (!CameraChildPath(folder, LocalName(local), false, path)) return kExitUsage;
  return SendOne(context, local, path, MakeTransferView(invocation.progress, 1, 1));
}
