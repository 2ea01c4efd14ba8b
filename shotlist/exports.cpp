// The exported functions. The working ones run their body inside an exception
// frame; the ones that show dialogs are not available in this version and
// report failure (0).
#include "shotlist.h"

#include <algorithm>
#include <cstring>

#include "bstr_titles.h"
#include "list_file.h"
#include "picture_conversion.h"
#include "shared/winfx/export_guard.h"
#include "windows_text.h"

namespace {

void CopyOut(char *out, const std::string &text) { std::strcpy(out, text.c_str()); }

uint16_t RequestedSide(int value) { return static_cast<uint16_t>(std::clamp(value, 0, 0xFFFF)); }

}  // namespace

extern "C" {

int WINAPI ShowImageListDlg(VARIANT *, int *) { return 0; }

int WINAPI ShowCommonFileDlg(DWORD, DWORD) { return 0; }

int WINAPI CreateBMPFromJPGFile(const char *picturePath, int *width, int *height, char *bitmapPath) {
  return RunExport(0, [&] {
    if (!picturePath || !width || !height || !bitmapPath) return 0;
    PictureSize size{RequestedSide(*width), RequestedSide(*height)};
    std::string written;
    if (!ConvertToBitmapFile(picturePath, size, written)) return 0;
    *width = size.width;
    *height = size.height;
    CopyOut(bitmapPath, written);
    return 1;
  });
}

BOOL WINAPI FilterDllMsg(MSG *) { return FALSE; }

void WINAPI ProcessDllIdle() {}

int WINAPI SelectListFileDlg(const char *, char *, char *) { return 0; }

int WINAPI SelectCutNameDlg(const char *, char *) { return 0; }

int WINAPI GetListTitle(const char *listPath, char *listTitle) {
  return RunExport(0, [&] {
    if (!listPath || !listTitle) return 0;
    CopyOut(listTitle, ReadListTitle(listPath, SystemListContext()));
    return 1;
  });
}

int WINAPI GetCutTitleCount(const char *listPath) {
  return RunExport(0, [&] {
    return listPath ? static_cast<int>(CountCutTitles(listPath, SystemListContext())) : 0;
  });
}

int WINAPI GetCutTitleArray(const char *listPath, VARIANT *titles) {
  return RunExport(0, [&] {
    SAFEARRAY *array = BstrArrayOf(titles);
    if (!listPath || !array) return 0;
    return WriteTitlesIntoBstrs(array, ReadCutTitles(listPath, SystemListContext())) ? 1 : 0;
  });
}

int WINAPI GetImageFileName(const char *, const char *, const char *, const char *, char *) { return 0; }

int WINAPI SaveListFile(VARIANT *, char *) { return 0; }

int WINAPI ConvertCutName(const char *cutTitle, char *converted) {
  return RunExport(0, [&] {
    if (!cutTitle || !converted) return 0;
    CopyOut(converted, ConvertCutTitle(cutTitle, SystemTextLocale()));
    return 1;
  });
}

}  // extern "C"
