// The image dialog: the images of one cut as a grid of thumbnails with
// their file names; the user picks one whose thumbnail could be made.
#pragma once

#include <string>
#include <vector>

#include "shared/winfx/dialog.h"
#include "thumbnail_grid.h"

class CImageSelectDlg : public winfx::CDialog {
 public:
  // The captions are text of `captionCodePage` (CP_ACP for the host's own).
  CImageSelectDlg(std::vector<std::string> imagePaths, std::string cutTitle, std::string countText,
                  UINT captionCodePage = CP_ACP);

  // Valid after OK: the position of the chosen image, from 0.
  int ChosenIndex() const { return chosenIndex_; }

  // The grid's keys go to the grid, whichever control has the focus.
  BOOL PreTranslateMessage(MSG *message) override;

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int notifyCode) override;

 private:
  void SetCaption(int id, const std::string &text);
  void OnOK();
  void FreePictures();

  int chosenIndex_ = -1;
  std::vector<std::string> imagePaths_;
  std::string cutTitle_;
  std::string countText_;
  UINT captionCodePage_;
  CThumbnailGrid grid_;
  std::vector<ThumbnailEntry> entries_;  // one per image path; the grid works on them
};
