#include "list_line_reader.h"

#ifdef _WIN32
#include <share.h>
#endif

namespace {

constexpr size_t kMaxStoredBytes = ListLineReader::kBlockSize - 1;

bool IsTerminator(unsigned char byte) { return byte == '\r' || byte == '\n'; }

}  // namespace

ListLineReader::ListLineReader(WarningSink warn) : warn_(std::move(warn)) {}

ListLineReader::~ListLineReader() { Close(); }

bool ListLineReader::Open(const std::string &path) {
  Close();
#ifdef _WIN32
  file_ = _fsopen(path.c_str(), "rb", _SH_DENYWR);
#else
  file_ = std::fopen(path.c_str(), "rb");
#endif
  return file_ != nullptr;
}

void ListLineReader::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  bytesInBlock_ = 0;
  blockPosition_ = 0;
  endOfFile_ = false;
  lineNumber_ = 0;
}

// Fetches the next block; false when nothing more can be read.
bool ListLineReader::ReadBlock() {
  blockPosition_ = 0;
  bytesInBlock_ = (file_ && !endOfFile_) ? std::fread(m_pBuffer.data(), 1, m_pBuffer.size(), file_) : 0;
  if (bytesInBlock_ < m_pBuffer.size()) endOfFile_ = true;
  return bytesInBlock_ > 0;
}

unsigned ListLineReader::Deliver() { return ++lineNumber_; }

unsigned ListLineReader::ReadLine(std::string &line) {
  line.clear();
  for (;;) {
    if (blockPosition_ >= bytesInBlock_ && !ReadBlock()) {
      if (!line.empty()) return Deliver();
      lineNumber_ = 0;
      return 0;
    }
    while (blockPosition_ < bytesInBlock_) {
      if (line.size() >= kMaxStoredBytes) {
        const unsigned number = Deliver();
        char text[128];
        std::snprintf(text, sizeof text, "m_pBuffer overflow in line %u (line length over %d chars)", number,
                      static_cast<int>(kBlockSize));
        if (warn_) warn_(text, "Warning !");
        return number;
      }
      const unsigned char byte = m_pBuffer[blockPosition_++];
      if (!IsTerminator(byte)) {
        line.push_back(static_cast<char>(byte));
        continue;
      }
      if (blockPosition_ < bytesInBlock_ && IsTerminator(m_pBuffer[blockPosition_])) {
        ++blockPosition_;
        if (line.empty()) ++lineNumber_;  // the pair ends a blank line: count it
      }
      if (!line.empty()) return Deliver();
    }
  }
}
