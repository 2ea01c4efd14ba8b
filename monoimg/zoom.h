// Bi-level zooming and the clipping it shares with gray reduction.
#ifndef MONOIMG_ZOOM_H
#define MONOIMG_ZOOM_H

#include "engine.h"
#include "ratio.h"

namespace monoimg {

// The source segment (srcX, srcY, columns, rows) that a zoom writes and the
// destination position it lands on, after clipping.
struct ZoomClip {
  i64 srcX, srcY, columns, rows, dstX, dstY;
  bool empty() const { return columns <= 0 || rows <= 0; }
};

// Clips a zoom of `q` by the ratios to the source and to the destination,
// whose usable width and height in output pixels are dstWidth and dstHeight.
ZoomClip clip_zoom(const Request& q, Ratio x, Ratio y);

inline bool has_negative_dimension(const Request& q) {
  return q.dstWidth < 0 || q.dstHeight < 0 || q.srcWidth < 0 || q.srcHeight < 0;
}

// The bi-level zoom with ratios already sanitised.
int zoom_blt(const Request& q, Ratio x, Ratio y, std::int32_t rop);

}  // namespace monoimg

#endif
