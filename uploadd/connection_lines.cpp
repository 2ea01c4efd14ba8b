#include "connection_lines.h"

#include <cstring>

std::string ConnectionLinePrefix(unsigned number, const std::string &displayName) {
  return std::to_string(number) + ". " + displayName + ":";
}

std::string ConnectionLine(unsigned number, const std::string &displayName, bool transferring) {
  return ConnectionLinePrefix(number, displayName) +
         (transferring ? " Progress data transfer." : " Open control connection.");
}

std::string ReceivedLogLine(unsigned number, const std::string &text) {
  return "->(" + std::to_string(number) + ") " + text;
}

std::string SentLogLine(unsigned number, const std::string &reply) {
  return "<-(" + std::to_string(number) + ") " + reply;
}

std::string FormatWith(const char *format, const std::string &value) {
  const char *mark = std::strstr(format, "%s");
  if (!mark) return format;
  return std::string(format, mark) + value + (mark + 2);
}
