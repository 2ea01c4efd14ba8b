// Run lists: the set pixels of a row segment as ordered half-open intervals.
// Horizontal zooming extracts runs, scales them and renders them again, so
// its cost follows the number of runs rather than the number of pixels.
#ifndef MONOIMG_RUNS_H
#define MONOIMG_RUNS_H

#include <cstdint>

#include "bit_ops.h"

namespace monoimg {

struct Run {
  i64 start;
  i64 end;
};

// Most runs that a segment of `length` pixels can hold.
inline i64 max_runs(i64 length) { return length / 2 + 1; }

// Runs of the first `length` pixels of `row` (which starts on a byte),
// found 64 pixels at a time from the pixels' transitions; a run reaching
// past `length` is cut there. Returns the number of runs written to `out`.
i64 extract_runs(const std::uint8_t* row, i64 length, Run* out);

// Where each position of a segment lands when scaled: entry p is
// scale(p, ratio) for p from 0 to the segment length. Looking positions up
// keeps divisions out of the per-run work.
struct ScaledPositions {
  const i64* positions;
  bool shrinking;
};

// Scales the runs of the segment [offset, offset + length) into `out` (room
// for `count` runs); the output is positions[length] pixels wide. When
// shrinking, runs never vanish and never touch: a run that would touch its
// predecessor moves one pixel right, one that would start inside it merges
// with it. Returns the number of output runs.
i64 scale_runs(const Run* in, i64 count, i64 offset, i64 length, ScaledPositions scaled, Run* out);

// Clears a row of `width` pixels and sets the pixels of every run.
void render_runs(const Run* runs, i64 count, i64 width, std::uint8_t* row);

}  // namespace monoimg

#endif
