// What the property pages share: the texts made from numbers, sizes and
// times in the user's locale, the shell's icon and type name of a name, and
// the modal sheet around a set of pages.
#pragma once

#include <windows.h>
#include <prsht.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "camera_item.h"
#include "win_raii.h"

namespace camfolder {

// The sizes of the page structure: the first layout (before common controls
// 4.71) and the one with the wizard header texts.
constexpr UINT kPageSizeV1 = offsetof(PROPSHEETPAGEA, pcRefParent) + sizeof(UINT *);
constexpr UINT kPageSizeV2 = offsetof(PROPSHEETPAGEA, pszHeaderSubTitle) + sizeof(LPCSTR);
constexpr UINT kSheetSizeV1 = offsetof(PROPSHEETHEADERA, pfnCallback) + sizeof(PFNPROPSHEETCALLBACK);
#ifndef _WIN64
static_assert(kPageSizeV1 == 40 && kPageSizeV2 == 48 && kSheetSizeV1 == 40);
#endif

// A string-table format filled with the arguments; the fallback format when
// the string cannot be loaded.
std::string FormatModuleString(unsigned id, const char *fallback, ...);

// The number grouped as the user's locale groups it, without decimals ("1,500").
std::string GroupedNumber(uint64_t value);
// "1,500 バイト"
std::string ByteCount(uint64_t bytes);
// "1.46KB (1,500 バイト)"
std::string SizeLine(uint64_t bytes);
// "ファイル数 : 3、 フォルダ数 : 1"
std::string CountsLine(uint64_t files, uint64_t folders);
// The long date and the time in the user's locale; "(不明)" for a time that
// is no date.
std::string DateTimeText(const CameraTime &time);

// The shell's icon and type name for a name with these file attributes
// (FILE_ATTRIBUTE_DIRECTORY for folders).
struct ShellTypeInfo {
  unique_hicon icon;
  std::string typeName;
};
ShellTypeInfo ShellTypeOf(const std::string &name, DWORD fileAttributes);
std::string ShellTypeName(const std::string &name, DWORD fileAttributes);

void SetControlText(HWND page, int control, const std::string &text);

// The page's own data, given to the page procedure in the page structure.
template <typename Data>
Data *PageData(HWND page) {
  return reinterpret_cast<Data *>(GetWindowLongPtrA(page, DWLP_USER));
}
template <typename Data>
Data *TakePageData(HWND page, LPARAM initParam) {
  auto *data = reinterpret_cast<Data *>(reinterpret_cast<const PROPSHEETPAGEA *>(initParam)->lParam);
  SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(data));
  return data;
}

// Tells the sheet that the page has changes to apply.
void MarkPageChanged(HWND page);

// Answers a notification of the sheet.
INT_PTR PageResult(HWND page, LONG_PTR result);

// A page of this module's templates with its procedure and data.
PROPSHEETPAGEA MakePage(unsigned templateId, DLGPROC procedure, void *data);

// Shows the pages in a modal sheet with PSH_PROPTITLE and the caption; the
// result of PropertySheetA, -1 when the sheet cannot be made.
INT_PTR ShowPageSheet(HWND owner, const std::string &caption, std::span<PROPSHEETPAGEA> pages);

}  // namespace camfolder
