#include "delete_dialogs.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "export_guard.h"
#include "module_state.h"
#include "module_strings.h"
#include "resource_ids.h"

namespace camfolder {

namespace {

struct Question {
  int textControl;
  std::string text;
  LPCSTR icon;
};

std::string Formatted(unsigned id, const char *fallback, const char *value) {
  const std::string format = ModuleStringOr(id, fallback);
  std::vector<char> text(format.size() + std::strlen(value) + 32);
  std::snprintf(text.data(), text.size(), format.c_str(), value);
  return text.data();
}

INT_PTR HandleQuestion(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto *question = reinterpret_cast<const Question *>(lParam);
      SetDlgItemTextA(dialog, question->textControl, question->text.c_str());
      SendDlgItemMessageA(dialog, IDC_DELETE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, question->icon)),
                          0);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDYES:
        case IDC_DELETE_ALL:
        case IDNO:
        case IDCANCEL:
          EndDialog(dialog, LOWORD(wParam));
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

INT_PTR CALLBACK QuestionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return RunExport<INT_PTR>(FALSE, [&] { return HandleQuestion(dialog, message, wParam, lParam); });
}

INT_PTR Ask(HWND owner, int dialogId, const Question &question) {
  return DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(dialogId), owner, QuestionProc,
                         reinterpret_cast<LPARAM>(&question));
}

}  // namespace

int AskDeleteEntry(HWND owner, DeleteSubject subject, const std::string &name, bool readOnly) {
  const bool folder = subject == DeleteSubject::kFolder;
  // 30000 a folder, 30002 a file; one more for a read-only entry.
  const unsigned textId = (folder ? IDS_DELETE_FOLDER : IDS_DELETE_FOLDER + 2) + (readOnly ? 1 : 0);
  const char *fallback = readOnly ? "'%s' is read-only. Delete it?" : "Delete '%s'?";
  const Question question{folder ? IDC_DELETE_FOLDER_TEXT : IDC_DELETE_FILE_TEXT,
                          Formatted(textId, fallback, name.c_str()), readOnly ? IDI_WARNING : IDI_QUESTION};
  const INT_PTR answer = Ask(owner, folder ? IDD_DELETE_FOLDER : IDD_DELETE_FILE, question);
  return answer == IDYES || answer == IDC_DELETE_ALL || answer == IDNO ? static_cast<int>(answer) : IDCANCEL;
}

int AskDeleteSeveral(HWND owner, size_t count) {
  const std::string format = ModuleStringOr(IDS_DELETE_SEVERAL, "Delete these %d items?");
  std::vector<char> text(format.size() + 32);
  std::snprintf(text.data(), text.size(), format.c_str(), static_cast<int>(count));
  const Question question{IDC_DELETE_SEVERAL_TEXT, text.data(), IDI_QUESTION};
  return Ask(owner, IDD_DELETE_SEVERAL, question) == IDYES ? IDYES : IDNO;
}

}  // namespace camfolder
