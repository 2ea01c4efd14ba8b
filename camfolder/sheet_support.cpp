#include "sheet_support.h"

#include <shellapi.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "module_state.h"
#include "module_strings.h"
#include "resource_ids.h"
#include "sheet_values.h"

namespace camfolder {

std::string FormatModuleString(unsigned id, const char *fallback, ...) {
  const std::string format = ModuleStringOr(id, fallback);
  va_list arguments;
  va_start(arguments, fallback);
  va_list measuring;
  va_copy(measuring, arguments);
  const int length = std::vsnprintf(nullptr, 0, format.c_str(), measuring);
  va_end(measuring);
  std::string text;
  if (length > 0) {
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format.c_str(), arguments);
    text.assign(buffer.data(), static_cast<size_t>(length));
  }
  va_end(arguments);
  return text;
}

namespace {

std::string LocaleText(LCTYPE type) {
  char text[16] = "";
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text) <= 0) return std::string();
  return text;
}

UINT LocaleNumber(LCTYPE type) {
  DWORD value = 0;
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type | LOCALE_RETURN_NUMBER, reinterpret_cast<LPSTR>(&value),
                     sizeof value / sizeof(char)) <= 0)
    return 0;
  return value;
}

}  // namespace

std::string GroupedNumber(uint64_t value) {
  const std::string digits = DecimalDigits(value);
  // The user's number format, given explicitly: Wine groups a locale's
  // "3;0" only once ("48000,000") unless the grouping is spelled out.
  std::string decimal = LocaleText(LOCALE_SDECIMAL);
  std::string thousand = LocaleText(LOCALE_STHOUSAND);
  NUMBERFMTA format{};
  format.NumDigits = LocaleNumber(LOCALE_IDIGITS);
  format.LeadingZero = LocaleNumber(LOCALE_ILZERO);
  format.Grouping = NumberGrouping(LocaleText(LOCALE_SGROUPING));
  format.lpDecimalSep = decimal.data();
  format.lpThousandSep = thousand.data();
  format.NegativeOrder = LocaleNumber(LOCALE_INEGNUMBER);
  char formatted[64];
  if (GetNumberFormatA(LOCALE_USER_DEFAULT, 0, digits.c_str(), &format, formatted, sizeof formatted) <= 0)
    return digits;
  return CutAtDecimal(formatted, decimal);
}

std::string ByteCount(uint64_t bytes) { return GroupedNumber(bytes) + ModuleStringOr(IDS_SIZE_UNIT, " bytes"); }

std::string SizeLine(uint64_t bytes) {
  return FormatModuleString(IDS_SIZE_LINE, "%s (%s bytes)", SizeText(bytes).c_str(), GroupedNumber(bytes).c_str());
}

std::string CountsLine(uint64_t files, uint64_t folders) {
  return FormatModuleString(IDS_COUNTS_LINE, "Files: %s, Folders: %s", GroupedNumber(files).c_str(),
                            GroupedNumber(folders).c_str());
}

std::string DateTimeText(const CameraTime &time) {
  SYSTEMTIME system;
  static_assert(sizeof system == sizeof time);
  std::memcpy(&system, &time, sizeof system);
  char date[128];
  char clock[64];
  // A camera may report a time that is no date; the locale functions refuse it.
  if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &system, nullptr, date, sizeof date) <= 0 ||
      GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &system, nullptr, clock, sizeof clock) <= 0)
    return ModuleStringOr(IDS_UNKNOWN, "(unknown)");
  return FormatModuleString(IDS_DATE_TIME, "%s %s", date, clock);
}

ShellTypeInfo ShellTypeOf(const std::string &name, DWORD fileAttributes) {
  SHFILEINFOA info{};
  ShellTypeInfo result;
  if (SHGetFileInfoA(name.c_str(), fileAttributes, &info, sizeof info,
                     SHGFI_ICON | SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES)) {
    result.icon.reset(info.hIcon);
    result.typeName = info.szTypeName;
  }
  return result;
}

std::string ShellTypeName(const std::string &name, DWORD fileAttributes) {
  SHFILEINFOA info{};
  if (!SHGetFileInfoA(name.c_str(), fileAttributes, &info, sizeof info, SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES))
    return std::string();
  return info.szTypeName;
}

void SetControlText(HWND page, int control, const std::string &text) { SetDlgItemTextA(page, control, text.c_str()); }

void MarkPageChanged(HWND page) { PropSheet_Changed(GetParent(page), page); }

INT_PTR PageResult(HWND page, LONG_PTR result) {
  SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
  return TRUE;
}

PROPSHEETPAGEA MakePage(unsigned templateId, DLGPROC procedure, void *data) {
  PROPSHEETPAGEA page{};
  // Pages handed over as an array are read at the stride of the structure.
  page.dwSize = sizeof page;
  page.hInstance = ModuleInstance();
  page.pszTemplate = MAKEINTRESOURCEA(templateId);
  page.pfnDlgProc = procedure;
  page.lParam = reinterpret_cast<LPARAM>(data);
  return page;
}

INT_PTR ShowPageSheet(HWND owner, const std::string &caption, std::span<PROPSHEETPAGEA> pages) {
  if (pages.empty()) return -1;
  PROPSHEETHEADERA sheet{};
  sheet.dwSize = kSheetSizeV1;
  sheet.dwFlags = PSH_PROPSHEETPAGE | PSH_PROPTITLE;
  sheet.hwndParent = owner;
  sheet.hInstance = ModuleInstance();
  sheet.pszCaption = caption.c_str();
  sheet.nPages = static_cast<UINT>(pages.size());
  sheet.ppsp = pages.data();
  return PropertySheetA(&sheet);
}

}  // namespace camfolder
