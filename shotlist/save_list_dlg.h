// The save dialog: the user picks a folder, types a list title and an 8.3
// file name; OK checks drive, title and name, asks before overwriting and
// writes the list file with the host's cut titles.
#pragma once

#include <string>
#include <vector>

#include "folder_tree_dlg.h"

class CSaveListDlg : public CFolderTreeDlg {
 public:
  CSaveListDlg(std::string startFolder, std::vector<std::string> cutTitles);

  // Valid after OK: the full path of the written file.
  const std::string &SavedPath() const { return savedPath_; }

 private:
  void OnFolderSelected(const std::string &folder) override;
  void OnOK() override;
  // Whether the selected folder's drive can take a file; shows why not.
  bool DriveWritable();
  // Shows the message; the focus goes to the control.
  void Refuse(const std::string &text, HWND focus);

  std::vector<std::string> cutTitles_;
  std::string savedPath_;
  std::string selectedFolder_;  // empty when the selection is outside the file system
};
