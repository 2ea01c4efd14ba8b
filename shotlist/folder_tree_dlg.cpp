#include "folder_tree_dlg.h"

#include "resource.h"

CFolderTreeDlg::CFolderTreeDlg(int templateId, std::string startFolder)
    : CDialog(templateId), startFolder_(std::move(startFolder)) {}

BOOL CFolderTreeDlg::OnInitDialog() {
  tree_.Attach(GetSafeHwnd(), IDC_FOLDER_TREE);
  tree_.SetSystemImageList();
  tree_.Fill();
  if (!startFolder_.empty()) tree_.SelectPath(startFolder_);
  return TRUE;
}

void CFolderTreeDlg::OnCommand(int id, int notifyCode) {
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

bool CFolderTreeDlg::OnMessage(UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_NOTIFY) return false;
  bool selectionChanged = false;
  std::string folder;
  if (!tree_.OnNotify(*reinterpret_cast<const NMHDR *>(lParam), selectionChanged, folder)) return false;
  if (selectionChanged) {
    SetItemText(IDC_PATH_COMBO, folder);
    OnFolderSelected(folder);
  }
  return true;
}
