// The log file: always exactly the contents of its rolling buffer.
#pragma once

#include <string>

#include "rolling_log_buffer.h"
#include "win_raii.h"

class RollingLog {
 public:
  // An empty name turns logging off, which counts as success. An existing
  // file keeps its first 2,048 bytes.
  bool Open(const std::string &fileName);
  // Adds the line and rewrites the file; nothing when logging is off.
  void Append(const std::string &line);
  // The line with the current local time put in for its %s.
  void AppendStamped(const std::string &format);

 private:
  unique_file file_;
  RollingLogBuffer buffer_;
};
