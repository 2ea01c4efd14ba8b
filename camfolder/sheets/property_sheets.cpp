#include "sheets/property_sheets.h"

#include <new>
#include <optional>
#include <string>
#include <vector>

#include "camapi.h"
#include "core/camera_messages.h"
#include "core/camera_path.h"
#include "core/content_items.h"
#include "items/camera_connection.h"
#include "items/camera_error.h"
#include "items/module_strings.h"
#include "items/shell_item_list.h"
#include "sheets/property_pages.h"
#include "sheets/tree_count.h"

namespace camfolder {

namespace {

// A selected object as its last camera item names it.
struct Target {
  PathKind kind = kNoPath;
  std::string path;
  std::string name;  // the item's display name (a drive's label)
};

std::optional<Target> TargetOf(PCIDLIST_ABSOLUTE list) {
  if (!list) return std::nullopt;
  const auto split = SplitFolderList(ShellListBytes(list));
  if (!split) return std::nullopt;
  if (split->items.empty()) return Target{kRootPath, "", ""};
  const CameraItem &last = split->items.back();
  if (last.version != kCameraItemVersion) return std::nullopt;
  Target target{PathKindOf(last.path), last.path, last.name};
  if (target.kind == kRootPath || target.kind == kNoPath) return std::nullopt;
  return target;
}

// The drive number of a path: its first character, a digit.
std::optional<uint32_t> DriveNumberOf(const std::string &path) {
  if (path.empty() || path[0] < '0' || path[0] > '9') return std::nullopt;
  return static_cast<uint32_t>(path[0] - '0');
}

HRESULT CameraFailure(HWND owner, ZLXRESULT result) {
  ShowCameraError(owner, result);
  CheckConnection(result);
  return E_FAIL;
}

HRESULT GatherDrive(HWND owner, HZLXCAMERA camera, const Target &target, DrivePageRecord &record) {
  const auto drive = DriveNumberOf(target.path);
  if (!drive) return E_INVALIDARG;
  tagZLXDRIVEINFO info{};
  const ZLXRESULT result = ZlxGetDriveInfo(camera, static_cast<BYTE>(*drive), &info);
  if (!ZlxSucceeded(result)) return CameraFailure(owner, result);
  record.drive = *drive;
  record.label = DriveLabel(*drive).value_or(target.name);
  record.capacity = info.capacity;
  record.freeSpace = info.freeSpace;
  record.used = UsedSpace(info.capacity, info.freeSpace);
  return S_OK;
}

HRESULT GatherFile(HWND owner, HZLXCAMERA camera, const std::string &path, tagZLXFILEINFO &info) {
  const ZLXRESULT result = ZlxGetFileInfo(camera, path.c_str(), &info);
  return ZlxSucceeded(result) ? S_OK : CameraFailure(owner, result);
}

// The sheet's result as the command's.
HRESULT SheetResult(INT_PTR shown) { return shown < 0 ? E_FAIL : S_OK; }

HRESULT ShowDrives(HWND owner, HZLXCAMERA camera, const std::vector<Target> &targets, bool &changed) {
  std::vector<DrivePageRecord> drives(targets.size());
  for (size_t i = 0; i < targets.size(); ++i)
    if (const HRESULT hr = GatherDrive(owner, camera, targets[i], drives[i]); FAILED(hr)) return hr;
  const HRESULT hr = SheetResult(ShowDriveSheet(owner, drives));
  for (const DrivePageRecord &drive : drives) changed = changed || drive.changed;
  return hr;
}

HRESULT ShowFolder(HWND owner, HZLXCAMERA camera, const Target &target, bool &changed) {
  FolderPageRecord record;
  record.path = target.path;
  tagZLXDIRINFO info{};
  if (const HRESULT hr = CountFolderTree(owner, camera, target.path, info, record.totals); FAILED(hr)) return hr;
  record.time = ToCameraTime(info.time);
  record.attributes = info.attributes;
  const HRESULT hr = SheetResult(ShowFolderSheet(owner, record));
  changed = record.changed;
  return hr;
}

HRESULT ShowFile(HWND owner, HZLXCAMERA camera, const Target &target, bool &changed) {
  tagZLXFILEINFO info{};
  if (const HRESULT hr = GatherFile(owner, camera, target.path, info); FAILED(hr)) return hr;
  FilePageRecord record;
  record.path = target.path;
  record.size = info.size;
  record.time = ToCameraTime(info.time);
  record.attributes = info.attributes;
  const HRESULT hr = SheetResult(ShowFileSheet(owner, record));
  changed = record.changed;
  return hr;
}

HRESULT ShowSeveral(HWND owner, HZLXCAMERA camera, const std::vector<Target> &targets, bool &changed) {
  MultiItemRecord record;
  for (const Target &target : targets) {
    if (target.kind == kFolderPath) {
      tagZLXDIRINFO info{};
      TreeTotals tree;
      if (const HRESULT hr = CountFolderTree(owner, camera, target.path, info, tree); FAILED(hr)) return hr;
      record.totals += tree;
      record.totals.folders += 1;
      record.attributes.push_back(info.attributes);
    } else if (target.kind == kFilePath) {
      tagZLXFILEINFO info{};
      if (const HRESULT hr = GatherFile(owner, camera, target.path, info); FAILED(hr)) return hr;
      record.totals += TreeTotals{info.size, 1, 0};
      record.attributes.push_back(info.attributes);
    } else {
      return E_INVALIDARG;
    }
    record.paths.push_back(target.path);
  }
  const HRESULT hr = SheetResult(ShowMultiItemSheet(owner, record));
  changed = record.changed;
  return hr;
}

HRESULT ShowFor(HWND owner, const std::vector<Target> &targets, bool &changed) {
  const Target &first = targets[0];
  if (first.kind == kRootPath) {
    if (targets.size() > 1) return E_INVALIDARG;
    return SheetResult(ShowConnectionSheet(owner, changed));
  }
  for (const Target &target : targets)
    if (target.kind == kRootPath) return E_INVALIDARG;
  HZLXCAMERA camera = nullptr;
  if (FAILED(GetCamera(camera))) return E_FAIL;
  // With a drive first, every item is taken as the drive its path is on.
  if (first.kind == kDrivePath) return ShowDrives(owner, camera, targets, changed);
  if (targets.size() > 1) return ShowSeveral(owner, camera, targets, changed);
  if (first.kind == kFolderPath) return ShowFolder(owner, camera, first, changed);
  return ShowFile(owner, camera, first, changed);
}

}  // namespace

HRESULT ShowProperties(HWND owner, std::span<const PCIDLIST_ABSOLUTE> items, bool *changed) {
  if (changed) *changed = false;
  if (items.empty()) return E_INVALIDARG;
  try {
    std::vector<Target> targets;
    for (const PCIDLIST_ABSOLUTE list : items) {
      auto target = TargetOf(list);
      if (!target) return E_INVALIDARG;
      targets.push_back(std::move(*target));
    }
    bool wrote = false;
    const HRESULT hr = ShowFor(owner, targets, wrote);
    if (wrote && owner) {
      SetForegroundWindow(owner);
      PostMessageA(owner, WM_KEYDOWN, VK_F5, 1);
    }
    if (changed) *changed = wrote;
    return hr;
  } catch (const std::bad_alloc &) {
    ShowCameraError(owner, kOutOfMemoryMessage);
    return E_OUTOFMEMORY;
  }
}

}  // namespace camfolder
