// The two blocks the shell exchanges for a drag: DROPFILES (a 20-byte header
// and zero-terminated paths, ANSI or UTF-16, ended by an empty one) and the
// "Shell IDList Array" (a count, count + 1 offsets, the parent's item list
// and the children's). Blocks from another program are read only within
// their bytes: a malformed one is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

constexpr size_t kDropFilesHeader = 20;

// A DROPFILES block with ANSI paths: header {20, 0, 0, 0, 0}.
std::vector<uint8_t> MakeDropFiles(const std::vector<std::string> &paths);

struct DroppedPaths {
  bool wide = false;
  std::vector<std::string> ansi;        // when !wide
  std::vector<std::u16string> unicode;  // when wide
  size_t size() const { return wide ? unicode.size() : ansi.size(); }
};
std::optional<DroppedPaths> ReadDropFiles(std::span<const uint8_t> block);

// A "Shell IDList Array" of the parent list and the child lists (each with
// its terminator).
std::vector<uint8_t> MakeIdListArray(std::span<const uint8_t> parent,
                                     const std::vector<std::vector<uint8_t>> &children);

struct IdListArray {
  std::span<const uint8_t> parent;
  std::vector<std::span<const uint8_t>> children;
};
std::optional<IdListArray> ReadIdListArray(std::span<const uint8_t> block);
