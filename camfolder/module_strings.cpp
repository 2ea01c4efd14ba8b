#include "module_strings.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "module_state.h"
#include "resource_ids.h"
#include "size_text.h"

namespace camfolder {

std::optional<std::string> LoadModuleString(unsigned id, size_t bufferSize) {
  std::vector<char> text(bufferSize);
  const int length = LoadStringA(ModuleInstance(), id, text.data(), static_cast<int>(text.size()));
  if (length <= 0) return std::nullopt;
  return std::string(text.data(), static_cast<size_t>(length));
}

std::string ModuleStringOr(unsigned id, const char *fallback) {
  return LoadModuleString(id).value_or(fallback);
}

std::optional<std::string> DriveLabel(uint32_t drive) {
  if (drive > 9) return std::nullopt;
  const auto name = LoadModuleString(IDS_DRIVE_NAME + drive);
  if (!name) return std::nullopt;
  const std::string format = ModuleStringOr(IDS_DRIVE_LABEL, "%s (%d:)");
  std::vector<char> label(name->size() + format.size() + 16);
  std::snprintf(label.data(), label.size(), format.c_str(), name->c_str(), static_cast<int>(drive));
  return std::string(label.data());
}

std::string SizeText(uint64_t value) {
  static const char *const kFallbackUnits[] = {" bytes", "KB", "MB", "GB"};
  const SizeTextParts parts = SplitSizeText(value);
  return parts.number + ModuleStringOr(IDS_SIZE_UNIT + parts.unit, kFallbackUnits[parts.unit]);
}

}  // namespace camfolder
