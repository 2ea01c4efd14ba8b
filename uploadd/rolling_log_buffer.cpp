#include "rolling_log_buffer.h"

namespace {

bool EndsWithCrLf(const std::string &line) {
  return line.size() >= 2 && line[line.size() - 2] == '\r' && line.back() == '\n';
}

// A line of at least two characters that ends neither in LF nor with CR
// before its last character gets CR LF.
std::string Terminated(std::string line) {
  const bool needsEnd = line.size() >= 2 && line.back() != '\n' && line[line.size() - 2] != '\r';
  if (needsEnd) line += "\r\n";
  const size_t limit = RollingLogBuffer::kMaxLineText + (EndsWithCrLf(line) ? 2 : 0);
  if (line.size() > limit) {
    line.resize(RollingLogBuffer::kMaxLineText);
    line += "\r\n";
  }
  return line;
}

}  // namespace

void RollingLogBuffer::Load(std::string contents) {
  if (contents.size() > kCapacity) contents.resize(kCapacity);
  contents_ = std::move(contents);
}

void RollingLogBuffer::Append(std::string line) {
  line = Terminated(std::move(line));
  if (contents_.size() + line.size() >= kCapacity) {
    size_t keepFrom = contents_.size();
    for (size_t i = 0; i < contents_.size(); ++i) {
      if (contents_[i] == '\n' && contents_.size() - (i + 1) + line.size() < kCapacity) {
        keepFrom = i + 1;
        break;
      }
    }
    contents_.erase(0, keepFrom);
  }
  contents_ += line;
}
