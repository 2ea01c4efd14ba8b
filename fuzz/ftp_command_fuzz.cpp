// What a peer sends the upload server's control connection: reads split
// into command lines, parsed and served by the conversation, with the PORT
// argument, file-name and folder rules it applies.
#include <optional>
#include <string>

#include "ftp_command.h"
#include "ftp_session.h"
#include "fuzz_input.h"

namespace {

class Host : public FtpSessionHost {
 public:
  const FtpSettings &Settings() const override { return settings; }
  void SendReply(const std::string &reply) override {
    if (reply.size() < 2 || reply.compare(reply.size() - 2, 2, "\r\n") != 0) __builtin_trap();
  }
  void Log(const std::string &line) override { Use(line.size()); }
  void RequestClose() override {}
  std::optional<std::string> FullPath(const std::string &directory) override {
    if (directory.empty()) return std::nullopt;
    return directory.size() >= 2 && directory[1] == ':' ? directory : "C:\\up\\" + directory;
  }
  bool SetWorkingDirectory(const std::string &fullPath) override { return fullPath.size() % 3 != 0; }
  std::string PeerAddress() override { return "127.0.0.1"; }
  void AddConnectionLine(const std::string &line) override { Use(line.size()); }
  bool ReplaceConnectionLine(const std::string &prefix, const std::string &line) override {
    return prefix.size() < line.size();
  }
  bool AbortTransfer() override { return transferring && !(transferring = false); }
  bool StartDataConnection(const DataAddress &address, const std::string &targetPath) override {
    // Only the peer itself on port 6223, and only plain names inside the folder.
    if (address.address != "127.0.0.1" || address.port != 6223) __builtin_trap();
    const size_t separator = targetPath.find_last_of('\\');
    if (separator == std::string::npos || !IsPlainFileName(targetPath.substr(separator + 1))) __builtin_trap();
    transferring = true;
    return true;
  }

  FtpSettings settings{"anonymous", "tarnwhisk", ""};
  bool transferring = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput input(data, size);
  Host host;
  if (input.Byte() & 1) host.settings.rootDirectory = "D:\\cam";
  FtpSession session(host, 1);
  CFtpCommand command;
  while (input.Left() > 0) {
    const size_t chunk = 1 + input.Byte() % 128;
    const std::vector<uint8_t> bytes = input.Bytes(chunk);
    const std::string line = command.ReceiveLine(reinterpret_cast<const char *>(bytes.data()), bytes.size());
    const ParsedCommand parsed = ParseCommand(line);
    if (parsed.argument) {
      if (const auto address = ParsePortArgument(*parsed.argument))
        if (address->port < 0 || address->port > 65535) __builtin_trap();
      Use(IsPlainFileName(*parsed.argument));
      Use(IsLocalDrivePath(*parsed.argument));
    }
    session.HandleLine(line);
  }
  return 0;
}
