#include "ftp_reply_reader.h"

#include <cctype>

namespace {

// "NNN" followed by ' ' or '-': the code, else -1.
int LineCode(const std::string &line, char &separator) {
  if (line.size() < 4) return -1;
  for (int i = 0; i < 3; ++i)
    if (!std::isdigit(static_cast<unsigned char>(line[i]))) return -1;
  separator = line[3];
  if (separator != ' ' && separator != '-') return -1;
  return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

}  // namespace

void FtpReplyReader::Fail(const std::string &why) {
  if (error_.empty()) error_ = why;
}

void FtpReplyReader::Feed(char byte) {
  if (Failed()) return;
  if (byte == '\n') {
    if (!line_.empty() && line_.back() == '\r') line_.pop_back();
    EndLine();
    line_.clear();
    return;
  }
  if (line_.size() >= kMaxLineLength) return Fail("reply line longer than 4096 bytes");
  line_ += byte;
}

void FtpReplyReader::EndLine() {
  char separator = 0;
  const int code = LineCode(line_, separator);
  if (!inMultiLine_) {
    if (code < 0) return Fail("not an FTP reply: " + line_);
    pending_ = FtpReply{code, {line_}};
    if (separator == '-') {
      inMultiLine_ = true;
      return;
    }
  } else {
    if (pending_.lines.size() >= kMaxLines) return Fail("multi-line reply longer than 64 lines");
    pending_.lines.push_back(line_);
    if (code != pending_.code || separator != ' ') return;
    inMultiLine_ = false;
  }
  ready_.push_back(std::move(pending_));
  pending_ = FtpReply{};
}

std::optional<FtpReply> FtpReplyReader::Next() {
  if (ready_.empty()) return std::nullopt;
  FtpReply reply = std::move(ready_.front());
  ready_.erase(ready_.begin());
  return reply;
}
