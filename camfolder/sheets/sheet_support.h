// What the property pages share: the texts made from numbers, sizes and
// times in the user's locale, the shell's icon and type name of a name, and
// the modal sheet around a set of pages. The sheets are made with the UTF-16
// calls and their texts given as UTF-16, so that they show as stored
// whatever the system's ANSI code page.
#pragma once

#include <windows.h>
#include <prsht.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/camera_item.h"
#include "win_raii.h"

namespace camfolder {

// The sizes of the page structure: the first layout (before common controls
// 4.71) and the one with the wizard header texts.
constexpr UINT kPageSizeV1 = offsetof(PROPSHEETPAGEW, pcRefParent) + sizeof(UINT *);
constexpr UINT kPageSizeV2 = offsetof(PROPSHEETPAGEW, pszHeaderSubTitle) + sizeof(LPCWSTR);
constexpr UINT kSheetSizeV1 = offsetof(PROPSHEETHEADERW, pfnCallback) + sizeof(PFNPROPSHEETCALLBACK);
#ifndef _WIN64
static_assert(kPageSizeV1 == 40 && kPageSizeV2 == 48 && kSheetSizeV1 == 40);
#endif

// The number grouped as the user's locale groups it, without decimals ("1,500").
std::wstring GroupedNumber(uint64_t value);
// "1,500 バイト"
std::wstring ByteCount(uint64_t bytes);
// "1.46KB (1,500 バイト)"
std::wstring SizeLine(uint64_t bytes);
// "ファイル数 : 3、 フォルダ数 : 1"
std::wstring CountsLine(uint64_t files, uint64_t folders);
// The long date and the time in the user's locale; "(不明)" for a time that
// is no date.
std::wstring DateTimeText(const CameraTime &time);

// The shell's icon and type name for a name with these file attributes
// (FILE_ATTRIBUTE_DIRECTORY for folders).
struct ShellTypeInfo {
  unique_hicon icon;
  std::string typeName;
};
ShellTypeInfo ShellTypeOf(const std::string &name, DWORD fileAttributes);
std::string ShellTypeName(const std::string &name, DWORD fileAttributes);

void SetControlText(HWND page, int control, const std::wstring &text);

// The page's own data, given to the page procedure in the page structure.
template <typename Data>
Data *PageData(HWND page) {
  return reinterpret_cast<Data *>(GetWindowLongPtrA(page, DWLP_USER));
}
template <typename Data>
Data *TakePageData(HWND page, LPARAM initParam) {
  auto *data = reinterpret_cast<Data *>(reinterpret_cast<const PROPSHEETPAGEW *>(initParam)->lParam);
  SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(data));
  return data;
}

// Tells the sheet that the page has changes to apply.
void MarkPageChanged(HWND page);

// Answers a notification of the sheet.
INT_PTR PageResult(HWND page, LONG_PTR result);

// A page of this module's templates with its procedure and data.
PROPSHEETPAGEW MakePage(unsigned templateId, DLGPROC procedure, void *data);

// Shows the pages in a modal sheet with PSH_PROPTITLE and the caption; the
// result of PropertySheetW, -1 when the sheet cannot be made.
INT_PTR ShowPageSheet(HWND owner, const std::wstring &caption, std::span<PROPSHEETPAGEW> pages);

}  // namespace camfolder
