// The folder view's rules that need no Windows: its saved state, the texts
// of its columns, the order of its items and how far the wheel scrolls.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/camera_item.h"

constexpr int kViewColumns = 5;  // name, size, type, modified, attributes

// The view state the browser keeps for the view: "ZL1V", four zero bytes and
// the widths of the five columns, 28 bytes. Anything else is not ours.
constexpr size_t kViewStateSize = 28;
std::optional<std::array<uint32_t, kViewColumns>> ReadViewState(std::span<const uint8_t> record);
std::array<uint8_t, kViewStateSize> MakeViewState(const std::array<uint32_t, kViewColumns> &widths);

// The name the list shows: the text after the last "/" (a trailing "/"
// removed first), without its extension when extensions are hidden, unless
// the name is a program's.
std::string ListedName(std::string_view displayName, bool showExtensions);
// "12KB" for files, nothing for folders and drives.
std::string SizeColumnText(const CameraItem &item);
// "R", "H", "S", "A" for the read-only, hidden, system and archive bits.
std::string AttributeColumnText(uint32_t attributes);

// The column the view sorts by, and the direction in the top bit (set:
// descending), as the list's sort value holds them.
enum SortColumn : uint32_t { kSortName = 0, kSortSize = 1, kSortType = 2, kSortDate = 3 };
constexpr uint32_t kSortDescending = 0x80000000u;

// How two items compare in the view: at the root drives by path or size;
// elsewhere folders before files, then names, sizes, type names or times
// (newer first); all of it turned round when descending. `compareText` is the
// platform's case-insensitive comparison, `compareType` that of type names.
using TextCompare = std::function<int(const char *, const char *)>;
int CompareForView(uint32_t sortValue, bool atRoot, const CameraItem &a, const CameraItem &b,
                   const TextCompare &compareText, const std::function<int()> &compareTypes);

// The sort value after a click on a column: ascending on a new column, the
// other direction on the current one.
uint32_t SortAfterClick(uint32_t current, uint32_t column);

// How far the list scrolls for a wheel turn of `delta` (120 a notch).
struct WheelScroll {
  int dx;
  int dy;
};
// mode: 1 large icons, 2 small icons, 3 list, 4 details; lines per notch, -1
// for a page; clientHeight for page scrolling.
WheelScroll ScrollForWheel(int delta, int mode, int lines, int clientHeight);
