#include "upload_command.h"

#include <chrono>
#include <cstdio>

#include "ftp_upload_client.h"
#include "upload_options.h"

namespace {

std::string BaseName(const std::string &path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int Failed(const FtpUploadClient &client) {
  std::fprintf(stderr, "camsim upload: %s\n", client.Error().c_str());
  return 1;
}

}  // namespace

int CamsimUploadMain(int argc, char **argv) {
  std::string error;
  const auto options = ParseUploadOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "camsim upload: %s\n%s", error.c_str(), kUploadUsage);
    return 2;
  }
  if (options->help) {
    std::fputs(kUploadUsage, stdout);
    return 0;
  }

  FtpUploadClient client(options->timeoutSeconds * 1000, options->dataPort);
  if (!client.Connect(options->host, options->port, options->cameraAddress) || !client.Login(options->login)) return Failed(client);
  if (!options->directory.empty() && !client.ChangeDirectory(options->directory)) return Failed(client);

  const auto start = std::chrono::steady_clock::now();
  uint64_t totalBytes = 0;
  for (const std::string &file : options->files) {
    uint64_t bytes = 0;
    if (!client.AnnounceDataPort() || !client.Store(file, BaseName(file), bytes)) return Failed(client);
    totalBytes += bytes;
    if (!options->quiet) std::printf("stored %s (%llu bytes)\n", BaseName(file).c_str(), (unsigned long long)bytes);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!client.Quit()) return Failed(client);

  const double safeSeconds = seconds > 0 ? seconds : 1e-9;
  std::printf("uploaded %zu files, %llu bytes in %.3f s (%.2f MB/s, %.1f files/s)\n", options->files.size(),
              (unsigned long long)totalBytes, seconds, totalBytes / safeSeconds / 1e6,
              options->files.size() / safeSeconds);
  std::fflush(stdout);
  return 0;
}
