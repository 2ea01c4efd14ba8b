#include "menus/delete_dialogs.h"

#include <string>

#include "export_guard.h"
#include "items/module_state.h"
#include "items/module_strings.h"
#include "items/question_buttons.h"
#include "resource_ids.h"

namespace camfolder {

namespace {

struct Question {
  int textControl;
  std::wstring text;
  LPCSTR icon;
};

INT_PTR HandleQuestion(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto *question = reinterpret_cast<const Question *>(lParam);
      SetDlgItemTextW(dialog, question->textControl, question->text.c_str());
      SendDlgItemMessageA(dialog, IDC_DELETE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, question->icon)),
                          0);
      return TRUE;
    }
    case WM_COMMAND:
      return EndQuestion(dialog, wParam, IDC_DELETE_ALL);
  }
  return FALSE;
}

INT_PTR CALLBACK QuestionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return RunExport<INT_PTR>(FALSE, [&] { return HandleQuestion(dialog, message, wParam, lParam); });
}

INT_PTR Ask(HWND owner, int dialogId, const Question &question) {
  return DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(dialogId), owner, QuestionProc,
                         reinterpret_cast<LPARAM>(&question));
}


}  // namespace

int AskDeleteEntry(HWND owner, DeleteSubject subject, const std::string &name, bool readOnly) {
  const bool folder = subject == DeleteSubject::kFolder;
  // 30000 a folder, 30002 a file; one more for a read-only entry.
  const unsigned textId = (folder ? IDS_DELETE_FOLDER : IDS_DELETE_FOLDER + 2) + (readOnly ? 1 : 0);
  const wchar_t *fallback = readOnly ? L"'%s' is read-only. Delete it?" : L"Delete '%s'?";
  const Question question{folder ? IDC_DELETE_FOLDER_TEXT : IDC_DELETE_FILE_TEXT,
                          FormatModuleText(textId, fallback, {WidenAnsi(name)}), readOnly ? IDI_WARNING : IDI_QUESTION};
  return QuestionAnswer(Ask(owner, folder ? IDD_DELETE_FOLDER : IDD_DELETE_FILE, question), IDC_DELETE_ALL);
}

int AskDeleteSeveral(HWND owner, size_t count) {
  const Question question{IDC_DELETE_SEVERAL_TEXT,
                          FormatModuleText(IDS_DELETE_SEVERAL, L"Delete these %d items?", {std::to_wstring(count)}),
                          IDI_QUESTION};
  return QuestionAnswer(Ask(owner, IDD_DELETE_SEVERAL, question), IDC_DELETE_ALL);
}

}  // namespace camfolder
