// The delete confirmations: one file (dialog 110), several items (111) and
// one folder (112). Each returns the button chosen: IDYES, IDC_DELETE_ALL,
// IDNO or IDCANCEL (IDYES or IDNO for several items; closing the dialog
// counts as IDCANCEL, or IDNO for several items).
#pragma once

#include <windows.h>

#include <string>

namespace camfolder {

enum class DeleteSubject { kFile, kFolder };

// The question about one entry, naming it; with its read-only text when the
// camera protects it. Each answers IDYES, IDC_DELETE_ALL, IDNO or IDCANCEL.
int AskDeleteEntry(HWND owner, DeleteSubject subject, const std::string &name, bool readOnly);
// The question about several items, with their count.
int AskDeleteSeveral(HWND owner, size_t count);

}  // namespace camfolder
