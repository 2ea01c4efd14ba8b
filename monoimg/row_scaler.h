// Horizontal scaling of one source row segment into a bit row, with the run
// buffers taken once per call.
#ifndef MONOIMG_ROW_SCALER_H
#define MONOIMG_ROW_SCALER_H

#include <cstdint>

#include "ratio.h"
#include "runs.h"
#include "work_memory.h"

namespace monoimg {

class RowScaler {
 public:
  // Ready for segments of `length` pixels starting at pixel `srcX` of a row.
  RowScaler(i64 srcX, i64 length, Ratio ratio);
  bool ok() const { return memory_.ok(); }

  // Renders the segment of `srcRow` scaled by the ratio into the first
  // `width` pixels of `out`; the rest of out's last byte is cleared.
  void render(const std::uint8_t* srcRow, i64 width, std::uint8_t* out) const;

  // The segment in `srcRow` itself when rendering `width` pixels would only
  // copy it (1:1 from a byte boundary), else null. Unlike a rendered row, its
  // last byte may hold source pixels past `width`.
  const std::uint8_t* unscaled(const std::uint8_t* srcRow, i64 width) const {
    return identity_ && offset_ == 0 && width <= length_ ? srcRow + firstByte_ : nullptr;
  }

 private:
  i64 offset_;
  i64 length_;
  i64 firstByte_;
  bool identity_;
  bool shrinking_;
  WorkMemory memory_;  // the scaled positions, then two run lists
};

}  // namespace monoimg

#endif
