#include "list_file_dlg.h"

#include "list_file.h"
#include "list_file_name.h"
#include "resource.h"
#include "toolkit_message.h"
#include "windows_text.h"

CListFileDlg::CListFileDlg(std::string startFolder) : CDialog(IDD_LIST_FILE), startFolder_(std::move(startFolder)) {}

BOOL CListFileDlg::OnInitDialog() {
  tree_.Attach(GetSafeHwnd(), IDC_FOLDER_TREE);
  tree_.SetSystemImageList();
  tree_.Fill();
  if (!startFolder_.empty()) tree_.SelectPath(startFolder_);
  return TRUE;
}

void CListFileDlg::OnCommand(int id, int notifyCode) {
  switch (id) {
    case IDOK:
      OnOK();
      break;
    case IDC_SELECT_TYPED_PATH:
      tree_.SelectPath(GetItemText(IDC_PATH_COMBO));
      break;
    default:
      CDialog::OnCommand(id, notifyCode);
  }
}

bool CListFileDlg::OnMessage(UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_NOTIFY) return false;
  bool selectionChanged = false;
  std::string folder;
  if (!tree_.OnNotify(*reinterpret_cast<const NMHDR *>(lParam), selectionChanged, folder)) return false;
  if (selectionChanged) {
    SetItemText(IDC_PATH_COMBO, folder);
    Scan(folder);
  }
  return true;
}

void CListFileDlg::Scan(const std::string &folder) {
  entries_.clear();
  const TextLocale locale = SystemTextLocale();
  if (!folder.empty()) {
    const std::string pattern =
        folder + (EndsWithBackslash(folder, locale) ? "" : "\\") + winfx::LoadResourceString(IDS_LIST_PATTERN);
    const std::string folderPart(DriveAndFolder(pattern, locale));
    WIN32_FIND_DATAA found{};
    unique_find search(FindFirstFileA(pattern.c_str(), &found));
    for (bool more = bool(search); more; more = FindNextFileA(search.get(), &found) != FALSE) {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      const std::string path = folderPart + found.cFileName;
      entries_.push_back({path, ReadListTitle(path, SystemListContext())});
    }
  }
  HWND list = GetDlgItem(IDC_TITLE_LIST);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const ListFileEntry &entry : entries_) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.title.c_str()));
  }
  SendMessageA(list, LB_SETCURSEL, 0, 0);
}

void CListFileDlg::OnOK() {
  const LRESULT row = SendMessageA(GetDlgItem(IDC_TITLE_LIST), LB_GETCURSEL, 0, 0);
  if (row == LB_ERR || size_t(row) >= entries_.size()) {
    ShowToolkitMessage(GetSafeHwnd(), IDS_NO_LIST_SELECTED);
    GotoDlgCtrl(tree_.GetSafeHwnd());
    return;
  }
  chosenPath_ = entries_[size_t(row)].path;
  chosenTitle_ = entries_[size_t(row)].title;
  EndDialog(IDOK);
}
