// The cut title dialog ("image titles" to the user): the cut titles of one
// list file in file order; the user picks one.
#pragma once

#include <string>
#include <vector>

#include "shared/winfx/dialog.h"

class CCutTitleDlg : public winfx::CDialog {
 public:
  explicit CCutTitleDlg(std::string listPath);

  // Valid after OK: the title as it stands in the file.
  const std::string &ChosenCutTitle() const { return chosenCutTitle_; }

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int notifyCode) override;

 private:
  std::string listPath_;
  std::string chosenCutTitle_;
  std::vector<std::string> cutTitles_;
};
