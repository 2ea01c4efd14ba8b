#include "upload_options.h"

#include <cstdlib>
#include <cstring>

const char kUploadUsage[] =
    "usage: camsim upload --server HOST[:PORT] [options] FILE...\n"
    "Uploads each FILE to the PC's direct-upload server as the camera does:\n"
    "USER, PASS, ACCT, PORT for its data port, one STOR per file, QUIT.\n"
    "  --server HOST[:PORT]  the upload server (port 6222 when not given)\n"
    "  --user NAME           login name (anonymous)\n"
    "  --password TEXT       password (tarnwhisk)\n"
    "  --account NAME        account sent with ACCT (LumoK20)\n"
    "  --cwd DIRECTORY       change directory before the uploads\n"
    "  --data-port N         the camera's data port (6223)\n"
    "  --camera-address IP   the camera's own address: connect from it and\n"
    "                        listen on it (lets several cameras share a host)\n"
    "  --timeout SECONDS     longest wait for the server (60)\n"
    "  --quiet               print only the summary\n"
    "  --help                show this text\n";

namespace {

bool ParseNumber(const char *text, int low, int high, int &value) {
  char *end = nullptr;
  const long parsed = std::strtol(text, &end, 10);
  if (!*text || *end || parsed < low || parsed > high) return false;
  value = static_cast<int>(parsed);
  return true;
}

}  // namespace

std::optional<UploadOptions> ParseUploadOptions(int argc, char **argv, std::string &error) {
  UploadOptions options;
  for (int i = 1; i < argc; ++i) {
    const char *arg = argv[i];
    const bool hasValue = i + 1 < argc;
    auto value = [&]() -> const char * { return argv[++i]; };
    if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
      options.help = true;
    } else if (!std::strcmp(arg, "--quiet")) {
      options.quiet = true;
    } else if (arg[0] == '-' && arg[1] == '-' && arg[2] != '\0' && !hasValue) {
      error = std::string("option ") + arg + " needs a value";
      return std::nullopt;
    } else if (!std::strcmp(arg, "--server")) {
      std::string server = value();
      const size_t colon = server.rfind(':');
      if (colon != std::string::npos) {
        if (!ParseNumber(server.c_str() + colon + 1, 1, 65535, options.port)) {
          error = "bad port in --server " + server;
          return std::nullopt;
        }
        server.erase(colon);
      }
      options.host = server;
    } else if (!std::strcmp(arg, "--user")) {
      options.login.user = value();
    } else if (!std::strcmp(arg, "--password")) {
      options.login.password = value();
    } else if (!std::strcmp(arg, "--account")) {
      options.login.account = value();
    } else if (!std::strcmp(arg, "--cwd")) {
      options.directory = value();
    } else if (!std::strcmp(arg, "--camera-address")) {
      options.cameraAddress = value();
    } else if (!std::strcmp(arg, "--data-port")) {
      if (!ParseNumber(value(), 1, 65535, options.dataPort)) {
        error = "bad --data-port";
        return std::nullopt;
      }
    } else if (!std::strcmp(arg, "--timeout")) {
      if (!ParseNumber(value(), 1, 86400, options.timeoutSeconds)) {
        error = "bad --timeout";
        return std::nullopt;
      }
    } else if (arg[0] == '-' && arg[1] != '\0') {
      error = std::string("unknown option ") + arg;
      return std::nullopt;
    } else {
      options.files.push_back(arg);
    }
  }
  if (options.help) return options;
  if (options.host.empty()) {
    error = "--server is missing";
    return std::nullopt;
  }
  if (options.files.empty()) {
    error = "no FILE to upload";
    return std::nullopt;
  }
  return options;
}
