// Geometry and navigation of the thumbnail grid: cells of 106 x 102 pixels
// spread evenly over the client area, scrolled by whole rows, and the moves of
// the keyboard focus, the selection and the first visible entry.
#pragma once

#include <vector>

struct GridRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(const GridRect &, const GridRect &) = default;
};

// The three rectangles of one cell: the whole cell, the picture frame and
// the caption with the file name.
struct CellRects {
  GridRect cell, picture, caption;
};

constexpr int kCellWidth = 106;
constexpr int kCellHeight = 102;

struct GridLayout {
  int columns = 1, rows = 1;
  int horizontalGap = 0, verticalGap = 0;

  int RowPitch() const { return kCellHeight + verticalGap; }
  int CellCount() const { return rows * columns; }
  // Cell k of the visible cells, row by row.
  CellRects Cell(int k) const;
  // The visible cell that holds the point, or -1.
  int HitCell(int x, int y) const;
};

// As many whole cells as fit (at least one row and one column), the spare
// pixels shared out as gaps.
GridLayout LayoutGrid(int width, int height);

enum class GridScroll { LineUp, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, EndScroll, Top, Bottom };
enum class GridKey { PageUp, PageDown, End, Home, Left, Up, Right, Down };

// How the visible part moved: not at all, by one row either way (the window
// contents can be scrolled), or further (the grid is repainted).
enum class ViewMove { None, RowUp, RowDown, Jump };

struct ScrollBarSetup {
  bool enabled = false;
  int maximum = 100;
  int page = 0;
  int position = 0;
};

// First visible entry, anchor and focus of the grid over `count` entries.
class GridNavigator {
 public:
  GridNavigator() = default;
  GridNavigator(const GridLayout &layout, int count, int clientHeight);

  bool Scrolls() const { return scrolls_; }
  int FirstIndex() const { return firstIndex_; }
  int TopRow() const { return firstIndex_ / layout_.columns; }
  int LastTopRow() const { return scrolls_ ? scrollLimit_ / layout_.columns - 1 : 0; }
  int ScrollLimit() const { return scrollLimit_; }
  ScrollBarSetup ScrollBar() const;

  ViewMove Scroll(GridScroll code, int thumbPosition = 0);

  int Anchor() const { return anchor_; }
  int Focus() const { return focus_; }
  // Moves the focus (and without Shift the anchor); false for a grid
  // without entries. The caller then marks the range anchor..focus.
  bool Key(GridKey key, bool shift, ViewMove &view);
  // A click selected this entry alone.
  void Clicked(int index) { anchor_ = focus_ = index; }

 private:
  int FullScreen() const { return layout_.CellCount(); }
  // Entries one page moves: all visible rows but one (with one row: that row).
  int PageStep() const { return layout_.columns * (layout_.rows > 1 ? layout_.rows - 1 : 1); }
  // Whether the entry stands in the last visible row or below it (with one
  // row: below it); the grid keeps one row of look-ahead below the focus.
  bool AtOrBelowLastRow(int index) const;
  ViewMove SetFirstIndex(int index);

  GridLayout layout_;
  int count_ = 0;
  int clientHeight_ = 0;
  bool scrolls_ = false;
  int scrollLimit_ = 0;
  int firstIndex_ = 0;
  int anchor_ = -1, focus_ = -1;
};

// Marks exactly the entries from anchor to focus (either order, inclusive)
// as selected; returns the indices whose mark changed.
template <typename Entries>
std::vector<int> SelectRange(Entries &entries, int anchor, int focus) {
  const int low = anchor < focus ? anchor : focus, high = anchor < focus ? focus : anchor;
  std::vector<int> changed;
  for (int i = 0; i < int(entries.size()); ++i) {
    const int selected = (i >= low && i <= high) ? 1 : 0;
    if (entries[i].selected != selected) {
      entries[i].selected = selected;
      changed.push_back(i);
    }
  }
  return changed;
}
