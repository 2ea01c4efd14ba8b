// Where the server's log lines and connection records go (the main window).
#pragma once

#include <string>

#include "link/transfer_stats.h"

namespace vserver {

class EventLog {
 public:
  // Texts are UTF-8.
  virtual void Log(const std::string &text) = 0;
  // A closed connection's record for the statistics.
  virtual void Report(const ConnectionRecord &record) = 0;
  // Formats like printf.
  void Logf(const char *format, ...) __attribute__((format(printf, 2, 3)));
  // "text : error text", the error text from the string table entry of the error number.
  void LogError(const char *text, int error);

 protected:
  ~EventLog() = default;
};

}  // namespace vserver
