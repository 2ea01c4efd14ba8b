#include "http_request_scanner.h"

#include <cctype>
#include <cstring>

namespace vserver {
namespace {

constexpr char kContentLength[] = "content-length:";
constexpr size_t kKeptLineStart = 64;
constexpr uint64_t kMaxContentLength = uint64_t{1} << 40;

}  // namespace

void HttpRequestScanner::Feed(const uint8_t *data, size_t length) {
  received_ += length;
  for (size_t i = 0; i < length; ++i) {
    const uint8_t byte = data[i];
    if (afterCr_) {
      afterCr_ = false;
      if (byte == '\n') {
        // The LF of a CR LF pair belongs to the line just ended.
        ++headerBytes_;
        continue;
      }
    }
    if (headerComplete_) break;
    ++lineLength_;
    if (byte == '\n' || byte == '\r') {
      afterCr_ = byte == '\r';
      EndLine();
      continue;
    }
    lineHasText_ = true;
    if (line_.size() < kKeptLineStart) line_.push_back(static_cast<char>(byte));
  }
}

void HttpRequestScanner::EndLine() {
  headerBytes_ += lineLength_;
  if (!lineHasText_) {
    headerComplete_ = true;
  } else if (line_.size() >= std::strlen(kContentLength)) {
    bool match = true;
    for (size_t i = 0; i < std::strlen(kContentLength) && match; ++i)
      match = std::tolower(static_cast<unsigned char>(line_[i])) == kContentLength[i];
    if (match) {
      uint64_t value = 0;
      size_t i = std::strlen(kContentLength);
      while (i < line_.size() && (line_[i] == ' ' || line_[i] == '\t')) ++i;
      for (; i < line_.size() && std::isdigit(static_cast<unsigned char>(line_[i])) && value < kMaxContentLength; ++i)
        value = value * 10 + static_cast<uint64_t>(line_[i] - '0');
      contentLength_ = value < kMaxContentLength ? value : kMaxContentLength;
    }
  }
  line_.clear();
  lineLength_ = 0;
  lineHasText_ = false;
}

}  // namespace vserver
