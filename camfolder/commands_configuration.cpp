// Saving the camera's configuration into a ".bak" file and restoring it.
#include "camera_commands.h"

#include <commdlg.h>

#include <span>
#include <vector>

#include "camapi.h"
#include "camera_connection.h"
#include "camera_error.h"
#include "camera_messages.h"
#include "command_rules.h"
#include "module_state.h"
#include "module_strings.h"
#include "resource_ids.h"
#include "win_raii.h"
#include "working_folder.h"

namespace camfolder {

namespace {

constexpr WORD kReadWithProgress = 3;
constexpr WORD kWriteWithoutDialog = 0;
constexpr uint32_t kFirstModel = 1;  // the K20
constexpr int kNotAConfigurationMessage = 20022;

// A file name named after the connected camera's model.
void DefaultFileName(char (&file)[MAX_PATH]) {
  const bool k20 = OpenedModel().model == kFirstModel;
  const std::string name =
      ModuleStringOr(k20 ? IDS_CONFIG_FILE_K20 : IDS_CONFIG_FILE_K10, k20 ? "LumoK20.bak" : "LumoK10.bak");
  lstrcpynA(file, name.c_str(), MAX_PATH);
}

// "設定情報ファイル (*.bak)|*.bak|" with zero bytes for the "|" (a double-byte
// character's second byte is never taken for one).
std::vector<char> Filter() {
  const std::string text = ModuleStringOr(IDS_CONFIG_FILTER, "(*.bak)|*.bak|");
  std::vector<char> filter(text.begin(), text.end());
  filter.push_back('\0');
  for (char *at = filter.data(); *at; at = CharNextA(at))
    if (*at == '|') *at = '\0';
  filter.push_back('\0');
  return filter;
}

OPENFILENAMEA FileDialog(HWND owner, const std::vector<char> &filter, char (&file)[MAX_PATH], DWORD flags) {
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.data();
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = "bak";
  dialog.Flags = flags;
  return dialog;
}

// Closing the dialog is the user's choice; a dialog that failed is a failure.
HRESULT NoFileChosen() { return CommDlgExtendedError() ? E_FAIL : S_FALSE; }

HRESULT Failure(HWND owner, ZLXRESULT result) {
  ShowCameraError(owner, result);
  CheckConnection(result);
  return E_FAIL;
}

}  // namespace

HRESULT SaveConfiguration(HWND owner) {
  HZLXCAMERA camera = nullptr;
  if (const HRESULT hr = GetCamera(camera); FAILED(hr)) return hr;
  char file[MAX_PATH];
  DefaultFileName(file);
  const std::vector<char> filter = Filter();
  OPENFILENAMEA dialog = FileDialog(owner, filter, file, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY);
  if (!GetSaveFileNameA(&dialog)) return NoFileChosen();

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
  const HRESULT hr = bytes ? ReplaceLocalFile(file, bytes.get(), configuration.length) : E_OUTOFMEMORY;
  if (FAILED(hr)) ShowCameraError(owner, kInternalErrorMessage);
  return hr;
}

HRESULT RestoreConfiguration(HWND owner) {
  HZLXCAMERA camera = nullptr;
  if (const HRESULT hr = GetCamera(camera); FAILED(hr)) return hr;
  char file[MAX_PATH];
  DefaultFileName(file);
  const std::vector<char> filter = Filter();
  const std::string title = ModuleStringOr(IDS_RESTORE_TITLE, "Lumo");
  OPENFILENAMEA dialog = FileDialog(owner, filter, file, OFN_PATHMUSTEXIST | OFN_HIDEREADONLY);
  dialog.lpstrTitle = title.c_str();
  if (!GetOpenFileNameA(&dialog)) return NoFileChosen();

  // The file is checked whole before anything goes to the camera.
  unique_hglobal block;
  DWORD size = 0;
  const HRESULT read = LoadLocalFile(file, block, size);
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
