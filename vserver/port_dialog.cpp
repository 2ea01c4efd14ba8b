#include "port_dialog.h"

#include <cstdio>
#include <vector>

#include "resource.h"

namespace vserver {
namespace {

struct PortChoice {
  std::vector<std::string> names;
  int index;
};

INT_PTR CALLBACK PortDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *choice = reinterpret_cast<PortChoice *>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      choice = reinterpret_cast<PortChoice *>(lParam);
      HWND combo = GetDlgItem(dialog, IDC_COM_PORT);
      for (const std::string &name : choice->names)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
      SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(choice->index), 0);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        const LRESULT selected = SendDlgItemMessageA(dialog, IDC_COM_PORT, CB_GETCURSEL, 0, 0);
        if (selected != CB_ERR) choice->index = static_cast<int>(selected);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

bool SelectPort(HWND owner, const std::string &extraPort, int &index, std::string &port) {
  PortChoice choice;
  for (int number = 1; number <= 9; ++number) {
    char name[8];
    std::snprintf(name, sizeof name, "COM%d", number);
    choice.names.emplace_back(name);
  }
  if (!extraPort.empty()) choice.names.push_back(extraPort);
  choice.index = index >= 0 && index < static_cast<int>(choice.names.size()) ? index : 0;
  if (DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SELECT_COM), owner, PortDialogProc,
                      reinterpret_cast<LPARAM>(&choice)) != IDOK)
    return false;
  index = choice.index;
  port = choice.names[static_cast<size_t>(index)];
  return true;
}

}  // namespace vserver
