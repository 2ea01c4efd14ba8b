// Reads a shot list file line by line in fixed 2048-byte blocks. Lines may end
// with CR, LF or any pair of them; empty lines are skipped. A line that
// reaches 2047 bytes is delivered cut, after a warning, and its rest follows
// as a line of its own.
#pragma once

#include <array>
#include <cstdio>
#include <functional>
#include <string>

// Shows a warning to the user: text and caption.
using WarningSink = std::function<void(const std::string &text, const std::string &caption)>;

class ListLineReader {
 public:
  static constexpr size_t kBlockSize = 2048;

  explicit ListLineReader(WarningSink warn);
  ~ListLineReader();
  ListLineReader(const ListLineReader &) = delete;
  ListLineReader &operator=(const ListLineReader &) = delete;

  // Opens the file for reading, with writing denied to others.
  bool Open(const std::string &path);
  // The next non-empty line and its number (at least 1), or 0 and an empty
  // line at the end of the file.
  unsigned ReadLine(std::string &line);
  void Close();

 private:
  bool ReadBlock();
  unsigned Deliver();

  WarningSink warn_;
  std::FILE *file_ = nullptr;
  std::array<unsigned char, kBlockSize> m_pBuffer{};
  size_t bytesInBlock_ = 0;
  size_t blockPosition_ = 0;
  bool endOfFile_ = false;
  unsigned lineNumber_ = 0;
};
