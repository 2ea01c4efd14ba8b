// ls and attr: looking at entries and their attributes.
#include <cstdio>
#include <vector>

#include "attributes.h"
#include "camera_client.h"
#include "camera_path.h"
#include "commands.h"
#include "console_report.h"
#include "output_format.h"

namespace {

// Prints one folder's entries, then (recursive) each sub-folder under a
// "PATH:" heading, the way ls -R does.
ExitCode ListTree(CommandContext &context, const std::string &folder, bool recursive, bool heading) {
  std::vector<tagZLXFILEINFO> entries;
  const ZLXRESULT result = ListFolder(context.camera, folder, kListAll, entries);
  if (!ZlxSucceeded(result)) return ReportCameraError("cannot list " + folder, result);
  if (heading) std::printf("%s:\n", folder.c_str());
  for (const tagZLXFILEINFO &entry : entries) std::printf("%s\n", FormatListingLine(entry).c_str());
  if (!recursive) return kExitSuccess;
  for (const tagZLXFILEINFO &entry : entries) {
    if (!(entry.attributes & ZLX_ATTR_DIRECTORY)) continue;
    const std::string name = FieldText(entry.name, sizeof entry.name);
    const std::string child = AsFolderPath(JoinCameraPath(folder, name));
    if (name.empty() || static_cast<int>(child.size()) > ZLX_PATH_MAX) {
      std::fprintf(stderr, "camctl: skipping '%s': path too long\n", child.c_str());
      continue;
    }
    std::printf("\n");
    if (const ExitCode failed = ListTree(context, child, true, true)) return failed;
  }
  return kExitSuccess;
}

}  // namespace

ExitCode RunLs(CommandContext &context) {
  const Invocation &invocation = context.invocation;
  std::string path = "0:/";
  ExitCode failure = kExitSuccess;
  if (!invocation.operands.empty() && !CameraOperand(invocation.operands[0], path, failure)) return failure;
  const bool recursive = invocation.options & kOptionRecursive;
  if (IsFolderPath(path)) return ListTree(context, path, recursive, recursive);
  tagZLXFILEINFO entry{};
  const ZLXRESULT found = FindItem(context.camera, path, entry);
  if (!ZlxSucceeded(found)) return ReportCameraError("cannot list " + path, found);
  if (entry.attributes & ZLX_ATTR_DIRECTORY) return ListTree(context, AsFolderPath(path), recursive, recursive);
  std::printf("%s\n", FormatListingLine(entry).c_str());
  return kExitSuccess;
}

ExitCode RunAttr(CommandContext &context) {
  const Invocation &invocation = context.invocation;
  std::string path;
  ExitCode failure = kExitSuccess;
  if (!CameraOperand(invocation.operands[0], path, failure)) return failure;
  tagZLXFILEINFO entry{};
  const ZLXRESULT found = FindItem(context.camera, path, entry);
  if (!ZlxSucceeded(found)) return ReportCameraError("cannot read the attributes of " + path, found);
  const bool folder = entry.attributes & ZLX_ATTR_DIRECTORY;
  if (invocation.operands.size() == 1) {
    std::printf("%s  0x%02X  %s\n", FormatAttributes(entry.attributes).c_str(),
                static_cast<unsigned>(entry.attributes & 0xFF), path.c_str());
    return kExitSuccess;
  }
  uint32_t attributes = 0;
  std::string error;
  if (!ApplyAttributeText(invocation.operands[1], entry.attributes, attributes, error))
    return ReportError(error, kExitUsage);
  const std::string target = folder ? AsFolderPath(path) : path;
  const ZLXRESULT result = folder ? ZlxSetDirectoryAttribute(context.camera, target.c_str(), attributes)
                                  : ZlxSetFileAttribute(context.camera, target.c_str(), attributes);
  if (!ZlxSucceeded(result)) return ReportCameraError("cannot set the attributes of " + path, result);
  std::printf("%s  0x%02X  %s\n", FormatAttributes(attributes).c_str(), static_cast<unsigned>(attributes & 0xFF),
              path.c_str());
  return kExitSuccess;
}
