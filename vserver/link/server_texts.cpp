#include "server_texts.h"

#include <cstdio>

namespace vserver {

const char *StatusText(HttpStatus status) {
  static const char *const kTexts[] = {
      "200 OK",           "201 Created",           "202 Accepted",          "204 No Content",
      "301 Moved Permanently", "302 Moved Temporarily", "304 Not Modified", "400 Bad Request",
      "401 Unauthorized", "403 Forbidden",         "404 Not Found",         "500 Internal Server Error",
      "501 Not Implemented", "502 Bad Gateway",    "503 Service Unavailable"};
  return kTexts[static_cast<int>(status)];
}

std::string ErrorBody(HttpStatus status) {
  return std::string("<body><h1>") + StatusText(status) + "</h1></body>";
}

std::string LogLine(int hours, int minutes, int seconds, int milliseconds, const std::string &text) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03d\t", hours, minutes, seconds, milliseconds);
  return stamp + text;
}

}  // namespace vserver
