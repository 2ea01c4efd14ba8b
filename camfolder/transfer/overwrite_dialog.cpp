#include "transfer/overwrite_dialog.h"

#include <shellapi.h>

#include <iterator>

#include "core/text_format.h"
#include "export_guard.h"
#include "items/module_state.h"
#include "items/module_strings.h"
#include "items/question_buttons.h"
#include "resource_ids.h"
#include "win_raii.h"

namespace camfolder {

namespace {

struct Question {
  const OverwriteFacts *facts;
  unique_hicon icon;
};

// "サイズ : 1.46KB\n更新日時 : 2024年5月17日 12:30:45"
std::wstring FileLine(uint64_t size, const SYSTEMTIME &time) {
  wchar_t date[128] = L"";
  wchar_t clock[64] = L"";
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &time, nullptr, date, std::size(date));
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, std::size(clock));
  return FormatModuleText(IDS_OVERWRITE_FILE, L"%s\n%s %s", {SizeText(size), date, clock});
}

SYSTEMTIME LocalWriteTime(const std::string &path) {
  SYSTEMTIME time{};
  WIN32_FILE_ATTRIBUTE_DATA data;
  FILETIME local;
  if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
      FileTimeToLocalFileTime(&data.ftLastWriteTime, &local))
    FileTimeToSystemTime(&local, &time);
  return time;
}

void FillIn(HWND dialog, Question &question) {
  const OverwriteFacts &facts = *question.facts;
  // The question's format is the template's own text.
  wchar_t format[256] = L"";
  GetDlgItemTextW(dialog, IDC_OVERWRITE_TEXT, format, std::size(format));
  SetDlgItemTextW(dialog, IDC_OVERWRITE_TEXT, FormatText(format, {WidenAnsi(facts.name)}).c_str());
  SetDlgItemTextW(dialog, IDC_OVERWRITE_CURRENT, FileLine(facts.cameraSize, facts.cameraTime).c_str());
  SetDlgItemTextW(dialog, IDC_OVERWRITE_NEW, FileLine(facts.localSize, LocalWriteTime(facts.localPath)).c_str());
  SHFILEINFOA info{};
  if (SHGetFileInfoA(facts.localPath.c_str(), 0, &info, sizeof info, SHGFI_ICON)) question.icon.reset(info.hIcon);
  for (int id : {IDC_OVERWRITE_CURRENT_ICON, IDC_OVERWRITE_NEW_ICON})
    SendDlgItemMessageA(dialog, id, STM_SETICON, reinterpret_cast<WPARAM>(question.icon.get()), 0);
}

INT_PTR HandleOverwrite(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      FillIn(dialog, *reinterpret_cast<Question *>(lParam));
      return TRUE;
    case WM_COMMAND:
      return EndQuestion(dialog, wParam, IDC_OVERWRITE_ALL);
  }
  return FALSE;
}

// No exception leaves for the window manager's frames.
INT_PTR CALLBACK OverwriteProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return RunExport<INT_PTR>(FALSE, [&] { return HandleOverwrite(dialog, message, wParam, lParam); });
}

}  // namespace

int AskOverwrite(HWND owner, const OverwriteFacts &facts) {
  Question question{&facts, {}};
  const INT_PTR result = DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_OVERWRITE), owner, OverwriteProc,
                                         reinterpret_cast<LPARAM>(&question));
  return QuestionAnswer(result, IDC_OVERWRITE_ALL);
}

}  // namespace camfolder
