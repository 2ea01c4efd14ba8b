// A synthetic 300 dpi A4 page of text: lines of glyph-like strokes in a
// plain bi-level image (rows of (width + 7) / 8 bytes, top row first).
#ifndef MONOIMG_BENCH_TEXT_PAGE_H
#define MONOIMG_BENCH_TEXT_PAGE_H

#include <cstdint>
#include <vector>

struct TextPage {
  static constexpr int kWidth = 2480;
  static constexpr int kHeight = 3508;
  static constexpr int kStride = (kWidth + 7) / 8;
  std::vector<std::uint8_t> bytes;
};

TextPage make_text_page();

#endif
