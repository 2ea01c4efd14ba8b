// The dialogs that choose a folder in the shell's folder tree (the list file
// and the save dialog): the tree (IDC_FOLDER_TREE) opens on the start
// folder, a path typed into the path box (IDC_PATH_COMBO) is selected with
// IDC_SELECT_TYPED_PATH, and each folder selected in the tree is shown in
// the path box and handed to the dialog.
#pragma once

#include <string>

#include "shared/winfx/dialog.h"
#include "shell_folder_tree.h"

class CFolderTreeDlg : public winfx::CDialog {
 protected:
  // `startFolder` is selected on opening when it is not empty.
  CFolderTreeDlg(int templateId, std::string startFolder);

  BOOL OnInitDialog() override;
  void OnCommand(int id, int notifyCode) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // A folder selected in the tree: its path, empty outside the file system.
  virtual void OnFolderSelected(const std::string &folder) = 0;
  virtual void OnOK() = 0;

  HWND TreeWindow() const { return tree_.GetSafeHwnd(); }

 private:
  std::string startFolder_;
  CShellFolderTree tree_;
};
