// New folder, format and rename.
#include <vector>

#include "camapi.h"
#include "core/camera_path.h"
#include "core/command_rules.h"
#include "items/camera_connection.h"
#include "items/camera_contents.h"
#include "items/camera_error.h"
#include "items/module_strings.h"
#include "menus/camera_commands.h"
#include "resource_ids.h"

namespace camfolder {

namespace {

constexpr int kNoMoreFoldersMessage = 20020;
constexpr int kCannotFormatMessage = 20010;

HRESULT Failure(HWND owner, ZLXRESULT result, HRESULT hr) {
  ShowCameraError(owner, result);
  CheckConnection(result);
  return hr;
}

}  // namespace

void RefreshOwner(HWND owner) {
  if (!owner) return;
  SetForegroundWindow(owner);
  PostMessageA(owner, WM_KEYDOWN, VK_F5, 1);
}

HRESULT NewFolder(HWND owner, const std::string &folderPath) {
  const PathKind kind = PathKindOf(folderPath.c_str());
  if (kind != kDrivePath && kind != kFolderPath) return E_INVALIDARG;
  HZLXCAMERA camera = nullptr;
  if (const HRESULT hr = GetCamera(camera); FAILED(hr)) return hr;
  std::vector<tagZLXFILEINFO> entries;
  if (FAILED(ListDirectory(camera, folderPath.c_str(), 3, entries))) return E_FAIL;
  std::vector<std::string> names;
  for (const tagZLXFILEINFO &entry : entries) names.emplace_back(entry.name);
  const auto name = NewFolderName(names);
  if (!name) {
    ShowCameraError(owner, kNoMoreFoldersMessage);
    return E_FAIL;
  }
  const ZLXRESULT result = ZlxCreateDirectory(camera, folderPath.c_str(), name->c_str());
  if (!ZlxSucceeded(result)) return Failure(owner, result, E_FAIL);
  RefreshOwner(owner);
  return S_OK;
}

HRESULT FormatDrive(HWND owner, const CameraItem &drive) {
  if (PathKindOf(drive.path) != kDrivePath || drive.path[0] < '0' || drive.path[0] > '9') return E_INVALIDARG;
  const BYTE number = static_cast<BYTE>(drive.path[0] - '0');
  // The internal memory holds the camera's own files.
  if (number == 0) {
    ShowCameraError(owner, kCannotFormatMessage);
    return E_INVALIDARG;
  }
  const std::wstring label = DriveLabelText(number).value_or(WidenAnsi(drive.name));
  const std::wstring question =
      FormatModuleText(IDS_FORMAT_QUESTION, L"%s will be formatted. Everything on it will be erased.", {label});
  const std::wstring caption = FormatModuleText(IDS_FORMAT_CAPTION, L"Format - %s", {label});
  if (MessageBoxW(nullptr, question.c_str(), caption.c_str(),
                  MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2 | MB_TASKMODAL) != IDOK)
    return S_FALSE;
  HZLXCAMERA camera = nullptr;
  if (const HRESULT hr = GetCamera(camera); FAILED(hr)) return hr;
  const ZLXRESULT result = ZlxFormatDrive(camera, number);
  if (!ZlxSucceeded(result)) return Failure(owner, result, E_FAIL);
  RefreshOwner(owner);
  return S_OK;
}

HRESULT StartRename() {
  keybd_event(VK_F2, 0, 0, 0);
  keybd_event(VK_F2, 0, KEYEVENTF_KEYUP, 0);
  return S_OK;
}

}  // namespace camfolder
