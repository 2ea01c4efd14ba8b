#include "zltp_server.h"

#include <chrono>
#include <cstdio>
#include <cstring>

#include "socket_io.h"
#include "zltp_session.h"

namespace {
constexpr int kPollMs = 200;
constexpr int kDataConnectionWaitMs = 10000;  // the link host opens the data connection right after
}  // namespace

ZltpServer::ZltpServer(const ServeOptions &options)
    : options_(options), storage_(options), configuration_(options.configuration) {
  if (options.randomFaults) randomFaults_.emplace(*options.randomFaults);
}

ZltpServer::~ZltpServer() {
  CloseFd(controlListener_);
  CloseFd(dataListener_);
}

bool ZltpServer::Listen(std::string &error) {
  controlListener_ = ListenOn(options_.address, options_.controlPort);
  if (controlListener_ >= 0) dataListener_ = ListenOn(options_.address, options_.dataPort);
  if (controlListener_ < 0 || dataListener_ < 0) {
    error = "cannot listen on " + options_.address + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

void ZltpServer::Run(const std::atomic<bool> &stop) {
  using Clock = std::chrono::steady_clock;
  auto idleSince = Clock::now();
  while (!stop) {
    int control = AcceptWithin(controlListener_, kPollMs);
    if (control < 0) {
      if (options_.idleExitSeconds && Clock::now() - idleSince >= std::chrono::seconds(options_.idleExitSeconds)) {
        std::fprintf(stderr, "camsim: no link for %u seconds, exiting\n", options_.idleExitSeconds);
        return;
      }
      continue;
    }
    int data = -1;
    for (int waited = 0; data < 0 && waited < kDataConnectionWaitMs && !stop; waited += kPollMs)
      data = AcceptWithin(dataListener_, kPollMs);
    if (data < 0) {
      if (options_.verbose) std::fprintf(stderr, "camsim: no data connection came, link dropped\n");
      CloseFd(control);
      continue;
    }
    if (options_.verbose) std::fprintf(stderr, "camsim: link opened\n");
    ZltpSession session(control, data, options_, storage_, configuration_, randomFaults_ ? &*randomFaults_ : nullptr,
                        stop);
    session.Run();
    idleSince = Clock::now();
    if (options_.verbose) std::fprintf(stderr, "camsim: link closed\n");
  }
}
