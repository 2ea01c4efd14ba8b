#include "cut_title_dlg.h"

#include "list_file.h"
#include "resource.h"
#include "windows_text.h"

CCutTitleDlg::CCutTitleDlg(std::string listPath) : CDialog(IDD_CUT_TITLE), listPath_(std::move(listPath)) {}

BOOL CCutTitleDlg::OnInitDialog() {
  cutTitles_ = ReadCutTitles(listPath_, SystemListContext());
  HWND list = GetDlgItem(IDC_TITLE_LIST);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string &title : cutTitles_) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
  }
  SendMessageA(list, LB_SETCURSEL, 0, 0);
  return TRUE;
}

void CCutTitleDlg::OnCommand(int id, int notifyCode) {
  if (id != IDOK) return CDialog::OnCommand(id, notifyCode);
  const LRESULT row = SendMessageA(GetDlgItem(IDC_TITLE_LIST), LB_GETCURSEL, 0, 0);
  if (row == LB_ERR || size_t(row) >= cutTitles_.size()) return;  // an empty list: nothing to choose
  chosenCutTitle_ = cutTitles_[size_t(row)];
  EndDialog(IDOK);
}
