#include "core/shell_blocks.h"

#include <cstring>

#include "core/item_list.h"

namespace {

uint32_t Read32(std::span<const uint8_t> bytes, size_t offset) {
  uint32_t value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

void Append32(std::vector<uint8_t> &bytes, uint32_t value) {
  const auto *raw = reinterpret_cast<const uint8_t *>(&value);
  bytes.insert(bytes.end(), raw, raw + sizeof value);
}

// The zero-terminated texts from offset on, up to an empty one; nullopt when
// one runs past the block.
template <typename Char>
std::optional<std::vector<std::basic_string<Char>>> ReadTexts(std::span<const uint8_t> block, size_t offset) {
  std::vector<std::basic_string<Char>> texts;
  std::basic_string<Char> text;
  for (; offset + sizeof(Char) <= block.size(); offset += sizeof(Char)) {
    Char c;
    std::memcpy(&c, block.data() + offset, sizeof c);
    if (c != 0) {
      text.push_back(c);
    } else if (text.empty()) {
      return texts;
    } else {
      texts.push_back(std::move(text));
      text.clear();
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<uint8_t> MakeDropFiles(const std::vector<std::string> &paths) {
  std::vector<uint8_t> block;
  Append32(block, kDropFilesHeader);
  block.resize(kDropFilesHeader, 0);
  for (const std::string &path : paths) block.insert(block.end(), path.c_str(), path.c_str() + path.size() + 1);
  block.push_back(0);
  return block;
}

std::optional<DroppedPaths> ReadDropFiles(std::span<const uint8_t> block) {
  if (block.size() < kDropFilesHeader) return std::nullopt;
  const uint32_t files = Read32(block, 0);
  if (files < kDropFilesHeader || files >= block.size()) return std::nullopt;
  DroppedPaths paths;
  paths.wide = Read32(block, 16) != 0;
  if (paths.wide) {
    auto texts = ReadTexts<char16_t>(block, files);
    if (!texts) return std::nullopt;
    paths.unicode = std::move(*texts);
  } else {
    auto texts = ReadTexts<char>(block, files);
    if (!texts) return std::nullopt;
    paths.ansi = std::move(*texts);
  }
  return paths;
}

std::vector<uint8_t> MakeIdListArray(std::span<const uint8_t> parent,
                                     const std::vector<std::vector<uint8_t>> &children) {
  const uint32_t count = static_cast<uint32_t>(children.size());
  std::vector<uint8_t> block;
  Append32(block, count);
  uint32_t offset = 4 * count + 8;
  Append32(block, offset);
  offset += static_cast<uint32_t>(parent.size());
  for (const auto &child : children) {
    Append32(block, offset);
    offset += static_cast<uint32_t>(child.size());
  }
  block.insert(block.end(), parent.begin(), parent.end());
  for (const auto &child : children) block.insert(block.end(), child.begin(), child.end());
  return block;
}

std::optional<IdListArray> ReadIdListArray(std::span<const uint8_t> block) {
  if (block.size() < 8) return std::nullopt;
  const uint32_t count = Read32(block, 0);
  // The count and its offsets must fit before anything they point to.
  if (count > (block.size() - 8) / 4) return std::nullopt;
  auto listAt = [&](size_t index) -> std::optional<std::span<const uint8_t>> {
    const uint32_t offset = Read32(block, 4 + 4 * index);
    if (offset < 4 * uint64_t{count} + 8 || offset >= block.size()) return std::nullopt;
    const std::span<const uint8_t> rest = block.subspan(offset);
    const auto size = ListSize(rest);
    if (!size) return std::nullopt;
    return rest.first(*size);
  };
  IdListArray result;
  const auto parent = listAt(0);
  if (!parent) return std::nullopt;
  result.parent = *parent;
  for (uint32_t i = 1; i <= count; ++i) {
    const auto child = listAt(i);
    if (!child) return std::nullopt;
    result.children.push_back(*child);
  }
  return result;
}
