// Finds the end of an HTTP request in the bytes a client sends: the header
// ends at its first empty line, the body after Content-Length more bytes.
// Fed chunk by chunk; lines may end in LF, CR LF or a lone CR and may be
// split between chunks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vserver {

class HttpRequestScanner {
 public:
  void Reset() { *this = HttpRequestScanner(); }
  void Feed(const uint8_t *data, size_t length);

  bool HeaderComplete() const { return headerComplete_; }
  // True once the header and Content-Length body bytes have been seen.
  bool RequestComplete() const { return headerComplete_ && received_ >= headerBytes_ + contentLength_; }
  uint64_t HeaderBytes() const { return headerBytes_; }
  uint64_t ContentLength() const { return contentLength_; }
  uint64_t Received() const { return received_; }

 private:
  void EndLine();

  bool headerComplete_ = false;
  uint64_t received_ = 0;
  uint64_t headerBytes_ = 0;
  uint64_t contentLength_ = 0;
  std::string line_;         // the current line, kept short: only its start matters
  uint64_t lineLength_ = 0;  // bytes of the current line including its end
  bool lineHasText_ = false;
  bool afterCr_ = false;     // the previous byte ended a line with CR
};

}  // namespace vserver
