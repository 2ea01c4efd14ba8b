#include "core/command_rules.h"

#include <cstdio>
#include <cstring>
#include <unordered_set>

namespace {

constexpr unsigned kLastFolderNumber = 99999;

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char &c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

std::string FolderName(unsigned number) {
  char name[16];
  std::snprintf(name, sizeof name, "%s%05u", "NEW", number);
  return name;
}

}  // namespace

std::optional<std::string> NewFolderName(const std::vector<std::string> &entries) {
  std::unordered_set<std::string> taken;
  for (const std::string &entry : entries) taken.insert(Upper(entry));
  for (unsigned number = 1; number <= kLastFolderNumber; ++number) {
    std::string name = FolderName(number);
    if (!taken.count(name)) return name;
  }
  return std::nullopt;
}

bool IsCameraConfiguration(std::span<const uint8_t> bytes, std::string_view firstModel, std::string_view secondModel) {
  constexpr size_t kCompared = 4;
  if (bytes.size() < firstModel.size() + 2 || bytes.size() < kCompared) return false;
  const auto begins = [&](std::string_view model) {
    // The name as the C string it is stored as: zeros after it.
    char expected[kCompared] = {};
    std::memcpy(expected, model.data(), model.size() < kCompared ? model.size() : kCompared);
    return std::memcmp(bytes.data(), expected, kCompared) == 0;
  };
  return begins(firstModel) || begins(secondModel);
}

std::string ProtectedEntryText(std::string_view path) {
  const size_t last = path.rfind('/');
  if (last == std::string_view::npos || last == 0) return std::string(path);
  const size_t before = path.rfind('/', last - 1);
  if (before == std::string_view::npos) return std::string(path);
  return std::string(path.substr(before + 1));
}
