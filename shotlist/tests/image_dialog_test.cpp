// The image dialog and its thumbnail grid through GetImageFileName and
// ShowImageListDlg: thumbnails, keys, clicks and OK, checked on the pixels
// the grid paints; and FilterDllMsg and ProcessDllIdle from a host's loop.
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>

#include "dialog_fixture.h"
#include "shotlist/shotlist.h"
#include "shotlist/thumbnail_layout.h"
#include "test_pictures.h"

namespace {

namespace fs = std::filesystem;

const std::string kImageDialog = "Select image";
constexpr int kGrid = 1000, kCountText = 1008, kCutTitleText = 1009;
constexpr int kImages = 12, kCorrupt = 5, kMissing = 8;
const std::string kMessage12 = "Cannot select this image. \n Select another image.";

bool Near(COLORREF pixel, Color color) {
  return std::abs(GetRValue(pixel) - color.red) <= 48 && std::abs(GetGValue(pixel) - color.green) <= 48 &&
         std::abs(GetBValue(pixel) - color.blue) <= 48;
}

// What the grid shows, read back from its window: layout, scroll position and pixels.
class GridView {
 public:
  explicit GridView(HWND grid) : grid_(grid) {
    RECT client{};
    GetClientRect(grid, &client);
    layout_ = LayoutGrid(client.right, client.bottom);
  }
  const GridLayout &Layout() const { return layout_; }
  int FirstIndex() const {
    SCROLLINFO info{sizeof info, SIF_POS};
    GetScrollInfo(grid_, SB_VERT, &info);
    return info.nPos / layout_.RowPitch() * layout_.columns;
  }
  COLORREF Pixel(int x, int y) const {
    HDC dc = GetDC(grid_);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(grid_, dc);
    return pixel;
  }
  // Entries whose visible caption is painted selected.
  std::set<int> Selected(int count) const {
    std::set<int> selected;
    const int first = FirstIndex();
    for (int k = 0; k < layout_.CellCount() && first + k < count; ++k) {
      const GridRect caption = layout_.Cell(k).caption;  // left of any text
      if (Pixel(caption.left + 1, caption.bottom - 2) == GetSysColor(COLOR_HIGHLIGHT)) selected.insert(first + k);
    }
    return selected;
  }
  // A pixel in the top-left part of the picture box of visible entry `index`.
  COLORREF PicturePixel(int index) const {
    const GridRect picture = layout_.Cell(index - FirstIndex()).picture;
    return Pixel(picture.left + 10 + 25, picture.top + 8 + 15);
  }
  // Whether the vertical scroll bar shows with both arrows usable.
  bool ScrollArrowsEnabled() const {
    SCROLLBARINFO info{sizeof info};
    if (!GetScrollBarInfo(grid_, OBJID_VSCROLL, &info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return false;
    return !(info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) && !(info.rgstate[5] & STATE_SYSTEM_UNAVAILABLE);
  }
  bool ScrollBarVisible() const {
    SCROLLBARINFO info{sizeof info};
    return GetScrollBarInfo(grid_, OBJID_VSCROLL, &info) && !(info.rgstate[0] & STATE_SYSTEM_INVISIBLE);
  }
  int ClientHeight() const {
    RECT client{};
    GetClientRect(grid_, &client);
    return client.bottom;
  }
  // Whether the top edge of every visible cell shows its two lines: button
  // shadow, then black.
  bool CellTopEdgesDrawn() const {
    for (int k = 0; k < layout_.CellCount(); ++k) {
      const GridRect cell = layout_.Cell(k).cell;
      if (Pixel(cell.left + 50, cell.top) != GetSysColor(COLOR_BTNSHADOW) ||
          Pixel(cell.left + 50, cell.top + 1) != RGB(0, 0, 0)) {
        return false;
      }
    }
    return true;
  }
  // Whether the spare pixels below the last row are button face all along.
  bool SpareRowsPlain() const {
    RECT client{};
    GetClientRect(grid_, &client);
    for (int y = layout_.rows * layout_.RowPitch(); y < client.bottom; ++y) {
      for (int x = 0; x < client.right; x += 7) {
        if (Pixel(x, y) != GetSysColor(COLOR_BTNFACE)) return false;
      }
    }
    return true;
  }
  void Click(int index) const {
    const GridRect cell = layout_.Cell(index - FirstIndex()).cell;
    const LPARAM point = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    PostMessageA(grid_, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(grid_, WM_LBUTTONUP, 0, point);
  }

 private:
  HWND grid_;
  GridLayout layout_;
};

// A key for the focused control of the foreground window, as typed.
void Type(WORD key, bool shift) {
  std::vector<INPUT> inputs;
  const auto add = [&](WORD vk, bool up) {
    INPUT input{INPUT_KEYBOARD};
    input.ki.wVk = vk;
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (vk >= VK_PRIOR && vk <= VK_DOWN ? KEYEVENTF_EXTENDEDKEY : 0);
    inputs.push_back(input);
  };
  if (shift) add(VK_SHIFT, false);
  add(key, false);
  add(key, true);
  if (shift) add(VK_SHIFT, true);
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

class ImageDialogTest : public DialogTest {
 protected:
  // Twelve pictures; every third one with an embedded (green) Exif
  // thumbnail, number 5 not a JPEG at all, number 8 missing. Returns the
  // list file.
  std::string WriteCut() {
    const Bytes picture = EncodeJpeg(320, 240, kRed, kBlue);
    const Bytes thumbnail = EncodeJpeg(160, 120, kGreen, kGreen);
    std::string list = "[LIST TITLE]\r\ntitle=Trip\r\n[Harbour boat]\r\n";  // as a 13-letter title is stored
    for (int i = 0; i < kImages; ++i) {
      const std::string name = Name(i);
      if (i == kCorrupt) {
        Write(name, "this is not a picture");
      } else if (i != kMissing) {
        const Bytes bytes = i % 3 == 2 ? WithExif(picture, 1, thumbnail) : picture;
        Write(name, std::string(bytes.begin(), bytes.end()));
      }
      list += "  " + name + "\r\n";
    }
    return Write("boats.lst", list + "[Quay]\r\nquay.jpg\r\n");
  }
  static std::string Name(int i) { return "img" + std::to_string(100 + i).substr(1) + ".jpg"; }
};

TEST_F(ImageDialogTest, KeysClicksAndOkChooseAnImageWhoseThumbnailWasMade) {
  const std::string list = WriteCut();
  char path[MAX_PATH + 8] = "garbage";
  int result = -1;
  {
    DialogDriver driver([&] {
      HWND dialog = WaitForDialog(kImageDialog);
      if (!dialog) return;
      HWND grid = GetDlgItem(dialog, kGrid);
      HWND ok = GetDlgItem(dialog, IDOK);
      const GridView view(grid);
      ASSERT_EQ(view.Layout().columns, 3);  // the key moves below are for three rows of three
      ASSERT_EQ(view.Layout().rows, 3);
      EXPECT_TRUE(view.ScrollArrowsEnabled());
      EXPECT_EQ(WindowText(GetDlgItem(dialog, kCutTitleText)), "Harbour boat");  // converted as stored
      EXPECT_EQ(WindowText(GetDlgItem(dialog, kCountText)), "3 of 12");

      const auto selected = [&](std::set<int> expected) {
        return Eventually([&] { return view.Selected(kImages) == expected; });
      };
      EXPECT_TRUE(selected({0}));
      // Thumbnails of the visible cells: embedded ones first, the picture
      // otherwise, the placeholder for what is no picture.
      // The first paint makes nine thumbnails (and starts the imaging
      // component); other threads see the cells as they are drawn.
      EXPECT_TRUE(Eventually(
          [&] {
            return Near(view.PicturePixel(0), kRed) && Near(view.PicturePixel(2), kGreen) &&
                   Near(view.PicturePixel(kCorrupt), {255, 255, 255}) &&
                   Near(view.PicturePixel(kMissing), {255, 255, 255}) && Near(view.PicturePixel(4), kRed);
          },
          30000))
          << std::hex << view.PicturePixel(0) << " " << view.PicturePixel(2) << " " << view.PicturePixel(kCorrupt);

      // Keys reach the grid whichever control has the focus.
      const auto post = [&](WORD key) { PostMessageA(ok, WM_KEYDOWN, key, 0); };
      post(VK_RIGHT);  // the first key only puts the focus on entry 0
      EXPECT_TRUE(selected({0}));
      post(VK_RIGHT);
      EXPECT_TRUE(selected({1}));
      SetForegroundWindow(dialog);
      Type(VK_RIGHT, true);
      Type(VK_RIGHT, true);
      EXPECT_TRUE(selected({1, 2, 3}));
      // A posted key would overtake the typed Shift release still queued,
      // so the key after a shifted one is typed as well.
      Type(VK_DOWN, false);  // into the last visible row: one row down
      EXPECT_TRUE(selected({6}));
      EXPECT_EQ(view.FirstIndex(), 3);
      post(VK_END);
      EXPECT_TRUE(selected({11}));
      EXPECT_TRUE(Eventually([&] { return Near(view.PicturePixel(11), kGreen); }));  // made once visible
      Type(VK_HOME, true);
      EXPECT_TRUE(selected({0, 1, 2, 3, 4, 5, 6, 7, 8}));
      EXPECT_EQ(view.FirstIndex(), 0);
      Type(VK_HOME, false);
      EXPECT_TRUE(selected({0}));
      post(VK_NEXT);
      EXPECT_TRUE(Eventually([&] { return view.FirstIndex() == 3; }));
      EXPECT_TRUE(selected({6}));
      post(VK_PRIOR);
      EXPECT_TRUE(Eventually([&] { return view.FirstIndex() == 0; }));
      EXPECT_TRUE(selected({0}));
      post(VK_UP);
      post(VK_LEFT);
      EXPECT_TRUE(selected({0}));

      view.Click(kCorrupt);
      EXPECT_TRUE(selected({kCorrupt}));
      view.Click(kCorrupt);  // clicking the selected one changes nothing
      Press(dialog, IDOK);
      EXPECT_EQ(AnswerMessageBox(kToolkit), kMessage12);
      EXPECT_TRUE(DialogOpen(kImageDialog));
      EXPECT_TRUE(Eventually([&] { return FocusOf(dialog) == grid; }));
      view.Click(7);
      EXPECT_TRUE(selected({7}));
      Press(dialog, IDOK);
    });
    result = GetImageFileName(list.c_str(), "Trip", "Harbour boats", "3 of 12", path);
  }
  EXPECT_EQ(result, 1);
  EXPECT_EQ(std::string(path), Path(Name(7)));
}

// The scroll bar moves the grid by whole rows. A one-row step scrolls the
// rows and repaints the row it uncovers whole, frame lines included, while
// the spare pixels below the last row stay plain; the thumb positions the
// grid where the message says.
TEST_F(ImageDialogTest, TheScrollBarMovesTheGridByRowsAndRepaintsWhatItUncovers) {
  const std::string list = WriteCut();
  char path[MAX_PATH] = "";
  DialogDriver driver([&] {
    HWND dialog = WaitForDialog(kImageDialog);
    if (!dialog) return;
    HWND grid = GetDlgItem(dialog, kGrid);
    const GridView view(grid);
    const int pitch = view.Layout().RowPitch();
    ASSERT_EQ(view.Layout().rows, 3);  // 12 entries: the last top row is 1
    ASSERT_GT(view.ClientHeight(), 3 * pitch);  // the spare pixels this test is about
    EXPECT_TRUE(Eventually([&] { return view.CellTopEdgesDrawn() && view.SpareRowsPlain(); }));

    PostMessageA(grid, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_TRUE(Eventually([&] { return view.FirstIndex() == 3; }));
    EXPECT_TRUE(Eventually([&] { return view.CellTopEdgesDrawn() && view.SpareRowsPlain(); }));
    PostMessageA(grid, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_TRUE(Eventually([&] { return view.FirstIndex() == 0; }));
    EXPECT_TRUE(Eventually([&] { return view.CellTopEdgesDrawn() && view.SpareRowsPlain(); }));

    // Rounded to the nearer row.
    PostMessageA(grid, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pitch / 2 + 1), 0);
    EXPECT_TRUE(Eventually([&] { return view.FirstIndex() == 3; }));
    PostMessageA(grid, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pitch / 2 - 2), 0);
    EXPECT_TRUE(Eventually([&] { return view.FirstIndex() == 0; }));
    Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(GetImageFileName(list.c_str(), "Trip", "Harbour boats", "12", path), 2);
}

// The left button pressed at `from` and released at `to` (screen points), as the mouse does it.
void Drag(POINT from, POINT to) {
  const auto at = [](POINT point, DWORD flags) {
    INPUT input{INPUT_MOUSE};
    input.mi.dx = point.x * 65536 / GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy = point.y * 65536 / GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    return input;
  };
  INPUT inputs[] = {at(from, 0), at(from, MOUSEEVENTF_LEFTDOWN), at(to, 0), at(to, MOUSEEVENTF_LEFTUP)};
  SendInput(UINT(std::size(inputs)), inputs, sizeof(INPUT));
}

// 1,800 pictures make a scroll range beyond the 16 bits of the scroll
// message's position: the thumb dragged to the end of the bar still shows the
// last rows.
TEST_F(ImageDialogTest, TheThumbDraggedToTheEndOfALongListShowsItsLastRows) {
  constexpr int kCount = 1800;
  std::vector<std::wstring> paths;
  for (int i = 0; i < kCount; ++i) paths.push_back(fs::path(Path("p" + std::to_string(i) + ".jpg")).wstring());
  StringArray pictures(paths);
  int chosen = -1;
  DialogDriver driver([&] {
    HWND dialog = WaitForDialog(kImageDialog);
    if (!dialog) return;
    HWND grid = GetDlgItem(dialog, kGrid);
    const GridView view(grid);
    const int columns = view.Layout().columns;
    const int totalRows = (kCount + columns - 1) / columns;
    ASSERT_GT(totalRows * view.Layout().RowPitch(), 0xFFFF);
    SCROLLBARINFO bar{sizeof bar};
    ASSERT_TRUE(GetScrollBarInfo(grid, OBJID_VSCROLL, &bar));
    const LONG x = (bar.rcScrollBar.left + bar.rcScrollBar.right) / 2;
    SetForegroundWindow(dialog);
    Drag({x, bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2},
         {x, bar.rcScrollBar.bottom - bar.dxyLineButton / 2});
    const int lastTopRow = totalRows - view.Layout().rows;
    EXPECT_TRUE(Eventually([&] { return view.FirstIndex() == lastTopRow * columns; })) << view.FirstIndex();
    Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(ShowImageListDlg(pictures.Variant(), &chosen), 2);
}

TEST_F(ImageDialogTest, OneImageIsReturnedWithoutAWindowAndNoneGivesAnEmptyPath) {
  const std::string list = WriteCut();
  char path[MAX_PATH] = "garbage";
  int one = -1, mismatch = -1, missing = -1;
  bool sawWindow = true;
  {
    DialogDriver driver([] {});
    one = GetImageFileName(list.c_str(), "trip", "QUAY", "1/1", path);  // letter case is ignored
    sawWindow = driver.SawWindow();
  }
  EXPECT_EQ(one, 1);
  EXPECT_FALSE(sawWindow);
  EXPECT_EQ(std::string(path), Path("quay.jpg"));
  mismatch = GetImageFileName(list.c_str(), "Other trip", "Quay", "1/1", path);
  EXPECT_EQ(mismatch, 0);
  EXPECT_STREQ(path, "");
  std::strcpy(path, "garbage");
  missing = GetImageFileName(Path("missing.lst").c_str(), "Trip", "Quay", "1/1", path);
  EXPECT_EQ(missing, 0);
  EXPECT_STREQ(path, "");
}

TEST_F(ImageDialogTest, APathLongerThanTheBufferIsNeverWrittenIntoIt) {
  const std::string longName = std::string(300, 'n') + ".jpg";
  const std::string list =
      Write("long.lst", "[LIST TITLE]\r\ntitle=Trip\r\n[Long]\r\n" + longName + "\r\n[Two]\r\n" + longName +
                            "\r\nshort.jpg\r\n");
  char buffer[MAX_PATH + 64];
  std::memset(buffer, 'g', sizeof buffer);
  EXPECT_EQ(GetImageFileName(list.c_str(), "Trip", "Long", "1/1", buffer), 0);
  EXPECT_EQ(buffer[0], '\0');
  // Of two images one is too long: the other is the only one, and no window shows.
  EXPECT_EQ(GetImageFileName(list.c_str(), "Trip", "Two", "1/2", buffer), 1);
  EXPECT_EQ(std::string(buffer), Path("short.jpg"));
  for (size_t i = MAX_PATH; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], 'g') << i;
}

// A host with its own loop hands its messages to FilterDllMsg and calls
// ProcessDllIdle; here the host's timer does so inside the dialog's loop.
HWND hostWindow = nullptr;
std::atomic<int> filterResults{0};

void CALLBACK HostTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND dialog = FindWindowA("#32770", kImageDialog.c_str());
  MSG key{GetDlgItem(dialog, IDCANCEL), WM_KEYDOWN, VK_END, 0};
  MSG hostMessage{hostWindow, WM_KEYDOWN, VK_END, 0};
  int handled = 0;
  for (int i = 0; i < 2; ++i) handled += FilterDllMsg(&key) ? 1 : 0;  // the first only sets the focus
  handled += FilterDllMsg(&hostMessage) ? 10 : 0;
  handled += FilterDllMsg(nullptr) ? 10 : 0;
  ProcessDllIdle();
  filterResults = handled;
}

TEST_F(ImageDialogTest, HostLoopMessagesReachTheGridThroughFilterDllMsg) {
  WriteCut();
  std::vector<std::wstring> paths;
  for (int i = 0; i < 4; ++i) paths.push_back(fs::path(Path(Name(i))).wstring());
  StringArray pictures(paths);
  hostWindow = CreateWindowA("STATIC", "host", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  int chosen = -1, result = -1;
  {
    DialogDriver driver([&] {
      HWND dialog = WaitForDialog(kImageDialog);
      if (!dialog) return;
      EXPECT_EQ(WindowTextW(GetDlgItem(dialog, kCutTitleText)), L"\u30AB\u30C3\u30C8\u540D");
      EXPECT_EQ(WindowTextW(GetDlgItem(dialog, kCountText)), L"\u25CB\u679A\u76EE\uFF0F\u25CB\u679A\u4E2D");
      const GridView view(GetDlgItem(dialog, kGrid));
      EXPECT_TRUE(view.ScrollBarVisible());  // shown, but four entries do not scroll
      EXPECT_FALSE(view.ScrollArrowsEnabled());
      EXPECT_TRUE(Eventually([&] { return filterResults == 2; })) << filterResults;
      EXPECT_TRUE(Eventually([&] { return view.Selected(4) == std::set<int>{3}; }));
      Press(dialog, IDCANCEL);
    });
    filterResults = -1;
    SetTimer(nullptr, 0, 300, HostTimer);
    result = ShowImageListDlg(pictures.Variant(), &chosen);
  }
  DestroyWindow(hostWindow);
  EXPECT_EQ(result, 2);
  EXPECT_EQ(chosen, -1);
  ProcessDllIdle();  // with no dialog open as well

  {
    DialogDriver driver([&] {
      if (HWND dialog = WaitForDialog(kImageDialog)) Press(dialog, IDOK);
    });
    result = ShowImageListDlg(pictures.Variant(), &chosen);
  }
  EXPECT_EQ(result, 1);
  EXPECT_EQ(chosen, 1);  // the first image, counted from 1
  VARIANT single;
  VariantInit(&single);
  single.vt = VT_BSTR;
  single.bstrVal = SysAllocString(L"x.jpg");
  EXPECT_EQ(ShowImageListDlg(&single, &chosen), 0);
  VariantClear(&single);
}

}  // namespace
