#include "sheets/sheet_support.h"

#include <shellapi.h>

#include <cstring>
#include <iterator>

#include "core/sheet_values.h"
#include "items/module_state.h"
#include "items/module_strings.h"
#include "resource_ids.h"

namespace camfolder {

namespace {

std::wstring LocaleText(LCTYPE type) {
  wchar_t text[16] = L"";
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, std::size(text)) <= 0) return std::wstring();
  return text;
}

UINT LocaleNumber(LCTYPE type) {
  DWORD value = 0;
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&value),
                     sizeof value / sizeof(wchar_t)) <= 0)
    return 0;
  return value;
}

}  // namespace

std::wstring GroupedNumber(uint64_t value) {
  const std::string digits = DecimalDigits(value);
  // The user's number format, given explicitly: Wine groups a locale's
  // "3;0" only once ("48000,000") unless the grouping is spelled out.
  std::wstring decimal = LocaleText(LOCALE_SDECIMAL);
  std::wstring thousand = LocaleText(LOCALE_STHOUSAND);
  const std::wstring grouping = LocaleText(LOCALE_SGROUPING);
  NUMBERFMTW format{};
  format.NumDigits = LocaleNumber(LOCALE_IDIGITS);
  format.LeadingZero = LocaleNumber(LOCALE_ILZERO);
  format.Grouping = NumberGrouping(std::string(grouping.begin(), grouping.end()));
  format.lpDecimalSep = decimal.data();
  format.lpThousandSep = thousand.data();
  format.NegativeOrder = LocaleNumber(LOCALE_INEGNUMBER);
  const std::wstring wideDigits(digits.begin(), digits.end());
  wchar_t formatted[64];
  if (GetNumberFormatW(LOCALE_USER_DEFAULT, 0, wideDigits.c_str(), &format, formatted, std::size(formatted)) <= 0)
    return wideDigits;
  return CutAtDecimal(formatted, decimal);
}

std::wstring ByteCount(uint64_t bytes) { return GroupedNumber(bytes) + ModuleTextOr(IDS_SIZE_UNIT, L" bytes"); }

std::wstring SizeLine(uint64_t bytes) {
  return FormatModuleText(IDS_SIZE_LINE, L"%s (%s bytes)", {SizeText(bytes), GroupedNumber(bytes)});
}

std::wstring CountsLine(uint64_t files, uint64_t folders) {
  return FormatModuleText(IDS_COUNTS_LINE, L"Files: %s, Folders: %s", {GroupedNumber(files), GroupedNumber(folders)});
}

std::wstring DateTimeText(const CameraTime &time) {
  SYSTEMTIME system;
  static_assert(sizeof system == sizeof time);
  std::memcpy(&system, &time, sizeof system);
  wchar_t date[128];
  wchar_t clock[64];
  // A camera may report a time that is no date; the locale functions refuse it.
  if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &system, nullptr, date, std::size(date)) <= 0 ||
      GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &system, nullptr, clock, std::size(clock)) <= 0)
    return ModuleTextOr(IDS_UNKNOWN, L"(unknown)");
  return FormatModuleText(IDS_DATE_TIME, L"%s %s", {date, clock});
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

void SetControlText(HWND page, int control, const std::wstring &text) { SetDlgItemTextW(page, control, text.c_str()); }

void MarkPageChanged(HWND page) { PropSheet_Changed(GetParent(page), page); }

INT_PTR PageResult(HWND page, LONG_PTR result) {
  SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
  return TRUE;
}

PROPSHEETPAGEW MakePage(unsigned templateId, DLGPROC procedure, void *data) {
  PROPSHEETPAGEW page{};
  // Pages handed over as an array are read at the stride of the structure.
  page.dwSize = sizeof page;
  page.hInstance = ModuleInstance();
  page.pszTemplate = MAKEINTRESOURCEW(templateId);
  page.pfnDlgProc = procedure;
  page.lParam = reinterpret_cast<LPARAM>(data);
  return page;
}

INT_PTR ShowPageSheet(HWND owner, const std::wstring &caption, std::span<PROPSHEETPAGEW> pages) {
  if (pages.empty()) return -1;
  PROPSHEETHEADERW sheet{};
  sheet.dwSize = kSheetSizeV1;
  sheet.dwFlags = PSH_PROPSHEETPAGE | PSH_PROPTITLE;
  sheet.hwndParent = owner;
  sheet.hInstance = ModuleInstance();
  sheet.pszCaption = caption.c_str();
  sheet.nPages = static_cast<UINT>(pages.size());
  sheet.ppsp = pages.data();
  return PropertySheetW(&sheet);
}

}  // namespace camfolder
