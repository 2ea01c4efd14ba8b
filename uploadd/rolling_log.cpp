#include "rolling_log.h"

#include <ctime>

#include "connection_lines.h"

bool RollingLog::Open(const std::string &fileName) {
  if (fileName.empty()) return true;
  // Shared for writing too: a second copy of the program with the same
  // settings must get as far as its listening socket and report that.
  file_.reset(CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file_) return false;
  std::string contents(RollingLogBuffer::kCapacity, '\0');
  DWORD read = 0;
  if (!ReadFile(file_.get(), contents.data(), static_cast<DWORD>(contents.size()), &read, nullptr)) {
    file_.reset();
    return false;
  }
  contents.resize(read);
  buffer_.Load(std::move(contents));
  return true;
}

void RollingLog::Append(const std::string &line) {
  if (!file_) return;
  buffer_.Append(line);
  const std::string &contents = buffer_.Contents();
  DWORD written = 0;
  SetFilePointer(file_.get(), 0, nullptr, FILE_BEGIN);
  WriteFile(file_.get(), contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
  SetEndOfFile(file_.get());
}

void RollingLog::AppendStamped(const std::string &format) {
  const std::time_t now = std::time(nullptr);
  char stamp[32] = "";
  if (const std::tm *local = std::localtime(&now)) std::strftime(stamp, sizeof stamp, "%Y/%m/%d %H:%M:%S", local);
  Append(FormatWith(format.c_str(), stamp));
}
