#include "ftp_command.h"

#include <array>
#include <cctype>
#include <cstring>

std::string CFtpCommand::ReceiveLine(const char *data, size_t length) {
  size_t end = 0;
  while (end < length && !(data[end] == '\r' && end + 1 < length && data[end + 1] == '\n')) ++end;
  line_.append(data, end);
  std::string line;
  line.swap(line_);
  return line;
}

void CFtpCommand::AddReply(const std::string &reply) {
  reply_.erase(0, sent_);
  reply_ += reply;
  sent_ = 0;
}

void CFtpCommand::MarkSent(size_t count) { sent_ = count < UnsentLength() ? sent_ + count : reply_.size(); }

namespace {

bool StartsWithNoCase(const std::string &line, const char *keyword) {
  const size_t length = std::strlen(keyword);
  if (line.size() < length) return false;
  for (size_t i = 0; i < length; ++i)
    if (std::toupper(static_cast<unsigned char>(line[i])) != keyword[i]) return false;
  return true;
}

}  // namespace

ParsedCommand ParseCommand(const std::string &line) {
  static constexpr std::array<std::pair<const char *, FtpVerb>, 8> kKeywords{{
      {"USER", FtpVerb::User},
      {"PASS", FtpVerb::Pass},
      {"ACCT", FtpVerb::Acct},
      {"QUIT", FtpVerb::Quit},
      {"PORT", FtpVerb::Port},
      {"STOR", FtpVerb::Stor},
      {"ABOR", FtpVerb::Abor},
      {"CWD", FtpVerb::Cwd},
  }};
  ParsedCommand command{FtpVerb::Unsupported, std::nullopt};
  for (const auto &[keyword, verb] : kKeywords) {
    if (StartsWithNoCase(line, keyword)) {
      command.verb = verb;
      break;
    }
  }
  const size_t blank = line.find(' ');
  if (blank != std::string::npos && blank + 1 < line.size()) command.argument = line.substr(blank + 1);
  return command;
}

std::optional<DataAddress> ParsePortArgument(const std::string &argument) {
  std::array<int, 6> numbers{};
  size_t position = 0;
  for (size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0) {
      if (position >= argument.size() || argument[position] != ',') return std::nullopt;
      ++position;
    }
    int value = 0, digits = 0;
    while (position < argument.size() && std::isdigit(static_cast<unsigned char>(argument[position]))) {
      value = value * 10 + (argument[position++] - '0');
      if (++digits > 3) return std::nullopt;
    }
    if (digits == 0 || value > 255) return std::nullopt;
    numbers[i] = value;
  }
  if (position != argument.size()) return std::nullopt;
  return DataAddress{std::to_string(numbers[0]) + "." + std::to_string(numbers[1]) + "." +
                         std::to_string(numbers[2]) + "." + std::to_string(numbers[3]),
                     numbers[4] * 256 + numbers[5]};
}

bool IsPlainFileName(const std::string &name) {
  if (name.empty() || name == "." || name.find("..") != std::string::npos) return false;
  for (unsigned char c : name)
    if (c < 0x20 || std::strchr("\\/:*?\"<>|", c)) return false;
  return true;
}

bool IsLocalDrivePath(const std::string &fullPath) {
  return fullPath.size() >= 3 && std::isalpha(static_cast<unsigned char>(fullPath[0])) && fullPath[1] == ':' &&
         (fullPath[2] == '\\' || fullPath[2] == '/');
}
