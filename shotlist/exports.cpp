// The exported functions. Each runs its body inside an exception frame, so
// that no exception reaches the host; the dialogs are modal and run on the
// host's calling thread.
#include "shotlist.h"

#include <algorithm>
#include <cstring>

#include "bstr_titles.h"
#include "com_scope.h"
#include "cut_title_dlg.h"
#include "image_select_dlg.h"
#include "list_file.h"
#include "list_file_dlg.h"
#include "picture_conversion.h"
#include "save_list_dlg.h"
#include "shared/winfx/export_guard.h"
#include "shotlist_app.h"
#include "windows_text.h"

namespace {

// Output buffers are the caller's, without a length: paths get MAX_PATH
// bytes, titles the longest line a list file holds.
constexpr size_t kPathCapacity = MAX_PATH;
constexpr size_t kTitleCapacity = ListLineReader::kBlockSize;

// Fixed captions of the image dialog shown for the host's own paths (code
// page 932: "cut name" and "image N of M").
constexpr const char *kFixedCutTitle = "\x83\x4A\x83\x62\x83\x67\x96\xBC";
constexpr const char *kFixedCountText = "\x81\x9B\x96\x87\x96\xDA\x81\x5E\x81\x9B\x96\x87\x92\x86";
constexpr UINT kFixedCaptionCodePage = 932;

constexpr const char *kCommonFileDlgList = "c:\\tmp\\data\\gtest.lst";

// A title longer than the buffer is cut, never between the bytes of a character.
void CopyTitle(char *out, std::string text) {
  TruncateMbcs(text, kTitleCapacity - 1, SystemTextLocale());
  std::memcpy(out, text.c_str(), text.size() + 1);
}

// A path that does not fit is refused: the buffer is emptied.
bool CopyPath(char *out, const std::string &path) {
  if (path.size() >= kPathCapacity || path.find('\0') != std::string::npos) {
    out[0] = '\0';
    return false;
  }
  std::memcpy(out, path.c_str(), path.size() + 1);
  return true;
}

void ClearOut(char *out) {
  if (out) out[0] = '\0';
}

uint16_t RequestedSide(int value) { return static_cast<uint16_t>(std::clamp(value, 0, 0xFFFF)); }

std::string TextOrEmpty(const char *text) { return text ? text : ""; }

// The image dialog over the paths: 1 with the chosen position, 2 when cancelled, 0 when it could not be shown.
int ChooseImage(std::vector<std::string> paths, const std::string &cutTitle, const std::string &countText,
                UINT captionCodePage, int &chosen) {
  CImageSelectDlg dialog(std::move(paths), cutTitle, countText, captionCodePage);
  switch (dialog.DoModal()) {
    case IDOK:
      chosen = dialog.ChosenIndex();
      return 1;
    case IDCANCEL:
      return 2;
    default:
      return 0;
  }
}

}  // namespace

extern "C" {

int WINAPI ShowImageListDlg(VARIANT *imagePaths, int *chosen) {
  return RunExport(0, [&] {
    SAFEARRAY *array = BstrArrayOf(imagePaths);
    if (!array || !chosen) return 0;
    auto paths = ReadBstrArray(array);
    if (!paths) return 0;
    ComScope com;
    int index = -1;
    const int result = ChooseImage(std::move(*paths), kFixedCutTitle, kFixedCountText, kFixedCaptionCodePage, index);
    if (result == 1) *chosen = index + 1;
    return result;
  });
}

int WINAPI ShowCommonFileDlg(DWORD, DWORD) {
  return RunExport(0, [&] {
    CCutTitleDlg(kCommonFileDlgList).DoModal();
    return 1;
  });
}

int WINAPI CreateBMPFromJPGFile(const char *picturePath, int *width, int *height, char *bitmapPath) {
  return RunExport(0, [&] {
    if (!picturePath || !width || !height || !bitmapPath) return 0;
    PictureSize size{RequestedSide(*width), RequestedSide(*height)};
    std::string written;
    if (!ConvertToBitmapFile(picturePath, size, written)) return 0;
    if (written.size() >= kPathCapacity) {  // the caller could not take its name
      DeleteFileA(written.c_str());
      return 0;
    }
    *width = size.width;
    *height = size.height;
    CopyPath(bitmapPath, written);
    return 1;
  });
}

BOOL WINAPI FilterDllMsg(MSG *message) {
  return RunExport(FALSE, [&] { return message ? theApp.PreTranslateMessage(message) : FALSE; });
}

void WINAPI ProcessDllIdle() {
  RunExport([&] {
    for (LONG count = 0; theApp.OnIdle(count); ++count) {
    }
  });
}

int WINAPI SelectListFileDlg(const char *startFolder, char *listPath, char *listTitle) {
  return RunExport(0, [&] {
    if (!listPath || !listTitle) return 0;
    ComScope com;
    CListFileDlg dialog(TextOrEmpty(startFolder));
    switch (dialog.DoModal()) {
      case IDOK:
        if (!CopyPath(listPath, dialog.ChosenPath())) return 0;
        CopyTitle(listTitle, dialog.ChosenTitle());
        return 1;
      case IDCANCEL:
        return 2;
      default:
        return 0;
    }
  });
}

int WINAPI SelectCutNameDlg(const char *listPath, char *cutTitle) {
  return RunExport(0, [&] {
    if (!listPath || !cutTitle) return 0;
    CCutTitleDlg dialog(listPath);
    switch (dialog.DoModal()) {
      case IDOK:
        CopyTitle(cutTitle, dialog.ChosenCutTitle());
        return 1;
      case IDCANCEL:
        return 2;
      default:
        return 0;
    }
  });
}

int WINAPI GetListTitle(const char *listPath, char *listTitle) {
  return RunExport(0, [&] {
    if (!listPath || !listTitle) return 0;
    CopyTitle(listTitle, ReadListTitle(listPath, SystemListContext()));
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

int WINAPI GetImageFileName(const char *listPath, const char *listTitle, const char *cutTitle, const char *countText,
                            char *imagePath) {
  return RunExport(0, [&] {
    if (!imagePath) return 0;
    ClearOut(imagePath);
    if (!listPath) return 0;
    std::vector<std::string> paths =
        ReadImagePaths(listPath, TextOrEmpty(listTitle), TextOrEmpty(cutTitle), SystemListContext());
    // A path the caller's buffer cannot take can be neither shown nor chosen.
    std::erase_if(paths, [](const std::string &path) { return path.size() >= kPathCapacity; });
    if (paths.empty()) return 0;
    if (paths.size() == 1) return CopyPath(imagePath, paths[0]) ? 1 : 0;
    ComScope com;
    int index = -1;
    const int result = ChooseImage(paths, TextOrEmpty(cutTitle), TextOrEmpty(countText), CP_ACP, index);
    if (result == 1) CopyPath(imagePath, paths[size_t(index)]);
    return result;
  });
}

int WINAPI SaveListFile(VARIANT *cutTitles, char *listPath) {
  return RunExport(0, [&] {
    SAFEARRAY *array = BstrArrayOf(cutTitles);
    if (!array || !listPath) return 0;
    auto titles = ReadBstrArray(array);
    if (!titles) return 0;
    ComScope com;
    CSaveListDlg dialog({}, std::move(*titles));
    switch (dialog.DoModal()) {
      case IDOK:
        return CopyPath(listPath, dialog.SavedPath()) ? 1 : 0;
      case IDCANCEL:
        ClearOut(listPath);
        return 2;
      default:
        return 0;
    }
  });
}

int WINAPI ConvertCutName(const char *cutTitle, char *converted) {
  return RunExport(0, [&] {
    if (!cutTitle || !converted) return 0;
    CopyTitle(converted, ConvertCutTitle(cutTitle, SystemTextLocale()));
    return 1;
  });
}

}  // extern "C"
