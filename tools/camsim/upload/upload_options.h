// Command-line options of "camsim upload".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ftp_upload_client.h"

struct UploadOptions {
  std::string host;
  int port = 6222;
  int dataPort = 6223;
  std::string cameraAddress;  // local address to connect from when not empty
  int timeoutSeconds = 60;
  UploadLogin login;
  std::string directory;  // CWD before the uploads when not empty
  bool quiet = false;
  bool help = false;
  std::vector<std::string> files;
};

// Parses argv[1...]; on a usage error returns nothing and sets error.
std::optional<UploadOptions> ParseUploadOptions(int argc, char **argv, std::string &error);

extern const char kUploadUsage[];
