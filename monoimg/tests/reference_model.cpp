#include "reference_model.h"

#include <algorithm>

namespace ref {
namespace {

// value * num / den exactly, for value >= 0, whatever the product's size.
#ifdef __SIZEOF_INT128__
i64 muldiv(i64 value, std::uint64_t num, std::uint64_t den) {
  using u128 = unsigned __int128;
  return static_cast<i64>(static_cast<u128>(value) * num / den);
}
#else
// 32-bit targets have no 128-bit integers: the product in two halves, then
// long division one bit at a time.
i64 muldiv(i64 value, std::uint64_t num, std::uint64_t den) {
  const std::uint64_t v = static_cast<std::uint64_t>(value);
  const std::uint64_t a = v >> 32, b = v & 0xFFFFFFFF, c = num >> 32, d = num & 0xFFFFFFFF;
  const std::uint64_t bd = b * d, ad = a * d, bc = b * c;
  const std::uint64_t middle = (bd >> 32) + (ad & 0xFFFFFFFF) + (bc & 0xFFFFFFFF);
  std::uint64_t high = a * c + (ad >> 32) + (bc >> 32) + (middle >> 32);
  std::uint64_t low = (middle << 32) | (bd & 0xFFFFFFFF);
  std::uint64_t quotient = 0, remainder = 0;
  for (int bit = 127; bit >= 0; --bit) {
    const bool carry = remainder >> 63;
    remainder = remainder << 1 | ((bit >= 64 ? high >> (bit - 64) : low >> bit) & 1);
    quotient <<= 1;
    if (carry || remainder >= den) {
      remainder -= den;
      quotient |= 1;
    }
  }
  return static_cast<i64>(quotient);
}
#endif

bool negative_dimension(const Args& a) {
  return a.dstWidth < 0 || a.dstHeight < 0 || a.srcWidth < 0 || a.srcHeight < 0;
}

void write(std::uint8_t* image, i64 stride, i64 x, i64 y, bool value, int rop) {
  if (rop == 1)
    value = value || get_pixel(image, stride, x, y);
  put_pixel(image, stride, x, y, value);
}

// Pixels of a row rendered from runs, `width` wide.
std::vector<bool> render(const std::vector<Run>& runs, i64 width) {
  std::vector<bool> row(static_cast<size_t>(width));
  for (const Run& r : runs)
    for (i64 x = r.start; x < r.end && x < width; ++x) row[x] = true;
  return row;
}

// The scaled segment of source row `y`, as the zoom reads it.
std::vector<bool> scaled_row(const Args& a, i64 srcX, i64 n, i64 y, std::uint64_t num, std::uint64_t den,
                             i64 width) {
  const std::uint8_t* row = a.src + y * plain_stride(a.srcWidth);
  const i64 offset = srcX % 8;
  return render(scale_runs(runs_of(row, srcX - offset, offset + n), offset, n, num, den), width);
}

struct Sanitised {
  std::uint64_t xNum, xDen, yNum, yDen;
};

Sanitised sanitise(Ratios r, bool limit) {
  Sanitised s{r.xNum, r.xDen, r.yNum, r.yDen};
  if (s.xNum == 0 || s.xDen == 0 || (limit && s.xNum > 65536)) s.xNum = s.xDen = 1;
  if (s.yNum == 0 || s.yDen == 0 || (limit && s.yNum > 65536)) s.yNum = s.yDen = 1;
  return s;
}

// The zoom's clipping, step by step: negative source positions become 0,
// destination positions before the edge skip source pixels, and the segment
// shrinks one pixel at a time until its zoomed size fits.
struct Clip {
  i64 srcX, srcY, dstX, dstY, n, m;
};

Clip clip_zoom(const Args& a, const Sanitised& r) {
  Clip c{std::max<i64>(a.srcX, 0), std::max<i64>(a.srcY, 0), a.dstX, a.dstY, 0, 0};
  c.n = std::min(a.srcWidth - c.srcX, a.width);
  c.m = std::min(a.srcHeight - c.srcY, a.height);
  if (c.dstX < 0) {
    const i64 k = muldiv(-c.dstX, r.xDen, r.xNum);
    c.n -= k;
    c.srcX += k;
    c.dstX = 0;
  }
  if (c.dstY < 0) {
    const i64 k = muldiv(-c.dstY, r.yDen, r.yNum);
    c.m -= k;
    c.srcY += k;
    c.dstY = 0;
  }
  while (c.n > 0 && muldiv(c.n, r.xNum, r.xDen) > a.dstWidth - c.dstX) --c.n;
  while (c.m > 0 && muldiv(c.m, r.yNum, r.yDen) > a.dstHeight - c.dstY) --c.m;
  return c;
}

}  // namespace

std::vector<Run> runs_of(const std::uint8_t* row, i64 first, i64 length) {
  std::vector<Run> runs;
  for (i64 x = 0; x < length; ++x) {
    if (!get_pixel(row, 0, first + x, 0)) continue;
    if (!runs.empty() && runs.back().end == x)
      runs.back().end = x + 1;
    else
      runs.push_back({x, x + 1});
  }
  return runs;
}

std::vector<Run> scale_runs(const std::vector<Run>& runs, i64 a, i64 n, std::uint64_t c, std::uint64_t d) {
  const i64 f = muldiv(n, c, d);
  std::vector<Run> out;
  for (const Run& r : runs) {
    if (r.end <= a) continue;
    if (r.start >= a + n) break;
    if (out.empty()) {
      Run first{muldiv(std::max<i64>(r.start - a, 0), c, d), muldiv(r.end - a, c, d)};
      if (first.start == first.end) ++first.end;
      out.push_back(first);
      continue;
    }
    i64 i = muldiv(r.start - a, c, d);
    const i64 j = muldiv(r.end - a, c, d);
    if (c >= d) {
      out.push_back({i, j});
      continue;
    }
    if (i >= out.back().end) {
      if (i == out.back().end) ++i;
      if (i < j)
        out.push_back({i, j});
      else if (i == j)
        out.push_back({i, i + 1});
    } else {
      out.back().end = std::max(out.back().end, j);
    }
  }
  while (!out.empty() && out.back().start >= f) out.pop_back();
  if (!out.empty()) out.back().end = std::min(out.back().end, f);
  return out;
}

int bit_blt(const Args& a, int rop) {
  const i64 srcX = std::max<i64>(a.srcX, 0), srcY = std::max<i64>(a.srcY, 0);
  const i64 columns = std::min(a.srcWidth - srcX, a.width);
  const i64 rows = std::min(a.srcHeight - srcY, a.height);
  for (i64 v = std::max<i64>(0, -a.dstY); v < rows && a.dstY + v < a.dstHeight; ++v)
    for (i64 u = std::max<i64>(0, -a.dstX); u < columns && a.dstX + u < a.dstWidth; ++u)
      write(a.dst, plain_stride(a.dstWidth), a.dstX + u, a.dstY + v,
            get_pixel(a.src, plain_stride(a.srcWidth), srcX + u, srcY + v), rop);
  return 0;
}

int bit_blt_to_dib(const Args& a) {
  const i64 dstStride = dib_stride(a.dstWidth), srcStride = plain_stride(a.srcWidth);
  // Every pixel whose source and destination lie inside the stored rows.
  const i64 u0 = std::max<i64>({0, -a.srcX, -a.dstX});
  const i64 u1 = std::min<i64>({a.width, srcStride * 8 - a.srcX, dstStride * 8 - a.dstX});
  const i64 v0 = std::max<i64>({0, -a.srcY, -a.dstY});
  const i64 v1 = std::min<i64>({a.height, a.srcHeight - a.srcY, a.dstHeight - a.dstY});
  for (i64 v = v0; v < v1; ++v)
    for (i64 u = u0; u < u1; ++u)
      put_pixel(a.dst, dstStride, a.dstX + u, a.dstHeight - 1 - (a.dstY + v),
                get_pixel(a.src, srcStride, a.srcX + u, a.srcY + v));
  return 0;
}

int invert(std::uint8_t* image, i64 width, i64 height, i64 x, i64 y, i64 w, i64 h, int rop) {
  if (rop != 2) return 10000;
  const i64 stride = plain_stride(width);
  for (i64 py = std::max<i64>(y, 0); py < y + h && py < height; ++py)
    for (i64 px = std::max<i64>(x, 0); px < x + w && px < width; ++px)
      put_pixel(image, stride, px, py, !get_pixel(image, stride, px, py));
  return 0;
}

int zoom(const Args& a, Ratios ratios, int rop) {
  if (negative_dimension(a)) return 10000;
  const Sanitised r = sanitise(ratios, true);
  if (r.xNum == 1 && r.xDen == 1 && r.yNum == 1 && r.yDen == 1) return bit_blt(a, rop);
  const Clip c = clip_zoom(a, r);
  const i64 srcX = c.srcX, srcY = c.srcY, dstX = c.dstX, dstY = c.dstY, n = c.n, m = c.m;
  if (n <= 0 || m <= 0) return 0;
  const i64 W = muldiv(n, r.xNum, r.xDen), R = muldiv(m, r.yNum, r.yDen);
  for (i64 i = 0; i < R; ++i) {
    const i64 y = std::min(srcY + muldiv(i, r.yDen, r.yNum), a.srcHeight - 1);
    const std::vector<bool> row = scaled_row(a, srcX, n, y, r.xNum, r.xDen, W);
    for (i64 x = 0; x < W; ++x) write(a.dst, plain_stride(a.dstWidth), dstX + x, dstY + i, row[x], rop);
  }
  return 0;
}

int zoom_to_gray(const Args& a, Ratios ratios, int mode) {
  if (negative_dimension(a)) return 10000;
  const Sanitised r = sanitise(ratios, false);
  const Clip c = clip_zoom(a, r);
  const i64 srcX = c.srcX, srcY = c.srcY, dstX = c.dstX, dstY = c.dstY, n = c.n, m = c.m;
  if (n <= 0 || m <= 0) return 0;
  if (mode <= 0) {
    Args clipped = a;
    clipped.dstX = dstX;
    clipped.dstY = dstY;
    clipped.srcX = srcX;
    clipped.srcY = srcY;
    clipped.width = n;
    clipped.height = m;
    return zoom(clipped, ratios, 0);
  }
  const int across = mode == 1 ? 2 : 4;
  const int down = mode >= 3 ? 4 : 2;
  const i64 W = muldiv(n, r.xNum, r.xDen), R = muldiv(m, r.yNum, r.yDen);
  for (i64 i = 0; i < R; ++i) {
    std::vector<int> counts(static_cast<size_t>(W));
    for (int k = 0; k < down; ++k) {
      const i64 y = std::min(srcY + muldiv(down * i + k, r.yDen, down * r.yNum), a.srcHeight - 1);
      const std::vector<bool> samples = scaled_row(a, srcX, n, y, across * r.xNum, r.xDen, across * W);
      for (i64 x = 0; x < across * W; ++x) counts[x / across] += samples[x];
    }
    for (i64 x = 0; x < W; ++x) {
      const i64 px = dstX + x;
      if (mode >= 3) {
        a.dst[(dstY + i) * a.dstWidth + px] = static_cast<std::uint8_t>(counts[x]);
        continue;
      }
      std::uint8_t& byte = a.dst[(dstY + i) * ((a.dstWidth + 1) / 2) + px / 2];
      byte = static_cast<std::uint8_t>(px % 2 == 0 ? (byte & 0x0F) | counts[x] << 4 : (byte & 0xF0) | counts[x]);
    }
  }
  return 0;
}

int rotate(const Args& a, int rop, int angle) {
  angle = static_cast<std::uint16_t>(angle);
  if (angle != 90 && angle != 180 && angle != 270) return bit_blt(a, rop);
  const i64 srcX = std::max<i64>(a.srcX, 0), srcY = std::max<i64>(a.srcY, 0);
  const i64 W = std::min(a.srcWidth - srcX, a.width), H = std::min(a.srcHeight - srcY, a.height);
  struct Target {
    i64 x, y;
  };
  auto target = [&](i64 u, i64 v) {
    if (angle == 90) return Target{a.dstX + v, a.dstY + W - 1 - u};
    if (angle == 270) return Target{a.dstX + H - 1 - v, a.dstY + u};
    return Target{a.dstX + W - 1 - u, a.dstY + H - 1 - v};
  };
  auto inside = [&](Target t) { return t.x >= 0 && t.y >= 0 && t.x < a.dstWidth && t.y < a.dstHeight; };
  // The source columns that land anywhere decide the width of a row segment.
  i64 firstU = -1, lastU = -1;
  for (i64 u = 0; u < W; ++u)
    for (i64 v = 0; v < H; ++v)
      if (inside(target(u, v))) {
        if (firstU < 0) firstU = u;
        lastU = u;
        break;
      }
  if (firstU < 0) return 0;
  const i64 segmentBytes = ((srcX + firstU) % 8 + lastU - firstU + 1 + 7) / 8;
  if (segmentBytes > (angle == 180 ? 4096 : 8192)) return -1;
  for (i64 v = 0; v < H; ++v)
    for (i64 u = 0; u < W; ++u) {
      const Target t = target(u, v);
      if (inside(t))
        write(a.dst, plain_stride(a.dstWidth), t.x, t.y,
              get_pixel(a.src, plain_stride(a.srcWidth), srcX + u, srcY + v), rop);
    }
  return 0;
}

int zoom_rotate(const Args& a, Ratios ratios, int rop, int angle) {
  if (negative_dimension(a)) return 10000;
  const Sanitised r = sanitise(ratios, true);
  const i64 srcX = std::max<i64>(a.srcX, 0), srcY = std::max<i64>(a.srcY, 0);
  const i64 W = std::min(a.srcWidth - srcX, a.width), H = std::min(a.srcHeight - srcY, a.height);
  if (W <= 0 || H <= 0) return 0;
  const bool quarter = static_cast<std::uint16_t>(angle) == 90 || static_cast<std::uint16_t>(angle) == 270;
  const Ratios given{static_cast<std::uint32_t>(r.xNum), static_cast<std::uint32_t>(r.xDen),
                     static_cast<std::uint32_t>(r.yNum), static_cast<std::uint32_t>(r.yDen)};
  if (r.xDen * r.yDen < r.xNum * r.yNum) {
    const i64 tw = quarter ? H : W, th = quarter ? W : H;
    std::vector<std::uint8_t> temp(static_cast<size_t>(plain_stride(tw) * th));
    const int rotated = rotate(Args{temp.data(), tw, th, 0, 0, a.src, a.srcWidth, a.srcHeight, srcX, srcY, W, H},
                               0, angle);
    if (rotated != 0) return rotated;
    const Ratios turned = quarter ? Ratios{given.yNum, given.yDen, given.xNum, given.xDen} : given;
    return zoom(Args{a.dst, a.dstWidth, a.dstHeight, a.dstX, a.dstY, temp.data(), tw, th, 0, 0, tw, th}, turned,
                rop);
  }
  const i64 tw = muldiv(W, r.xNum, r.xDen), th = muldiv(H, r.yNum, r.yDen);
  if (tw <= 0 || th <= 0) return 0;
  std::vector<std::uint8_t> temp(static_cast<size_t>(plain_stride(tw) * th));
  zoom(Args{temp.data(), tw, th, 0, 0, a.src, a.srcWidth, a.srcHeight, srcX, srcY, W, H}, given, 0);
  return rotate(Args{a.dst, a.dstWidth, a.dstHeight, a.dstX, a.dstY, temp.data(), tw, th, 0, 0, tw, th}, rop,
                angle);
}

}  // namespace ref
