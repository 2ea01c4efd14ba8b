#include "connection_list_box.h"

#include <vector>

void ConnectionListBox::Add(const std::string &line) {
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
  // Drawing is held while the line is swapped: the count dips by one in
  // between, and a list that just fits would hide and show its scroll bar,
  // which cost tens of milliseconds per upload with several connections.
  SendMessageA(listBox_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(listBox_, LB_DELETESTRING, index, 0);
  SendMessageA(listBox_, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(line.c_str()));
  SendMessageA(listBox_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(listBox_, nullptr, TRUE);
  return true;
}

void ConnectionListBox::Remove(const std::string &prefix) {
  const int index = Find(prefix);
  if (index >= 0) SendMessageA(listBox_, LB_DELETESTRING, index, 0);
}
