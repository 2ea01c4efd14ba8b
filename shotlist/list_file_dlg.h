// The list file dialog: a folder tree on the left, the titles of the shot
// list files of the selected folder on the right; the user picks a file by
// its list title.
#pragma once

#include <string>
#include <vector>

#include "folder_tree_dlg.h"

struct ListFileEntry {
  std::string path;
  std::string title;
};

class CListFileDlg : public CFolderTreeDlg {
 public:
  // `startFolder` is selected on opening when it is not empty.
  explicit CListFileDlg(std::string startFolder);

  // Valid after OK.
  const std::string &ChosenPath() const { return chosenPath_; }
  const std::string &ChosenTitle() const { return chosenTitle_; }

 private:
  void OnFolderSelected(const std::string &folder) override;
  void OnOK() override;
  // Lists the ".lst" files of the folder (none for a folder outside the
  // file system) with their titles, the first row selected.
  void Scan(const std::string &folder);

  std::string chosenPath_;
  std::string chosenTitle_;
  std::vector<ListFileEntry> entries_;  // in the order of the list box rows
};
