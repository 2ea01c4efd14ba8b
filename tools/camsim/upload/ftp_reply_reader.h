// Byte-fed reader of FTP server replies: single lines "NNN text" and
// multi-line replies "NNN-text" ... "NNN text".
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct FtpReply {
  int code = 0;
  std::vector<std::string> lines;  // without CR LF
};

class FtpReplyReader {
 public:
  static constexpr size_t kMaxLineLength = 4096;
  static constexpr size_t kMaxLines = 64;

  // Feeds one byte; a complete reply is queued for Next().
  void Feed(char byte);
  // The oldest complete reply, if any.
  std::optional<FtpReply> Next();
  // Set once the server sent something that is no FTP reply; kept for good.
  bool Failed() const { return !error_.empty(); }
  const std::string &Error() const { return error_; }

 private:
  void EndLine();
  void Fail(const std::string &why);

  std::string line_;
  FtpReply pending_;
  bool inMultiLine_ = false;
  std::vector<FtpReply> ready_;
  std::string error_;
};
