// Texts the server sends or writes: the error body for TCP clients and the
// event log line.
#pragma once

#include <cstddef>
#include <string>

namespace vserver {

enum class HttpStatus {
  Ok, Created, Accepted, NoContent, MovedPermanently, MovedTemporarily, NotModified, BadRequest,
  Unauthorized, Forbidden, NotFound, InternalServerError, NotImplemented, BadGateway, ServiceUnavailable
};

const char *StatusText(HttpStatus status);
// "<body><h1>...</h1></body>", sent to a client whose bytes could not reach the camera.
std::string ErrorBody(HttpStatus status);
// "hh:mm:ss.mmm<TAB>text".
std::string LogLine(int hours, int minutes, int seconds, int milliseconds, const std::string &text);

// The event log keeps this many lines.
constexpr size_t kMaxLogLines = 500;

}  // namespace vserver
