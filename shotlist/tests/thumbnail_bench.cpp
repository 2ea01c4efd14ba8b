// The image dialog's thumbnail grid with a long list, run by hand (CI runs it
// with 30 pictures as a smoke test):
//   cd build/win64/bin && ../../../scripts/wine-run ../wine ./shotlist_thumbnail_bench.exe [N]
//
// N pictures (default 1,000) of 2048 × 1536 pixels, once with the 160 × 120
// Exif thumbnail a camera embeds and once without (each thumbnail is then
// made from the whole picture). Measured from the call that opens the dialog
// until every visible cell shows its picture, and from a scroll to the end
// until the last screen does. The grid's pixels are read back, so a figure
// ends only when the pictures are really painted.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "dialog_fixture.h"
#include "shotlist/shotlist.h"
#include "shotlist/thumbnail_layout.h"
#include "test_pictures.h"

namespace {

namespace fs = std::filesystem;

const std::string kImageDialog = "Select image";
constexpr int kGrid = 1000;

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

bool Near(COLORREF pixel, Color color) {
  return std::abs(GetRValue(pixel) - color.red) <= 48 && std::abs(GetGValue(pixel) - color.green) <= 48 &&
         std::abs(GetBValue(pixel) - color.blue) <= 48;
}

// Whether the visible cells from `first` on show the picture's corner colour
// (the top-left part of each picture box, as the dialog test reads it).
bool ScreenPainted(HWND grid, const GridLayout &layout, int first, int count, Color corner) {
  HDC dc = GetDC(grid);
  bool painted = true;
  for (int k = 0; painted && k < layout.CellCount() && first + k < count; ++k) {
    const GridRect picture = layout.Cell(k).picture;
    painted = Near(GetPixel(dc, picture.left + 35, picture.top + 23), corner);
  }
  ReleaseDC(grid, dc);
  return painted;
}

int FirstIndex(HWND grid, const GridLayout &layout) {
  SCROLLINFO info{sizeof info, SIF_POS};
  GetScrollInfo(grid, SB_VERT, &info);
  return info.nPos / layout.RowPitch() * layout.columns;
}

struct Figures {
  double firstScreen = -1, scrolledToEnd = -1;
};

// Opens the dialog on the pictures and measures both figures.
Figures Measure(const std::vector<std::wstring> &paths, Color corner) {
  Figures figures;
  StringArray pictures(paths);
  int chosen = -1;
  const auto opened = Clock::now();
  {
    DialogDriver driver([&] {
      const HWND dialog = WaitForDialog(kImageDialog);
      const HWND grid = dialog ? GetDlgItem(dialog, kGrid) : nullptr;
      if (!grid) return;
      RECT client{};
      GetClientRect(grid, &client);
      const GridLayout layout = LayoutGrid(client.right, client.bottom);
      const int count = static_cast<int>(paths.size());
      if (Eventually([&] { return ScreenPainted(grid, layout, 0, count, corner); }, 60000))
        figures.firstScreen = Since(opened);
      const auto scrolled = Clock::now();
      PostMessageA(grid, WM_VSCROLL, SB_BOTTOM, 0);
      if (Eventually(
              [&] {
                const int first = FirstIndex(grid, layout);
                return first > 0 && first + layout.CellCount() >= count &&
                       ScreenPainted(grid, layout, first, count, corner);
              },
              60000))
        figures.scrolledToEnd = Since(scrolled);
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    ShowImageListDlg(pictures.Variant(), &chosen);
  }
  return figures;
}

void Print(const char *what, int count, const Figures &figures) {
  std::printf("N=%-5d %-34s first screen %6.3f s   scrolled to the end %6.3f s%s\n", count, what,
              figures.firstScreen, figures.scrolledToEnd,
              figures.firstScreen < 0 || figures.scrolledToEnd < 0 ? "  NOT PAINTED" : "");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char **argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
  if (count < 1 || FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  const fs::path folder = fs::temp_directory_path() / ("lumo-thumbnails-" + std::to_string(GetCurrentProcessId()));
  fs::create_directories(folder);
  const Bytes plain = EncodeJpeg(2048, 1536, kRed, kBlue);
  const Bytes withExif = WithExif(plain, 1, EncodeJpeg(160, 120, kGreen, kBlue));
  bool ok = true;
  for (const bool exif : {true, false}) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < count; ++i) {
      const fs::path path = folder / ((exif ? "E" : "P") + std::to_string(10000 + i) + ".JPG");
      WriteFileBytes(path.string(), exif ? withExif : plain);
      paths.push_back(path.wstring());
    }
    const Figures figures = Measure(paths, exif ? kGreen : kRed);
    Print(exif ? "camera pictures (Exif thumbnail)" : "pictures without a thumbnail", count, figures);
    ok = ok && figures.firstScreen >= 0 && figures.scrolledToEnd >= 0;
  }
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  CoUninitialize();
  return ok ? 0 : 1;
}
