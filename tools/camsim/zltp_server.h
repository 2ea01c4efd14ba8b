// The camera's two listening ports: one link host at a time is served, and
// a new link after the old one closed.
#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "camera_storage.h"
#include "random_faults.h"
#include "serve_options.h"

class ZltpServer {
 public:
  explicit ZltpServer(const ServeOptions &options);
  ~ZltpServer();
  ZltpServer(const ZltpServer &) = delete;
  ZltpServer &operator=(const ZltpServer &) = delete;

  bool Listen(std::string &error);
  // Serves links until stop is set.
  void Run(const std::atomic<bool> &stop);

 private:
  const ServeOptions &options_;
  CameraStorage storage_;
  std::string configuration_;
  std::optional<RandomFaultSource> randomFaults_;  // kept across links
  int controlListener_ = -1;
  int dataListener_ = -1;
};
