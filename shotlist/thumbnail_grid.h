// The thumbnail grid of the image dialog: it takes over the dialog's list
// view control and draws every cell itself (a picture frame with the
// thumbnail and a caption with the file name), scrolls by rows, and selects
// by click and by keyboard with range extension.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "shared/win_raii.h"
#include "shared/winfx/window.h"
#include "thumbnail_layout.h"

struct ThumbnailEntry {
  int selected = 0;
  std::string path;
  unique_hglobal picture;       // packed DIB with a 40-byte header, or none
  bool thumbnailTried = false;  // whether making the thumbnail was tried

  // Makes the thumbnail once; whether the entry has a picture.
  bool EnsureThumbnail();
};

class CThumbnailGrid : public winfx::CWnd {
 public:
  // The entries stay the dialog's; the grid frees no picture of them.
  void SetEntries(std::vector<ThumbnailEntry> *entries) { entries_ = entries; }
  // Fits the cells into the client area and sets up the scroll bar.
  void Layout();

  static bool IsGridKey(UINT key);
  void OnKeyDown(UINT key);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnPaint();
  // `thumbPosition` is the position the message carries.
  void OnVScroll(UINT code, int thumbPosition);
  // The message carries the thumb position in 16 bits; a scroll range beyond
  // them (a list of some 1,700 pictures and more) would wrap it, so there the
  // scroll bar's 32-bit tracking position is taken.
  int ThumbPosition(int messagePosition) const;
  void OnLButtonDown(POINT point);
  // Marks the range and repaints the captions that changed at once.
  void SelectRange(int anchor, int focus);
  // Scrolls or repaints the window after the first index moved.
  void FollowView(ViewMove move);
  bool Visible(int index) const;
  void InvalidateCaption(int index);
  void DrawCell(HDC dc, const CellRects &rects, const ThumbnailEntry *entry);
  void DrawPicture(HDC dc, const GridRect &pictureRect, const ThumbnailEntry &entry);
  int Count() const { return entries_ ? int(entries_->size()) : 0; }

  std::vector<ThumbnailEntry> *entries_ = nullptr;
  GridLayout layout_;
  GridNavigator navigator_;
  bool loadPictures_ = true;  // cleared while a click repaints a caption at once
  unique_hfont font_;
  unique_hbitmap placeholder_;
};
