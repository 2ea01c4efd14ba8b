// The contents of the rolling log: the most recent whole lines, fewer than
// 2,048 bytes in all, oldest first.
#pragma once

#include <cstddef>
#include <string>

class RollingLogBuffer {
 public:
  static constexpr size_t kCapacity = 2048;
  // A line holds at most this many characters before its CR LF; longer
  // lines are cut (a command line alone may hold 1,024).
  static constexpr size_t kMaxLineText = 253;

  // Starts from what a log file held: at most its first kCapacity bytes.
  void Load(std::string contents);
  // Ends the line with CR LF unless it already ends a line, cuts it to
  // kMaxLineText characters, and drops the oldest lines to make room.
  void Append(std::string line);

  const std::string &Contents() const { return contents_; }

 private:
  std::string contents_;
};
