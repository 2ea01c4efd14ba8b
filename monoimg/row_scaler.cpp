#include "row_scaler.h"

#include <algorithm>

#include "row_blit.h"

namespace monoimg {

RowScaler::RowScaler(i64 srcX, i64 length, Ratio ratio)
    : offset_(srcX & 7),
      length_(length),
      firstByte_(srcX >> 3),
      identity_(ratio.identity()),
      shrinking_(ratio.num < ratio.den),
      // At 1:1 the pixels are copied as they are and need no run lists.
      memory_(identity_ ? 0 : (length + 1 + 2 * max_runs(offset_ + length) * 2) * static_cast<i64>(sizeof(i64))) {
  if (identity_ || !memory_.ok()) return;
  i64* positions = reinterpret_cast<i64*>(memory_.data());
  for (i64 p = 0; p <= length; ++p) positions[p] = scale(p, ratio);
}

void RowScaler::render(const std::uint8_t* srcRow, i64 width, std::uint8_t* out) const {
  if (identity_) {
    std::memset(out, 0, static_cast<std::size_t>(row_bytes(width)));
    blit_rows(out, 0, 0, srcRow + firstByte_, 0, offset_, std::min(width, length_), 1, Rop::Copy);
    return;
  }
  const i64* positions = reinterpret_cast<const i64*>(memory_.data());
  Run* extracted = reinterpret_cast<Run*>(memory_.data() + (length_ + 1) * sizeof(i64));
  Run* scaled = extracted + max_runs(offset_ + length_);
  const i64 found = extract_runs(srcRow + firstByte_, offset_ + length_, extracted);
  const i64 kept = scale_runs(extracted, found, offset_, length_, ScaledPositions{positions, shrinking_}, scaled);
  render_runs(scaled, kept, width, out);
}

}  // namespace monoimg
