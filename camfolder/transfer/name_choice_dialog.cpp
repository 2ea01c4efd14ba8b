#include "transfer/name_choice_dialog.h"

#include "core/camera_path.h"
#include "export_guard.h"
#include "items/camera_error.h"
#include "items/module_state.h"
#include "resource_ids.h"
#include "zlx_result.h"

namespace camfolder {

namespace {

struct NameChoice {
  std::string localPath;
  std::string cameraFolder;
  std::string shortName;  // empty when the short name is no camera name either
  std::string name;
};

std::string NamePart(const std::string &path) { return path.substr(path.find_last_of("\\/") + 1); }

std::string ShortName(const std::string &path) {
  char shortPath[MAX_PATH];
  const DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  const std::string name = NamePart(shortPath);
  return IsValidFileName(name) ? name : std::string();
}

std::string ItemText(HWND dialog, int id) {
  char text[MAX_PATH] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

INT_PTR HandleNameChoice(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *choice = reinterpret_cast<NameChoice *>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      choice = reinterpret_cast<NameChoice *>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      SetDlgItemTextA(dialog, IDC_NAME_SOURCE, choice->localPath.c_str());
      SetDlgItemTextA(dialog, IDC_NAME_TARGET, choice->cameraFolder.c_str());
      SetDlgItemTextA(dialog, IDC_NAME_EDIT, NamePart(choice->localPath).c_str());
      EnableWindow(GetDlgItem(dialog, IDC_NAME_AUTO), !choice->shortName.empty());
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          const std::string typed = ItemText(dialog, IDC_NAME_EDIT);
          if (!IsValidFileName(typed)) {
            ShowCameraError(dialog, ZLX_E_INVALID_NAME);
            return TRUE;
          }
          choice->name = typed;
          EndDialog(dialog, IDOK);
          return TRUE;
        }
        case IDC_NAME_AUTO:
          choice->name = choice->shortName;
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDNO:
        case IDCANCEL:
          EndDialog(dialog, LOWORD(wParam));
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

// No exception leaves for the window manager's frames.
INT_PTR CALLBACK NameChoiceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return RunExport<INT_PTR>(FALSE, [&] { return HandleNameChoice(dialog, message, wParam, lParam); });
}

}  // namespace

int ChooseCameraName(HWND owner, const std::string &localPath, const std::string &cameraFolder, std::string &name) {
  NameChoice choice{localPath, cameraFolder, ShortName(localPath), {}};
  const INT_PTR result = DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_NAME_CHOICE), owner, NameChoiceProc,
                                         reinterpret_cast<LPARAM>(&choice));
  if (result == IDOK) name = choice.name;
  return result == IDOK || result == IDNO ? static_cast<int>(result) : IDCANCEL;
}

}  // namespace camfolder
