#include "save_list_dlg.h"

#include <cstdio>
#include <vector>

#include "list_file_name.h"
#include "list_file_replace.h"
#include "resource.h"
#include "toolkit_message.h"
#include "windows_text.h"

using winfx::LoadResourceString;

namespace {

// The text of entry `id` with its "%1" replaced by `value`.
std::string FormatFirst(UINT id, const std::string &value) {
  std::string text = LoadResourceString(id);
  if (const size_t at = text.find("%1"); at != std::string::npos) text.replace(at, 2, value);
  return text;
}

std::string FormatString(UINT id, const std::string &value) {
  const std::string format = LoadResourceString(id);
  std::vector<char> text(format.size() + value.size() + 1);
  std::snprintf(text.data(), text.size(), format.c_str(), value.c_str());
  return text.data();
}

}  // namespace

CSaveListDlg::CSaveListDlg(std::string startFolder, std::vector<std::string> cutTitles)
    : CFolderTreeDlg(IDD_SAVE_LIST, std::move(startFolder)), cutTitles_(std::move(cutTitles)) {}

void CSaveListDlg::OnFolderSelected(const std::string &folder) {
  SetItemText(IDC_FOLDER_EDIT, folder);
  selectedFolder_ = folder;
}

void CSaveListDlg::Refuse(const std::string &text, HWND focus) {
  winfx::AppMessageBox(GetSafeHwnd(), text, MB_OK | MB_ICONSTOP);
  GotoDlgCtrl(focus);
}

bool CSaveListDlg::DriveWritable() {
  const std::string root = selectedFolder_.substr(0, 3);
  switch (GetDriveTypeA(root.c_str())) {
    case DRIVE_CDROM:
      Refuse(LoadResourceString(IDS_NO_CDROM), TreeWindow());
      return false;
    case DRIVE_REMOVABLE: {
      DWORD serial = 0;
      if (!GetVolumeInformationA(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) {
        Refuse(LoadResourceString(IDS_NO_MEDIA), TreeWindow());
        return false;
      }
      return true;
    }
    default:
      return true;
  }
}

void CSaveListDlg::OnOK() {
  const std::string typedName = GetItemText(IDC_FILE_NAME_EDIT);
  const std::string title = GetItemText(IDC_TITLE_EDIT);
  HWND nameEdit = GetDlgItem(IDC_FILE_NAME_EDIT);
  if (selectedFolder_.empty()) return Refuse(LoadResourceString(IDS_NO_FOLDER), TreeWindow());
  if (!DriveWritable()) return;
  if (title.empty()) return Refuse(LoadResourceString(IDS_NO_TITLE), GetDlgItem(IDC_TITLE_EDIT));
  if (typedName.empty()) return Refuse(LoadResourceString(IDS_NO_FILE_NAME), nameEdit);

  const TextLocale locale = SystemTextLocale();
  const ListFileName name = MakeListFileName(selectedFolder_, typedName, locale);
  switch (name.check) {
    case ListNameCheck::ForbiddenCharacter:
      return Refuse(LoadResourceString(IDS_FORBIDDEN_CHARACTERS), nameEdit);
    case ListNameCheck::NotEightDotThree:
      return Refuse(FormatString(IDS_BAD_FILE_NAME, name.name), nameEdit);
    case ListNameCheck::NotAscii:
      return Refuse(LoadResourceString(IDS_ASCII_ONLY), nameEdit);
    case ListNameCheck::Accepted:
      break;
  }

  // The host receives the path in a buffer of MAX_PATH bytes: a longer one
  // is not written at all, so there is nothing to ask about overwriting.
  if (name.fullPath.size() >= MAX_PATH) return Refuse(LoadResourceString(IDS_SAVE_FAILED), TreeWindow());
  if (GetFileAttributesA(name.fullPath.c_str()) != INVALID_FILE_ATTRIBUTES &&
      winfx::AppMessageBox(GetSafeHwnd(), FormatFirst(IDS_OVERWRITE, name.fullPath), MB_YESNO) != IDYES) {
    GotoDlgCtrl(nameEdit);
    return;
  }
  // An earlier file of that name stays as it was until the new one is complete.
  if (!WriteListFileReplacing(name.fullPath, title, cutTitles_, locale)) {
    return Refuse(LoadResourceString(IDS_SAVE_FAILED), TreeWindow());
  }
  savedPath_ = name.fullPath;
  EndDialog(IDOK);
}
