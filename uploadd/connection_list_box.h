// The window's list of logged-in connections, one line each.
#pragma once

#include <windows.h>

#include <string>

class ConnectionListBox {
 public:
  explicit ConnectionListBox(HWND listBox = nullptr) : listBox_(listBox) {}

  void Add(const std::string &line);
  // Replaces, at its place, the first line that begins with prefix.
  bool Replace(const std::string &prefix, const std::string &line);
  void Remove(const std::string &prefix);

 private:
  int Find(const std::string &prefix) const;
  // Holds drawing until shortly after this change (see the source).
  void HoldDrawing();
  HWND listBox_;
};
