#include "thumbnail_layout.h"

#include <gtest/gtest.h>

namespace {

struct Mark {
  int selected = 0;
};

// Presses the keys in order; returns the last view move.
ViewMove Press(GridNavigator &grid, std::initializer_list<GridKey> keys, bool shift = false) {
  ViewMove view = ViewMove::None;
  for (GridKey key : keys) EXPECT_TRUE(grid.Key(key, shift, view));
  return view;
}

TEST(ThumbnailLayout, SharesTheSparePixelsOutAsGaps) {
  const GridLayout grid = LayoutGrid(351, 344);
  EXPECT_EQ(grid.columns, 3);
  EXPECT_EQ(grid.rows, 3);
  EXPECT_EQ(grid.horizontalGap, 11);  // (351 - 318) / 3
  EXPECT_EQ(grid.verticalGap, 12);    // (344 - 306) / 3
  EXPECT_EQ(grid.RowPitch(), 114);
  const CellRects cell = grid.Cell(4);  // second row, second column
  EXPECT_EQ(cell.cell, (GridRect{117, 114, 223, 216}));
  EXPECT_EQ(cell.picture, (GridRect{120, 117, 220, 193}));
  EXPECT_EQ(cell.caption, (GridRect{126, 195, 214, 213}));
  EXPECT_EQ(grid.HitCell(120, 120), 4);
  EXPECT_EQ(grid.HitCell(110, 20), -1);  // in the gap between two cells
  EXPECT_EQ(grid.HitCell(300, 340), -1);  // below the last row

  const GridLayout exact = LayoutGrid(318, 306);
  EXPECT_EQ(exact.CellCount(), 9);
  EXPECT_EQ(exact.horizontalGap + exact.verticalGap, 0);
  const GridLayout tiny = LayoutGrid(50, 40);  // smaller than a cell: one cell, cut off
  EXPECT_EQ(tiny.CellCount(), 1);
  EXPECT_EQ(tiny.RowPitch(), kCellHeight);
  const GridLayout oneRow = LayoutGrid(212, 150);
  EXPECT_EQ(oneRow.rows, 1);
  EXPECT_EQ(oneRow.RowPitch(), 150);  // the one row takes the whole height
}

TEST(ThumbnailLayout, ScrollsOnlyWhenEntriesReachTheLastVisibleRow) {
  const GridLayout layout = LayoutGrid(351, 344);
  EXPECT_FALSE(GridNavigator(layout, 0, 344).Scrolls());
  EXPECT_FALSE(GridNavigator(layout, 6, 344).Scrolls());
  EXPECT_FALSE(GridNavigator(layout, 6, 344).ScrollBar().enabled);
  GridNavigator seven(layout, 7, 344);  // a third row is started: it scrolls, but cannot move
  EXPECT_TRUE(seven.Scrolls());
  EXPECT_EQ(seven.LastTopRow(), 0);
  EXPECT_EQ(seven.Scroll(GridScroll::LineDown), ViewMove::None);
  EXPECT_EQ(seven.Scroll(GridScroll::Bottom), ViewMove::None);

  ViewMove view;
  GridNavigator none(layout, 0, 344);
  EXPECT_FALSE(none.Key(GridKey::Down, false, view));
  EXPECT_EQ(none.Scroll(GridScroll::PageDown), ViewMove::None);
}

TEST(ThumbnailLayout, ScrollCodesMoveTheFirstIndexByRows) {
  GridNavigator grid(LayoutGrid(351, 344), 20, 344);  // 7 rows of 3, 3 visible
  EXPECT_EQ(grid.ScrollLimit(), 15);
  EXPECT_EQ(grid.LastTopRow(), 4);
  ScrollBarSetup bar = grid.ScrollBar();
  EXPECT_TRUE(bar.enabled);
  EXPECT_EQ(bar.maximum, 7 * 114 + 2);  // 344 = 3 * 114 + 2
  EXPECT_EQ(bar.page, 344);

  EXPECT_EQ(grid.Scroll(GridScroll::LineUp), ViewMove::None);
  EXPECT_EQ(grid.Scroll(GridScroll::LineDown), ViewMove::RowDown);
  EXPECT_EQ(grid.FirstIndex(), 3);
  EXPECT_EQ(grid.ScrollBar().position, 114);
  EXPECT_EQ(grid.Scroll(GridScroll::PageDown), ViewMove::Jump);  // two rows: one stays in view
  EXPECT_EQ(grid.FirstIndex(), 9);
  EXPECT_EQ(grid.Scroll(GridScroll::PageDown), ViewMove::RowDown);  // no full screen left: the last top row
  EXPECT_EQ(grid.FirstIndex(), 12);
  EXPECT_EQ(grid.Scroll(GridScroll::LineDown), ViewMove::None);
  EXPECT_EQ(grid.Scroll(GridScroll::PageDown), ViewMove::None);
  EXPECT_EQ(grid.Scroll(GridScroll::PageUp), ViewMove::Jump);
  EXPECT_EQ(grid.FirstIndex(), 6);
  EXPECT_EQ(grid.Scroll(GridScroll::PageUp), ViewMove::Jump);  // a full screen up would pass the top
  EXPECT_EQ(grid.FirstIndex(), 0);

  EXPECT_EQ(grid.Scroll(GridScroll::ThumbPosition, 55), ViewMove::None);  // rounds to the nearer row
  EXPECT_EQ(grid.Scroll(GridScroll::ThumbPosition, 56), ViewMove::RowDown);
  EXPECT_EQ(grid.Scroll(GridScroll::ThumbTrack, 400), ViewMove::None);
  EXPECT_EQ(grid.Scroll(GridScroll::ThumbPosition, 5000), ViewMove::Jump);
  EXPECT_EQ(grid.FirstIndex(), 12);
  EXPECT_EQ(grid.Scroll(GridScroll::Top), ViewMove::Jump);
  EXPECT_EQ(grid.Scroll(GridScroll::Bottom), ViewMove::Jump);
  EXPECT_EQ(grid.FirstIndex(), 12);
}

TEST(ThumbnailLayout, OneRowAndOneColumnReachTheLastEntries) {
  GridNavigator row(LayoutGrid(318, 150), 7, 150);  // 3 columns, one row
  EXPECT_TRUE(row.Scrolls());
  EXPECT_EQ(row.LastTopRow(), 2);  // the last row, holding entry 6, can be shown
  EXPECT_EQ(row.ScrollBar().maximum, 3 * 150);
  EXPECT_EQ(row.Scroll(GridScroll::PageDown), ViewMove::RowDown);  // one row is a full screen
  EXPECT_EQ(row.Scroll(GridScroll::PageDown), ViewMove::RowDown);
  EXPECT_EQ(row.FirstIndex(), 6);
  EXPECT_EQ(row.Scroll(GridScroll::LineDown), ViewMove::None);
  row.Scroll(GridScroll::Top);
  row.Clicked(2);
  ViewMove view;
  ASSERT_TRUE(row.Key(GridKey::Right, false, view));  // leaving the only row scrolls it
  EXPECT_EQ(view, ViewMove::RowDown);
  EXPECT_EQ(row.FirstIndex(), 3);

  GridNavigator column(LayoutGrid(106, 306), 5, 306);  // one column, three rows
  EXPECT_EQ(column.LastTopRow(), 2);
  column.Clicked(0);
  EXPECT_EQ(Press(column, {GridKey::Down}), ViewMove::None);
  EXPECT_EQ(Press(column, {GridKey::Down}), ViewMove::RowDown);  // into the last visible row
  EXPECT_EQ(Press(column, {GridKey::Down, GridKey::Down}), ViewMove::None);
  EXPECT_EQ(column.Focus(), 4);
  EXPECT_EQ(column.FirstIndex(), 2);
  EXPECT_EQ(Press(column, {GridKey::Down}), ViewMove::None);  // stays on the last entry
  EXPECT_EQ(column.Focus(), 4);
}

TEST(ThumbnailLayout, KeysMoveFocusAndAnchorAsTheTableSays) {
  GridNavigator grid(LayoutGrid(351, 344), 20, 344);
  ViewMove view;
  ASSERT_TRUE(grid.Key(GridKey::End, false, view));  // the first key only sets the focus on entry 0
  EXPECT_EQ(grid.Focus(), 0);
  EXPECT_EQ(grid.Anchor(), 0);
  EXPECT_EQ(view, ViewMove::None);

  Press(grid, {GridKey::Left, GridKey::Up});
  EXPECT_EQ(grid.Focus(), 0);
  Press(grid, {GridKey::Right, GridKey::Down});
  EXPECT_EQ(grid.Focus(), 4);
  EXPECT_EQ(Press(grid, {GridKey::Down}), ViewMove::RowDown);  // focus 7 in the last visible row
  EXPECT_EQ(grid.FirstIndex(), 3);
  EXPECT_EQ(Press(grid, {GridKey::PageDown}, true), ViewMove::Jump);
  EXPECT_EQ(grid.Focus(), 13);
  EXPECT_EQ(grid.Anchor(), 7);  // Shift keeps the anchor
  EXPECT_EQ(grid.FirstIndex(), 9);
  EXPECT_EQ(Press(grid, {GridKey::End}), ViewMove::RowDown);  // the bottom is one row away
  EXPECT_EQ(grid.Focus(), 19);
  EXPECT_EQ(grid.Anchor(), 19);
  // Page Down at the end: the last rows stay in view, the focus on the last entry.
  EXPECT_EQ(Press(grid, {GridKey::PageDown}), ViewMove::None);
  EXPECT_EQ(grid.Focus(), 19);
  EXPECT_EQ(grid.FirstIndex(), 12);
  EXPECT_EQ(Press(grid, {GridKey::PageUp}), ViewMove::Jump);
  EXPECT_EQ(grid.Focus(), 13);
  EXPECT_EQ(grid.FirstIndex(), 6);
  Press(grid, {GridKey::PageUp, GridKey::PageUp});
  EXPECT_EQ(grid.Focus(), 0);  // a full screen up would pass the top
  EXPECT_EQ(grid.FirstIndex(), 0);
  EXPECT_EQ(Press(grid, {GridKey::Home}), ViewMove::None);
}

TEST(ThumbnailLayout, ArrowKeysFirstBringTheFocusBackIntoView) {
  GridNavigator grid(LayoutGrid(351, 344), 20, 344);
  grid.Clicked(4);
  grid.Scroll(GridScroll::Bottom);  // the focus scrolled out of view
  EXPECT_EQ(Press(grid, {GridKey::Right}), ViewMove::Jump);
  EXPECT_EQ(grid.FirstIndex(), 3);  // the focus row on top
  EXPECT_EQ(grid.Focus(), 5);

  GridNavigator still(LayoutGrid(351, 344), 5, 344);  // does not scroll
  still.Clicked(0);
  EXPECT_EQ(Press(still, {GridKey::PageDown}), ViewMove::None);
  EXPECT_EQ(still.Focus(), 4);
  EXPECT_EQ(still.FirstIndex(), 0);
}

TEST(ThumbnailLayout, SelectRangeMarksExactlyTheRange) {
  std::vector<Mark> entries(8);
  entries[0].selected = 1;
  GridNavigator grid(LayoutGrid(351, 344), 8, 344);
  grid.Clicked(2);
  Press(grid, {GridKey::Right, GridKey::Right, GridKey::Right}, true);
  EXPECT_EQ(SelectRange(entries, grid.Anchor(), grid.Focus()), (std::vector<int>{0, 2, 3, 4, 5}));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(entries[i].selected, i >= 2 && i <= 5) << i;
  EXPECT_EQ(SelectRange(entries, 4, 3), (std::vector<int>{2, 5}));  // either order
  EXPECT_TRUE(SelectRange(entries, 3, 4).empty());
}

}  // namespace
