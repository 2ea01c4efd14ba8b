// Exported functions of shotlist.dll (by name and by the ordinals of
// shotlist.def). Results: 0 failure, 1 done, 2 cancelled by the user.
#pragma once

#include <windows.h>
#include <oleauto.h>

extern "C" {
int WINAPI ShowImageListDlg(VARIANT *imagePaths, int *chosen);
int WINAPI ShowCommonFileDlg(DWORD unused1, DWORD unused2);
int WINAPI CreateBMPFromJPGFile(const char *picturePath, int *width, int *height, char *bitmapPath);
BOOL WINAPI FilterDllMsg(MSG *message);
void WINAPI ProcessDllIdle();
int WINAPI SelectListFileDlg(const char *startFolder, char *listPath, char *listTitle);
int WINAPI SelectCutNameDlg(const char *listPath, char *cutTitle);
int WINAPI GetListTitle(const char *listPath, char *listTitle);
int WINAPI GetCutTitleCount(const char *listPath);
int WINAPI GetCutTitleArray(const char *listPath, VARIANT *titles);
int WINAPI GetImageFileName(const char *listPath, const char *listTitle, const char *cutTitle, const char *countText,
                            char *imagePath);
int WINAPI SaveListFile(VARIANT *cutTitles, char *listPath);
int WINAPI ConvertCutName(const char *cutTitle, char *converted);
}
