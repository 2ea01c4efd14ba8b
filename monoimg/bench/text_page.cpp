#include "text_page.h"

#include <random>

namespace {

void fill(TextPage& page, int x0, int y0, int x1, int y1) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) page.bytes[y * TextPage::kStride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
}

}  // namespace

// Text lines 50 pixels apart inside 200-pixel margins; each glyph cell of
// 24 x 32 pixels holds a few 3-pixel strokes, words are separated by gaps.
TextPage make_text_page() {
  TextPage page;
  page.bytes.assign(static_cast<size_t>(TextPage::kStride) * TextPage::kHeight, 0);
  std::mt19937 rng(2480);
  for (int top = 200; top + 40 < TextPage::kHeight - 200; top += 50) {
    int x = 200;
    while (x + 24 < TextPage::kWidth - 200) {
      const int letters = 2 + static_cast<int>(rng() % 8);
      for (int k = 0; k < letters && x + 24 < TextPage::kWidth - 200; ++k, x += 24) {
        const int strokes = 2 + static_cast<int>(rng() % 3);
        for (int s = 0; s < strokes; ++s) {
          const int kind = static_cast<int>(rng() % 3);
          const int ox = x + 2 + static_cast<int>(rng() % 16), oy = top + static_cast<int>(rng() % 26);
          if (kind == 0) fill(page, ox, top + 4, ox + 3, top + 32);         // stem
          else if (kind == 1) fill(page, x + 3, oy, x + 21, oy + 3);         // bar
          else fill(page, ox, oy, ox + 4, oy + 4);                           // dot
        }
      }
      x += 24;  // space between words
    }
  }
  return page;
}
