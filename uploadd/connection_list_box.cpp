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
  SendMessageA(listBox_, LB_DELETESTRING, index, 0);
  SendMessageA(listBox_, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(line.c_str()));
  return true;
}

void ConnectionListBox::Remove(const std::string &prefix) {
  const int index = Find(prefix);
  if (index >= 0) SendMessageA(listBox_, LB_DELETESTRING, index, 0);
}
