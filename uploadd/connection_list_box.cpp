#include "connection_list_box.h"

#include <vector>

namespace {

// Each change of a list that scrolls updates its scroll bars, which costs
// milliseconds under Wine; several cameras uploading at once change lines
// many times a second. Drawing is held at a change and resumed, with every
// change since, once the list has been quiet for this long (a timer) or,
// as timers wait for an idle queue, at the first change after it.
constexpr DWORD kResumeDelayMs = 250;
constexpr UINT_PTR kResumeTimer = 1;
// Set while drawing is held: the tick count at the hold (odd, never 0).
constexpr const char *kHeldSince = "LumoDrawingHeldSince";

void ResumeDrawing(HWND listBox) {
  KillTimer(listBox, kResumeTimer);
  RemovePropA(listBox, kHeldSince);
  SendMessageA(listBox, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(listBox, nullptr, TRUE);
  UpdateWindow(listBox);
}

void CALLBACK OnResumeTimer(HWND listBox, UINT, UINT_PTR, DWORD) { ResumeDrawing(listBox); }

}  // namespace

void ConnectionListBox::HoldDrawing() {
  if (const auto since = reinterpret_cast<DWORD_PTR>(GetPropA(listBox_, kHeldSince))) {
    if (GetTickCount() - static_cast<DWORD>(since) < kResumeDelayMs) return;
    ResumeDrawing(listBox_);
  }
  if (!SetTimer(listBox_, kResumeTimer, kResumeDelayMs, OnResumeTimer)) return;
  SetPropA(listBox_, kHeldSince, reinterpret_cast<HANDLE>(static_cast<DWORD_PTR>(GetTickCount() | 1)));
  SendMessageA(listBox_, WM_SETREDRAW, FALSE, 0);
}

void ConnectionListBox::Add(const std::string &line) {
  HoldDrawing();
  SendMessageA(listBox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

int ConnectionListBox::Find(const std::string &prefix) const {
  const int count = static_cast<int>(SendMessageA(listBox_, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const LRESULT length = SendMessageA(listBox_, LB_GETTEXTLEN, i, 0);
    if (length == LB_ERR || static_cast<size_t>(length) < prefix.size()) continue;
    std::vector<char> text(static_cast<size_t>(length) + 1);
    SendMessageA(listBox_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    if (prefix.compare(0, prefix.size(), text.data(), prefix.size()) == 0) return i;
  }
  return -1;
}

bool ConnectionListBox::Replace(const std::string &prefix, const std::string &line) {
  const int index = Find(prefix);
  if (index < 0) return false;
  HoldDrawing();
  SendMessageA(listBox_, LB_DELETESTRING, index, 0);
  SendMessageA(listBox_, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(line.c_str()));
  return true;
}

void ConnectionListBox::Remove(const std::string &prefix) {
  const int index = Find(prefix);
  if (index < 0) return;
  HoldDrawing();
  SendMessageA(listBox_, LB_DELETESTRING, index, 0);
}
