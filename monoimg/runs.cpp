#include "runs.h"

#include <algorithm>
#include <array>

namespace monoimg {
namespace {

// For every byte value, its runs of set pixels as alternating start and end
// bit positions counted from the most significant bit.
struct ByteRuns {
  std::uint8_t count;
  std::uint8_t bounds[8];
};

constexpr std::array<ByteRuns, 256> make_byte_runs() {
  std::array<ByteRuns, 256> table{};
  for (int value = 0; value < 256; ++value) {
    ByteRuns entry{};
    bool inside = false;
    for (int bit = 0; bit <= 8; ++bit) {
      const bool set = bit < 8 && ((value >> (7 - bit)) & 1);
      if (set != inside) {
        entry.bounds[entry.count * 2 + (inside ? 1 : 0)] = static_cast<std::uint8_t>(bit);
        if (inside) ++entry.count;
        inside = set;
      }
    }
    table[value] = entry;
  }
  return table;
}

constexpr std::array<ByteRuns, 256> kByteRuns = make_byte_runs();

// Scans bytes, joining runs that continue across byte boundaries.
class RunCollector {
 public:
  explicit RunCollector(Run* out) : out_(out), next_(out) {}

  void zero_byte(i64 base) { close(base); }

  void byte(std::uint8_t value, i64 base) {
    if (value == 0) return zero_byte(base);
    if (value == 0xFF) {
      if (!open_) open_at(base);
      return;
    }
    const ByteRuns& runs = kByteRuns[value];
    for (int k = 0; k < runs.count; ++k) {
      const i64 start = base + runs.bounds[2 * k];
      const i64 end = base + runs.bounds[2 * k + 1];
      if (!(open_ && start == base)) {
        close(base);
        open_at(start);
      }
      if (end < base + 8) close(end);
    }
  }

  i64 finish(i64 length) {
    close(length);
    return next_ - out_;
  }

 private:
  void open_at(i64 start) {
    start_ = start;
    open_ = true;
  }
  void close(i64 end) {
    if (!open_) return;
    *next_++ = Run{start_, end};
    open_ = false;
  }

  Run* out_;
  Run* next_;
  i64 start_ = 0;
  bool open_ = false;
};

}  // namespace

i64 extract_runs(const std::uint8_t* row, i64 length, Run* out) {
  RunCollector runs(out);
  const i64 whole = length >> 3;
  i64 i = 0;
  while (i < whole) {
    if (row[i] != 0) {
      runs.byte(row[i], i * 8);
      ++i;
      continue;
    }
    runs.zero_byte(i * 8);
    ++i;
    while (i + 8 <= whole && load_be64(row + i) == 0) i += 8;
    while (i < whole && row[i] == 0) ++i;
  }
  const i64 tailBits = length & 7;
  if (tailBits) runs.byte(static_cast<std::uint8_t>(row[whole] & lead_mask(tailBits)), whole * 8);
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
    Run& previous = out[produced - 1];
    if (start < previous.end) {
      previous.end = std::max(previous.end, end);
      continue;
    }
    if (start == previous.end) ++start;
    if (start <= end) out[produced++] = Run{start, std::max(end, start + 1)};
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
    std::memset(row + first + 1, 0xFF, static_cast<std::size_t>(last - first - 1));
    row[last] |= tail;
  }
}

}  // namespace monoimg
