#include "list_file_dlg.h"

#include "list_file.h"
#include "list_file_name.h"
#include "resource.h"
#include "toolkit_message.h"
#include "windows_text.h"

CListFileDlg::CListFileDlg(std::string startFolder) : CFolderTreeDlg(IDD_LIST_FILE, std::move(startFolder)) {}

void CListFileDlg::OnFolderSelected(const std::string &folder) { Scan(folder); }

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
    GotoDlgCtrl(TreeWindow());
    return;
  }
  chosenPath_ = entries_[size_t(row)].path;
  chosenTitle_ = entries_[size_t(row)].title;
  EndDialog(IDOK);
}
