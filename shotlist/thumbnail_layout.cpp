#include "thumbnail_layout.h"

#include <algorithm>

namespace {

ViewMove Combine(ViewMove first, ViewMove second) {
  if (first == ViewMove::None) return second;
  if (second == ViewMove::None) return first;
  return ViewMove::Jump;
}

}  // namespace

CellRects GridLayout::Cell(int k) const {
  const int x = (k % columns) * (kCellWidth + horizontalGap);
  const int y = (k / columns) * RowPitch();
  return {{x, y, x + kCellWidth, y + kCellHeight},
          {x + 3, y + 3, x + 103, y + 79},
          {x + 9, y + 81, x + 97, y + 99}};
}

int GridLayout::HitCell(int x, int y) const {
  for (int k = 0; k < CellCount(); ++k) {
    if (Cell(k).cell.Contains(x, y)) return k;
  }
  return -1;
}

GridLayout LayoutGrid(int width, int height) {
  GridLayout layout;
  // A window smaller than one cell still shows one, cut off.
  layout.columns = std::max(1, width / kCellWidth);
  layout.rows = std::max(1, height / kCellHeight);
  layout.horizontalGap = std::max(0, width - layout.columns * kCellWidth) / layout.columns;
  layout.verticalGap = std::max(0, height - layout.rows * kCellHeight) / layout.rows;
  return layout;
}

GridNavigator::GridNavigator(const GridLayout &layout, int count, int clientHeight)
    : layout_(layout), count_(std::max(0, count)), clientHeight_(clientHeight) {
  scrolls_ = layout_.columns * (layout_.rows - 1) < count_;
  if (scrolls_) {
    // The first index stays below this bound, so that the last row can
    // become the last visible one (with one row: the only one).
    const int totalRows = (count_ + layout_.columns - 1) / layout_.columns;
    scrollLimit_ = layout_.columns * (totalRows - layout_.rows + 1);
  }
}

ScrollBarSetup GridNavigator::ScrollBar() const {
  if (!scrolls_) return {};
  const int pitch = layout_.RowPitch();
  const int totalRows = (count_ + layout_.columns - 1) / layout_.columns;
  const int spare = layout_.rows == 1 ? std::max(0, clientHeight_ - pitch) : clientHeight_ % pitch;
  return {true, totalRows * pitch + spare, clientHeight_, pitch * TopRow()};
}

ViewMove GridNavigator::SetFirstIndex(int index) {
  if (index == firstIndex_) return ViewMove::None;
  const int step = index - firstIndex_;
  firstIndex_ = index;
  if (step == layout_.columns) return ViewMove::RowDown;
  if (step == -layout_.columns) return ViewMove::RowUp;
  return ViewMove::Jump;
}

ViewMove GridNavigator::Scroll(GridScroll code, int thumbPosition) {
  if (!scrolls_) return ViewMove::None;
  const int columns = layout_.columns;
  switch (code) {
    case GridScroll::LineUp:
      return firstIndex_ - columns >= 0 ? SetFirstIndex(firstIndex_ - columns) : ViewMove::None;
    case GridScroll::LineDown:
      return firstIndex_ + columns < scrollLimit_ ? SetFirstIndex(firstIndex_ + columns) : ViewMove::None;
    case GridScroll::PageUp:
      return SetFirstIndex(firstIndex_ - FullScreen() < 0 ? 0 : firstIndex_ - PageStep());
    case GridScroll::PageDown:
      return SetFirstIndex(firstIndex_ + FullScreen() < scrollLimit_ ? firstIndex_ + PageStep()
                                                                     : LastTopRow() * columns);
    case GridScroll::ThumbPosition: {
      const int pitch = layout_.RowPitch();
      const int row = (pitch / 2 + thumbPosition + 1) / pitch;
      return SetFirstIndex(std::clamp(row, 0, LastTopRow()) * columns);
    }
    case GridScroll::Top:
      return SetFirstIndex(0);
    case GridScroll::Bottom:
      return SetFirstIndex(LastTopRow() * columns);
    case GridScroll::ThumbTrack:
    case GridScroll::EndScroll:
      break;
  }
  return ViewMove::None;
}

bool GridNavigator::AtOrBelowLastRow(int index) const {
  const int row = index / layout_.columns;
  return layout_.rows > 1 ? row >= TopRow() + layout_.rows - 1 : row > TopRow();
}

bool GridNavigator::Key(GridKey key, bool shift, ViewMove &view) {
  view = ViewMove::None;
  if (count_ == 0) return false;
  if (anchor_ < 0 || focus_ < 0) {
    anchor_ = focus_ = 0;
    return true;
  }
  const int columns = layout_.columns;
  const bool homeOrEnd = key == GridKey::Home || key == GridKey::End;
  if (scrolls_ && !homeOrEnd && (focus_ < firstIndex_ || AtOrBelowLastRow(focus_))) {
    view = SetFirstIndex(std::min(focus_ / columns, LastTopRow()) * columns);
  }
  int focus = focus_;
  GridScroll scroll = GridScroll::EndScroll;  // no scrolling
  switch (key) {
    case GridKey::PageUp:
      focus = focus_ - FullScreen() < 0 ? 0 : focus_ - PageStep();
      scroll = GridScroll::PageUp;
      break;
    case GridKey::PageDown:
      focus = focus_ + FullScreen() >= count_ ? count_ - 1 : focus_ + PageStep();
      scroll = GridScroll::PageDown;
      break;
    case GridKey::End:
      focus = count_ - 1;
      scroll = GridScroll::Bottom;
      break;
    case GridKey::Home:
      focus = 0;
      scroll = GridScroll::Top;
      break;
    case GridKey::Left:
    case GridKey::Up:
      focus = std::max(0, focus_ - (key == GridKey::Left ? 1 : columns));
      if (focus < firstIndex_) scroll = GridScroll::LineUp;
      break;
    case GridKey::Right:
    case GridKey::Down:
      focus = std::min(count_ - 1, focus_ + (key == GridKey::Right ? 1 : columns));
      if (AtOrBelowLastRow(focus)) scroll = GridScroll::LineDown;
      break;
  }
  view = Combine(view, Scroll(scroll));
  focus_ = focus;
  if (!shift) anchor_ = focus;
  return true;
}
