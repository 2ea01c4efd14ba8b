#include "items/module_strings.h"

#include <windows.h>

#include <vector>

#include "core/size_text.h"
#include "core/text_format.h"
#include "items/module_state.h"
#include "resource_ids.h"

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

std::optional<std::wstring> LoadModuleText(unsigned id) {
  // With no buffer the call gives the resource's own text, of any length.
  const wchar_t *stored = nullptr;
  const int length = LoadStringW(ModuleInstance(), id, reinterpret_cast<LPWSTR>(&stored), 0);
  if (length <= 0 || !stored) return std::nullopt;
  return std::wstring(stored, static_cast<size_t>(length));
}

std::wstring ModuleTextOr(unsigned id, const wchar_t *fallback) { return LoadModuleText(id).value_or(fallback); }

std::wstring FormatModuleText(unsigned id, const wchar_t *fallback, std::initializer_list<std::wstring_view> values) {
  return FormatText(ModuleTextOr(id, fallback), values);
}

std::wstring WidenAnsi(std::string_view text) {
  if (text.empty()) return std::wstring();
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::optional<std::wstring> DriveLabelText(uint32_t drive) {
  if (drive > 9) return std::nullopt;
  const auto name = LoadModuleText(IDS_DRIVE_NAME + drive);
  if (!name) return std::nullopt;
  return FormatModuleText(IDS_DRIVE_LABEL, L"%s (%d:)", {*name, std::to_wstring(drive)});
}

std::optional<std::string> ExactAnsi(std::wstring_view text) {
  if (text.empty()) return std::string();
  // A system whose ANSI code page is UTF-8 carries every character, and the
  // conversion refuses to report a lossy one there.
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL lossy = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, utf8 ? nullptr : &lossy);
  if (length <= 0 || lossy) return std::nullopt;
  std::string ansi(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, flags, text.data(), static_cast<int>(text.size()), ansi.data(), length, nullptr,
                      nullptr);
  return ansi;
}

std::optional<std::string> DriveLabel(uint32_t drive) {
  const auto label = DriveLabelText(drive);
  if (!label) return std::nullopt;
  // As LoadStringA would give it: the label is a name in the shell's ANSI calls.
  const int length = WideCharToMultiByte(CP_ACP, 0, label->c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::vector<char> ansi(static_cast<size_t>(length > 0 ? length : 1), '\0');
  if (length > 0) WideCharToMultiByte(CP_ACP, 0, label->c_str(), -1, ansi.data(), length, nullptr, nullptr);
  return std::string(ansi.data());
}

std::wstring SizeText(uint64_t value) {
  static const wchar_t *const kFallbackUnits[] = {L" bytes", L"KB", L"MB", L"GB"};
  const SizeTextParts parts = SplitSizeText(value);
  return WidenAnsi(parts.number) + ModuleTextOr(IDS_SIZE_UNIT + parts.unit, kFallbackUnits[parts.unit]);
}

}  // namespace camfolder
