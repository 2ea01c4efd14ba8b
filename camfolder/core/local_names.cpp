#include "core/local_names.h"

#include <cstring>

#include "core/camera_path.h"

bool IsDeviceName(std::string_view name) {
  // Windows looks at the part before the first dot, trailing blanks ignored.
  std::string base = FoldedCameraText(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

bool IsProgramName(std::string_view name) {
  static constexpr std::string_view kPrograms[] = {
      "EXE", "COM", "BAT", "CMD", "PIF", "SCR", "CPL", "MSI", "MSP", "MSC", "JAR", "VB",  "VBS", "VBE",
      "JS",  "JSE", "WS",  "WSF", "WSC", "WSH", "HTA", "PS1", "REG", "INF", "LNK", "URL", "SCF", "SHS"};
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string type = FoldedCameraText(name.substr(dot + 1));
  for (const std::string_view program : kPrograms)
    if (type == program) return true;
  return false;
}

std::optional<std::string> SafeLocalName(std::string_view cameraName) {
  if (!IsUsableEntryName(cameraName)) return std::nullopt;
  std::string name(cameraName);
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  for (char &c : name)
    if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>\"?*", c)) c = '_';
  if (name.empty() || IsDeviceName(name)) name.insert(0, "_");
  return name;
}

bool LocalNameSet::Taken(const std::string &name) const { return taken_.count(FoldedCameraText(name)) != 0; }

std::optional<std::string> LocalNameSet::Take(std::string_view cameraName) {
  const auto safe = SafeLocalName(cameraName);
  if (!safe) return std::nullopt;
  std::string name = *safe;
  const size_t dot = safe->rfind('.');
  const std::string base = dot == std::string::npos || dot == 0 ? *safe : safe->substr(0, dot);
  const std::string extension = safe->substr(base.size());
  for (unsigned n = 2; Taken(name); ++n) name = base + " (" + std::to_string(n) + ")" + extension;
  taken_.insert(FoldedCameraText(name));
  return name;
}
