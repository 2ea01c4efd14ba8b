#include "thumbnail_grid.h"

#include <windowsx.h>

#include <algorithm>

#include "bitmap_file.h"
#include "picture_conversion.h"
#include "resource.h"
#include "shared/winfx/resource_string.h"
#include "shared/winfx/win_app.h"
#include "windows_text.h"

namespace {

constexpr int kPictureBoxWidth = 80;
constexpr int kPictureBoxHeight = 60;

RECT ToRect(const GridRect &r) { return {r.left, r.top, r.right, r.bottom}; }

void FillSolid(HDC dc, const RECT &rect, COLORREF color) {
  SetBkColor(dc, color);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// One-pixel lines: top and left in `topLeft`, bottom and right in `bottomRight`.
void Draw3dRect(HDC dc, const RECT &r, COLORREF topLeft, COLORREF bottomRight) {
  FillSolid(dc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
  FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
  FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
  FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
}

RECT Deflated(RECT r, int by) { return {r.left + by, r.top + by, r.right - by, r.bottom - by}; }

bool ToGridKey(UINT key, GridKey &gridKey) {
  switch (key) {
    case VK_PRIOR: gridKey = GridKey::PageUp; return true;
    case VK_NEXT: gridKey = GridKey::PageDown; return true;
    case VK_END: gridKey = GridKey::End; return true;
    case VK_HOME: gridKey = GridKey::Home; return true;
    case VK_LEFT: gridKey = GridKey::Left; return true;
    case VK_UP: gridKey = GridKey::Up; return true;
    case VK_RIGHT: gridKey = GridKey::Right; return true;
    case VK_DOWN: gridKey = GridKey::Down; return true;
    default: return false;
  }
}

bool ToGridScroll(UINT code, GridScroll &scroll) {
  switch (code) {
    case SB_LINEUP: scroll = GridScroll::LineUp; return true;
    case SB_LINEDOWN: scroll = GridScroll::LineDown; return true;
    case SB_PAGEUP: scroll = GridScroll::PageUp; return true;
    case SB_PAGEDOWN: scroll = GridScroll::PageDown; return true;
    case SB_THUMBPOSITION: scroll = GridScroll::ThumbPosition; return true;
    case SB_THUMBTRACK: scroll = GridScroll::ThumbTrack; return true;
    case SB_ENDSCROLL: scroll = GridScroll::EndScroll; return true;
    case SB_TOP: scroll = GridScroll::Top; return true;
    case SB_BOTTOM: scroll = GridScroll::Bottom; return true;
    default: return false;
  }
}

// Ends a BeginPaint on every path.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope &) = delete;
  PaintScope &operator=(const PaintScope &) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

}  // namespace

bool ThumbnailEntry::EnsureThumbnail() {
  if (!thumbnailTried) {
    thumbnailTried = true;
    picture = MakeThumbnail(path);
  }
  return bool(picture);
}

void CThumbnailGrid::Layout() {
  HWND window = GetSafeHwnd();
  ShowScrollBar(window, SB_VERT, TRUE);
  RECT client{};
  GetClientRect(window, &client);
  layout_ = LayoutGrid(client.right, client.bottom);
  navigator_ = GridNavigator(layout_, Count(), client.bottom);
  const ScrollBarSetup bar = navigator_.ScrollBar();
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, bar.maximum, UINT(bar.page), bar.position};
  SetScrollInfo(window, SB_VERT, &info, TRUE);
  EnableScrollBar(window, SB_VERT, bar.enabled ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);

  if (!font_) {
    const std::string face = winfx::LoadResourceString(IDS_FONT_FACE);
    font_.reset(CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_SWISS, face.c_str()));
  }
  if (!placeholder_) {
    placeholder_.reset(LoadBitmapA(winfx::GetResourceHandle(), MAKEINTRESOURCEA(IDB_PLACEHOLDER)));
  }
  InvalidateRect(window, nullptr, FALSE);
}

bool CThumbnailGrid::IsGridKey(UINT key) {
  GridKey gridKey;
  return ToGridKey(key, gridKey);
}

bool CThumbnailGrid::Visible(int index) const {
  return index >= navigator_.FirstIndex() && index < navigator_.FirstIndex() + layout_.CellCount();
}

void CThumbnailGrid::InvalidateCaption(int index) {
  if (!Visible(index)) return;
  const RECT caption = ToRect(layout_.Cell(index - navigator_.FirstIndex()).caption);
  InvalidateRect(GetSafeHwnd(), &caption, FALSE);
}

void CThumbnailGrid::SelectRange(int anchor, int focus) {
  if (!entries_) return;
  const std::vector<int> changed = ::SelectRange(*entries_, anchor, focus);
  for (int index : changed) InvalidateCaption(index);
  UpdateWindow(GetSafeHwnd());
}

void CThumbnailGrid::FollowView(ViewMove move) {
  HWND window = GetSafeHwnd();
  switch (move) {
    case ViewMove::None:
      return;
    case ViewMove::RowUp:
    case ViewMove::RowDown: {
      // Only the rows move. Scrolling the spare pixels below the last row
      // too would leave them showing a cell's edge, and the top edge of the
      // row scrolled in showing the spare pixels' button face.
      const int pitch = layout_.RowPitch();
      RECT rows{};
      GetClientRect(window, &rows);
      rows.bottom = std::min<LONG>(rows.bottom, layout_.rows * pitch);
      ScrollWindowEx(window, 0, move == ViewMove::RowDown ? -pitch : pitch, &rows, &rows, nullptr, nullptr,
                     SW_INVALIDATE);
      UpdateWindow(window);
      break;
    }
    case ViewMove::Jump:
      InvalidateRect(window, nullptr, FALSE);
      break;
  }
  SetScrollPos(window, SB_VERT, navigator_.ScrollBar().position, TRUE);
}

void CThumbnailGrid::OnKeyDown(UINT key) {
  GridKey gridKey;
  ViewMove move = ViewMove::None;
  if (!ToGridKey(key, gridKey) || !navigator_.Key(gridKey, GetKeyState(VK_SHIFT) < 0, move)) return;
  FollowView(move);
  SelectRange(navigator_.Anchor(), navigator_.Focus());
}

int CThumbnailGrid::ThumbPosition(int messagePosition) const {
  if (navigator_.ScrollBar().maximum <= 0xFFFF) return messagePosition;
  SCROLLINFO info{sizeof info, SIF_TRACKPOS};
  GetScrollInfo(GetSafeHwnd(), SB_VERT, &info);
  return info.nTrackPos;
}

void CThumbnailGrid::OnVScroll(UINT code, int thumbPosition) {
  GridScroll scroll;
  if (!ToGridScroll(code, scroll)) return;
  FollowView(navigator_.Scroll(scroll, scroll == GridScroll::ThumbPosition ? ThumbPosition(thumbPosition) : 0));
}

void CThumbnailGrid::OnLButtonDown(POINT point) {
  SetFocus(GetSafeHwnd());
  const int cell = layout_.HitCell(point.x, point.y);
  const int index = cell < 0 ? -1 : navigator_.FirstIndex() + cell;
  if (index < 0 || index >= Count() || (*entries_)[size_t(index)].selected) return;
  for (int i = 0; i < Count(); ++i) {
    if ((*entries_)[size_t(i)].selected) {
      (*entries_)[size_t(i)].selected = 0;
      InvalidateCaption(i);
    }
  }
  (*entries_)[size_t(index)].selected = 1;
  navigator_.Clicked(index);
  InvalidateCaption(index);
  loadPictures_ = false;
  UpdateWindow(GetSafeHwnd());
  loadPictures_ = true;
}

void CThumbnailGrid::DrawCell(HDC dc, const CellRects &rects, const ThumbnailEntry *entry) {
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const RECT cell = ToRect(rects.cell);
  Draw3dRect(dc, cell, shadow, highlight);
  Draw3dRect(dc, Deflated(cell, 1), RGB(0, 0, 0), RGB(0, 0, 0));

  const RECT picture = ToRect(rects.picture);
  Draw3dRect(dc, picture, shadow, highlight);
  FillSolid(dc, Deflated(picture, 1), face);

  const RECT caption = ToRect(rects.caption);
  Draw3dRect(dc, caption, shadow, highlight);
  const bool selected = entry && entry->selected;
  const COLORREF fill = !entry ? face : selected ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(COLOR_WINDOW);
  FillSolid(dc, Deflated(caption, 1), fill);
  if (!entry) return;

  const TextLocale locale = SystemTextLocale();
  const std::string name = entry->path.substr(DriveAndFolder(entry->path, locale).size());
  SIZE extent{};
  GetTextExtentPoint32A(dc, name.c_str(), int(name.size()), &extent);
  const int width = caption.right - caption.left, height = caption.bottom - caption.top;
  const int x = extent.cx > width ? caption.left + 2 : caption.left + (width - extent.cx) / 2;
  const int y = extent.cy > height ? caption.top : caption.top + (height - extent.cy) / 2;
  const RECT clip{caption.left + 2, caption.top, caption.right - 2, caption.bottom};
  SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  ExtTextOutA(dc, x, y, ETO_CLIPPED, &clip, name.c_str(), UINT(name.size()), nullptr);
}

void CThumbnailGrid::DrawPicture(HDC dc, const GridRect &pictureRect, const ThumbnailEntry &entry) {
  const int boxLeft = pictureRect.left + (pictureRect.right - pictureRect.left - kPictureBoxWidth) / 2;
  const int boxTop = pictureRect.top + (pictureRect.bottom - pictureRect.top - kPictureBoxHeight) / 2;
  if (entry.picture) {
    global_lock lock(entry.picture.get());
    const auto *dib = static_cast<const uint8_t *>(lock.get());
    const auto shape = ReadDibShape(dib, GlobalSize(entry.picture.get()));
    if (!shape || shape->width > 0xFFFF || shape->height > 0xFFFF) return;
    // A larger picture is shrunk into the box, a smaller one kept; centred either way.
    const PictureSize size =
        FitSize({uint16_t(shape->width), uint16_t(shape->height)}, {kPictureBoxWidth, kPictureBoxHeight});
    StretchDIBits(dc, boxLeft + (kPictureBoxWidth - size.width) / 2, boxTop + (kPictureBoxHeight - size.height) / 2,
                  size.width, size.height, 0, 0, int(shape->width), int(shape->height), dib + shape->pixelOffset,
                  reinterpret_cast<const BITMAPINFO *>(dib), DIB_RGB_COLORS, SRCCOPY);
  } else if (entry.thumbnailTried && placeholder_) {
    unique_memory_dc source(CreateCompatibleDC(dc));
    if (!source) return;
    select_object bitmap(source.get(), placeholder_.get());
    BitBlt(dc, boxLeft, boxTop, kPictureBoxWidth, kPictureBoxHeight, source.get(), 0, 0, SRCCOPY);
  }
}

void CThumbnailGrid::OnPaint() {
  PaintScope paint(GetSafeHwnd());
  HDC dc = paint.dc();
  select_object font(dc, font_.get());
  RECT client{};
  GetClientRect(GetSafeHwnd(), &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));

  const int first = navigator_.FirstIndex();
  for (int k = 0; k < layout_.CellCount(); ++k) {
    const CellRects rects = layout_.Cell(k);
    const RECT cell = ToRect(rects.cell);
    if (!RectVisible(dc, &cell)) continue;
    const int index = first + k;
    DrawCell(dc, rects, index < Count() ? &(*entries_)[size_t(index)] : nullptr);
  }

  unique_hpalette palette(CreateHalftonePalette(dc));
  select_palette selected(dc, palette.get());
  RealizePalette(dc);
  SetStretchBltMode(dc, COLORONCOLOR);
  for (int k = 0; k < layout_.CellCount() && first + k < Count(); ++k) {
    const CellRects rects = layout_.Cell(k);
    const RECT picture = ToRect(rects.picture);
    if (!RectVisible(dc, &picture)) continue;
    ThumbnailEntry &entry = (*entries_)[size_t(first + k)];
    // Thumbnails are made for visible cells only, and kept.
    if (loadPictures_) entry.EnsureThumbnail();
    DrawPicture(dc, rects.picture, entry);
  }
}

LRESULT CThumbnailGrid::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painting fills every pixel
    case WM_VSCROLL:
      OnVScroll(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      OnVScroll(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnLButtonDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_KEYDOWN:
      if (!IsGridKey(UINT(wParam))) break;
      OnKeyDown(UINT(wParam));
      return 0;
    case WM_SIZE:
    case WM_STYLECHANGED:
    case WM_HSCROLL:
      // The list view would lay out its own items and scroll bars here.
      return 0;
    default:
      break;
  }
  return Default(message, wParam, lParam);
}
