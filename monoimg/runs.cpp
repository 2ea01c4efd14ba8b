#include "runs.h"

#include <algorithm>

namespace monoimg {
namespace {

// Records runs from the pixel transitions of successive 64-pixel words.
class RunCollector {
 public:
  explicit RunCollector(Run* out) : out_(out), next_(out) {}

  // The 64 pixels of `word`, pixel 0 in the top bit, from pixel `base` on.
  void word(std::uint64_t word, i64 base) {
    // A set bit marks a pixel that differs from the one before it.
    std::uint64_t changes = word ^ (word >> 1 | (inside_ ? std::uint64_t{1} << 63 : 0));
    if (!changes) return;
    if (inside_) {
      *next_++ = Run{start_, base + take_first(changes)};
      inside_ = false;
    }
    // Changes now alternate start, end; a start without its end in this
    // word leaves the run open.
    while (changes) {
      const i64 start = base + take_first(changes);
      if (!changes) {
        start_ = start;
        inside_ = true;
        return;
      }
      *next_++ = Run{start, base + take_first(changes)};
    }
  }

  i64 finish(i64 length) {
    if (inside_) *next_++ = Run{start_, length};
    return next_ - out_;
  }

 private:
  // Position of the first set bit, which is cleared.
  static int take_first(std::uint64_t& bits) {
    const int k = __builtin_clzll(bits);
    bits ^= std::uint64_t{1} << 63 >> k;
    return k;
  }

  Run* out_;
  Run* next_;
  i64 start_ = 0;
  bool inside_ = false;
};

}  // namespace

i64 extract_runs(const std::uint8_t* row, i64 length, Run* out) {
  RunCollector runs(out);
  i64 pos = 0;
  for (; pos + 64 <= length; pos += 64) runs.word(load_be64(row + pos / 8), pos);
  if (pos < length) {
    // The last bytes are read one by one, as the row may end right after
    // them, and the pixels past `length` cleared.
    const i64 bits = length - pos;
    std::uint64_t word = 0;
    for (i64 i = 0; i < row_bytes(bits); ++i) word |= std::uint64_t{row[pos / 8 + i]} << (56 - 8 * i);
    runs.word(word & ~(~std::uint64_t{0} >> bits), pos);
  }
  return runs.finish(length);
}

i64 scale_runs(const Run* in, i64 count, i64 offset, i64 length, ScaledPositions scaled, Run* out) {
  const i64* position = scaled.positions;
  const i64 width = position[length];
  const bool shrinking = scaled.shrinking;
  const i64 segmentEnd = offset + length;
  i64 k = 0;
  while (k < count && in[k].end <= offset) ++k;
  i64 produced = 0;
  for (; k < count && in[k].start < segmentEnd; ++k) {
    i64 start = position[std::max<i64>(in[k].start - offset, 0)];
    const i64 end = position[in[k].end - offset];
    // Output starts never decrease: nothing from here on can start inside
    // the output row, and a merge would be cut at its edge anyway.
    if (start >= width) break;
    if (produced == 0) {
      out[produced++] = Run{start, std::max(end, start + 1)};
      continue;
    }
    if (!shrinking) {
      out[produced++] = Run{start, end};
      continue;
    }
    // Whether runs merge depends on the picture, so the choice is made
    // without branches: the slot after the last run is written either way
    // (it is within the output, as produced < k) and kept only if wanted.
    Run& previous = out[produced - 1];
    const bool merges = start < previous.end;
    previous.end = merges ? std::max(previous.end, end) : previous.end;
    start += start == previous.end;
    out[produced] = Run{start, std::max(end, start + 1)};
    produced += !merges && start <= end;
  }
  while (produced > 0 && out[produced - 1].start >= width) --produced;
  if (produced > 0) out[produced - 1].end = std::min(out[produced - 1].end, width);
  return produced;
}

void render_runs(const Run* runs, i64 count, i64 width, std::uint8_t* row) {
  std::memset(row, 0, static_cast<std::size_t>(row_bytes(width)));
  for (i64 k = 0; k < count; ++k) {
    const i64 start = runs[k].start;
    const i64 end = std::min(runs[k].end, width);
    if (start >= end) continue;
    const i64 first = start >> 3;
    const i64 last = (end - 1) >> 3;
    const std::uint8_t tail = lead_mask(((end - 1) & 7) + 1);
    if (first == last) {
      row[first] |= static_cast<std::uint8_t>(head_mask(start) & tail);
      continue;
    }
    row[first] |= head_mask(start);
    // Reduced runs seldom span whole bytes; the call is made only when one does.
    if (last - first > 1) std::memset(row + first + 1, 0xFF, static_cast<std::size_t>(last - first - 1));
    row[last] |= tail;
  }
}

}  // namespace monoimg
