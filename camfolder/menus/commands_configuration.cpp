// Saving the camera's configuration into a ".bak" file and restoring it.
#include "menus/camera_commands.h"

#include <commdlg.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "camapi.h"
#include "core/camera_messages.h"
#include "core/command_rules.h"
#include "items/camera_connection.h"
#include "items/camera_error.h"
#include "items/module_state.h"
#include "items/module_strings.h"
#include "items/working_folder.h"
#include "resource_ids.h"
#include "win_raii.h"

namespace camfolder {

namespace {

constexpr WORD kReadWithProgress = 3;
constexpr WORD kWriteWithoutDialog = 0;
constexpr uint32_t kFirstModel = 1;  // the K20
constexpr int kNotAConfigurationMessage = 20022;

// A file name named after the connected camera's model.
void DefaultFileName(wchar_t (&file)[MAX_PATH]) {
  const bool k20 = OpenedModel().model == kFirstModel;
  const std::wstring name =
      ModuleTextOr(k20 ? IDS_CONFIG_FILE_K20 : IDS_CONFIG_FILE_K10, k20 ? L"LumoK20.bak" : L"LumoK10.bak");
  lstrcpynW(file, name.c_str(), MAX_PATH);
}

// "設定情報ファイル (*.bak)|*.bak|" with zeros for the "|".
std::vector<wchar_t> Filter() {
  std::wstring text = ModuleTextOr(IDS_CONFIG_FILTER, L"(*.bak)|*.bak|");
  for (wchar_t &c : text)
    if (c == L'|') c = L'\0';
  std::vector<wchar_t> filter(text.begin(), text.end());
  filter.insert(filter.end(), {L'\0', L'\0'});
  return filter;
}

// The dialogs are shown with the UTF-16 calls, so that their title and
// filter read as stored on any system.
OPENFILENAMEW FileDialog(HWND owner, const std::vector<wchar_t> &filter, wchar_t (&file)[MAX_PATH], DWORD flags) {
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.data();
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = L"bak";
  dialog.Flags = flags;
  return dialog;
}

// Closing the dialog is the user's choice; a dialog that failed is a failure.
HRESULT NoFileChosen() { return CommDlgExtendedError() ? E_FAIL : S_FALSE; }

// The chosen path for the local file calls, which take the ANSI code page; a
// path with a character that page cannot carry is refused with the message
// of a name that cannot be used, never written under a mangled name.
std::optional<std::string> ChosenPath(HWND owner, const wchar_t *file) {
  auto path = ExactAnsi(file);
  if (!path) ShowCameraError(owner, ZLX_E_INVALID_NAME);
  return path;
}

HRESULT Failure(HWND owner, ZLXRESULT result) {
  ShowCameraError(owner, result);
  CheckConnection(result);
  return E_FAIL;
}

}  // namespace

HRESULT SaveConfiguration(HWND owner) {
  HZLXCAMERA camera = nullptr;
  if (const HRESULT hr = GetCamera(camera); FAILED(hr)) return hr;
  wchar_t file[MAX_PATH];
  DefaultFileName(file);
  const std::vector<wchar_t> filter = Filter();
  OPENFILENAMEW dialog = FileDialog(owner, filter, file, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY);
  if (!GetSaveFileNameW(&dialog)) return NoFileChosen();
  const auto path = ChosenPath(owner, file);
  if (!path) return E_FAIL;

  tagZLXCONFIGDATA configuration{};
  tagZLXPROGRESSPARAM progress{};
  const ZLXRESULT result = ZlxGetConfiguration(camera, &configuration, kReadWithProgress, &progress);
  const unique_hglobal block(static_cast<HGLOBAL>(configuration.data));
  if (!ZlxSucceeded(result)) return Failure(owner, result);
  if (!block || GlobalSize(block.get()) < configuration.length) {
    ShowCameraError(owner, kInternalErrorMessage);
    return E_FAIL;
  }
  const global_lock bytes(block.get());
  // Written beside the old backup first: a backup cut short never takes the
  // place of a whole one, and never stands under the chosen name.
  const HRESULT hr = bytes ? ReplaceLocalFile(path->c_str(), bytes.get(), configuration.length) : E_OUTOFMEMORY;
  if (FAILED(hr)) ShowCameraError(owner, kInternalErrorMessage);
  return hr;
}

HRESULT RestoreConfiguration(HWND owner) {
  HZLXCAMERA camera = nullptr;
  if (const HRESULT hr = GetCamera(camera); FAILED(hr)) return hr;
  wchar_t file[MAX_PATH];
  DefaultFileName(file);
  const std::vector<wchar_t> filter = Filter();
  const std::wstring title = ModuleTextOr(IDS_RESTORE_TITLE, L"Lumo");
  OPENFILENAMEW dialog = FileDialog(owner, filter, file, OFN_PATHMUSTEXIST | OFN_HIDEREADONLY);
  dialog.lpstrTitle = title.c_str();
  if (!GetOpenFileNameW(&dialog)) return NoFileChosen();
  const auto path = ChosenPath(owner, file);
  if (!path) return E_FAIL;

  // The file is checked whole before anything goes to the camera.
  unique_hglobal block;
  DWORD size = 0;
  const HRESULT read = LoadLocalFile(path->c_str(), block, size);
  if (read == E_OUTOFMEMORY) {
    ShowCameraError(owner, kOutOfMemoryMessage);
    return read;
  }
  bool valid = false;
  if (SUCCEEDED(read) && block) {
    const global_lock bytes(block.get());
    valid = bytes && IsCameraConfiguration(std::span(static_cast<const uint8_t *>(bytes.get()), size),
                                           ModuleStringOr(IDS_MODEL_K20, "K20"), ModuleStringOr(IDS_MODEL_K10, "K10"));
  }
  if (!valid) {
    ShowCameraError(owner, kNotAConfigurationMessage);
    return E_FAIL;
  }
  tagZLXCONFIGDATA configuration{block.get(), size};
  tagZLXPROGRESSPARAM progress{};
  const ZLXRESULT result = ZlxSetConfiguration(camera, &configuration, kWriteWithoutDialog, &progress);
  if (!ZlxSucceeded(result)) return Failure(owner, result);
  return S_OK;
}

}  // namespace camfolder
