// Parsing of the control connection's command lines.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The command state of one control connection: the line being received and
// the reply being sent.
class CFtpCommand {
 public:
  // One read of the control connection: its bytes up to the first CR LF
  // (all of them when there is none) complete the command line, which is
  // returned and emptied; the rest of the read is dropped, since the camera
  // sends one command and then waits for its reply.
  std::string ReceiveLine(const char *data, size_t length);

  // Queues a reply after any unsent rest of the previous ones, so that a
  // slow peer still gets every line.
  void AddReply(const std::string &reply);
  const char *Unsent() const { return reply_.data() + sent_; }
  size_t UnsentLength() const { return reply_.size() - sent_; }
  void MarkSent(size_t count);

 private:
  std::string line_;
  std::string reply_;
  size_t sent_ = 0;
};

enum class FtpVerb { User, Pass, Acct, Quit, Port, Stor, Abor, Cwd, Unsupported };

struct ParsedCommand {
  FtpVerb verb;
  std::optional<std::string> argument;  // everything after the first blank, when not empty
};

// Matches the line's first four characters (three for CWD) without regard
// to case, so "userx anonymous" is a USER command.
ParsedCommand ParseCommand(const std::string &line);

struct DataAddress {
  std::string address;  // dotted IPv4
  int port;
};

// "h1,h2,h3,h4,p1,p2": six decimal numbers of 0 to 255.
std::optional<DataAddress> ParsePortArgument(const std::string &argument);

// A STOR name must stay inside the upload folder and be a valid file name:
// no folder separators, drive colon, "..", wildcard or control characters.
bool IsPlainFileName(const std::string &name);

// A full path that names a folder on a local drive ("X:\..."): not a share
// ("\\host\share"), nor a device ("\\.\COM1", "\\?\...").
bool IsLocalDrivePath(const std::string &fullPath);
