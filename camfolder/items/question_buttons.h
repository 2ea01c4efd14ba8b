// The four-button questions (delete, overwrite): yes, the "all" button, no
// and cancel end the dialog with their identifiers; closed any other way it
// answers cancel.
#pragma once

#include <windows.h>

namespace camfolder {

// Ends the dialog for one of the four buttons; false for other commands.
inline bool EndQuestion(HWND dialog, WPARAM wParam, int allButton) {
  const int id = LOWORD(wParam);
  if (id != IDYES && id != allButton && id != IDNO && id != IDCANCEL) return false;
  EndDialog(dialog, id);
  return true;
}

inline int QuestionAnswer(INT_PTR ended, int allButton) {
  return ended == IDYES || ended == allButton || ended == IDNO ? static_cast<int>(ended) : IDCANCEL;
}

}  // namespace camfolder
