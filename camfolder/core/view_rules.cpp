#include "core/view_rules.h"

#include <cstdio>
#include <cstring>

#include "core/local_names.h"

namespace {

constexpr char kSignature[8] = {'Z', 'L', '1', 'V', 0, 0, 0, 0};

int Sign(int64_t value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

int CompareTimes(const CameraTime &a, const CameraTime &b) {
  const uint16_t left[] = {a.year, a.month, a.day, a.hour, a.minute, a.second, a.milliseconds};
  const uint16_t right[] = {b.year, b.month, b.day, b.hour, b.minute, b.second, b.milliseconds};
  for (size_t i = 0; i < std::size(left); ++i)
    if (left[i] != right[i]) return left[i] < right[i] ? -1 : 1;
  return 0;
}

bool IsFolder(const CameraItem &item) { return item.kind == kFolderItem; }

}  // namespace

std::optional<std::array<uint32_t, kViewColumns>> ReadViewState(std::span<const uint8_t> record) {
  if (record.size() != kViewStateSize || std::memcmp(record.data(), kSignature, sizeof kSignature) != 0)
    return std::nullopt;
  std::array<uint32_t, kViewColumns> widths;
  std::memcpy(widths.data(), record.data() + sizeof kSignature, sizeof widths);
  return widths;
}

std::array<uint8_t, kViewStateSize> MakeViewState(const std::array<uint32_t, kViewColumns> &widths) {
  std::array<uint8_t, kViewStateSize> record{};
  std::memcpy(record.data(), kSignature, sizeof kSignature);
  std::memcpy(record.data() + sizeof kSignature, widths.data(), sizeof widths);
  return record;
}

std::string ListedName(std::string_view displayName, bool showExtensions) {
  if (!displayName.empty() && displayName.back() == '/') displayName.remove_suffix(1);
  const size_t slash = displayName.rfind('/');
  if (slash != std::string_view::npos) displayName.remove_prefix(slash + 1);
  // A program keeps its whole name: "PHOTO.JPG.EXE" must not pass for a picture.
  if (!showExtensions && !IsProgramName(displayName)) displayName = displayName.substr(0, displayName.find('.'));
  return std::string(displayName);
}

std::string SizeColumnText(const CameraItem &item) {
  if (item.kind != kFileItem) return {};
  char text[16];
  std::snprintf(text, sizeof text, "%uKB", static_cast<unsigned>((uint64_t{item.size} + 1023) / 1024));
  return text;
}

std::string AttributeColumnText(uint32_t attributes) {
  std::string text;
  if (attributes & 0x01) text += 'R';
  if (attributes & 0x02) text += 'H';
  if (attributes & 0x04) text += 'S';
  if (attributes & 0x20) text += 'A';
  return text;
}

int CompareForView(uint32_t sortValue, bool atRoot, const CameraItem &a, const CameraItem &b,
                   const TextCompare &compareText, const std::function<int()> &compareTypes) {
  const int direction = (sortValue & kSortDescending) ? -1 : 1;
  const uint32_t column = sortValue & ~kSortDescending;
  int order = 0;
  if (atRoot) {
    order = column == kSortSize ? Sign(int64_t{a.size} - int64_t{b.size}) : Sign(compareText(a.path, b.path));
  } else if (IsFolder(a) != IsFolder(b)) {
    order = IsFolder(a) ? -1 : 1;
  } else {
    switch (column) {
      case kSortSize:
        order = IsFolder(a) ? 0 : Sign(int64_t{a.size} - int64_t{b.size});
        break;
      case kSortType:
        order = IsFolder(a) ? 0 : Sign(compareTypes());
        break;
      case kSortDate:
        order = CompareTimes(b.time, a.time);
        break;
      default:
        order = Sign(compareText(a.name, b.name));
    }
  }
  return order * direction;
}

uint32_t SortAfterClick(uint32_t current, uint32_t column) {
  if ((current & ~kSortDescending) == column) return current ^ kSortDescending;
  return column;
}

WheelScroll ScrollForWheel(int delta, int mode, int lines, int clientHeight) {
  const int notches = delta / 120;
  // Positive deltas scroll up, or left in list mode.
  if (mode == 3) return {-(lines == -1 ? notches : notches * lines), 0};
  if (lines == -1) return {0, -notches * clientHeight};
  return {0, -notches * lines * (mode == 1 ? 32 : 16)};
}
