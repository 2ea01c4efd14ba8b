#include "serial_command.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "cable_link.h"
#include "camera_channels.h"
#include "serial_options.h"
#include "socket_io.h"

namespace {

std::atomic<bool> g_stop{false};

void OnSignal(int) { g_stop = true; }

// One PC on the cable, until it closes or the camera goes away.
void ServeCable(int fd, const SerialOptions &options) {
  camsim_serial::CameraChannels channels(options);
  camsim_serial::CableLink link(fd, options, channels);
  channels.Attach(link);
  link.Run(g_stop);
  channels.Finish();
}

}  // namespace


int CamsimSerialMain(int argc, char **argv) {
  SerialOptions options;
  bool help = false;
  std::string error;
  if (!ParseSerialOptions(argc, argv, options, help, error)) {
    std::fprintf(stderr, "camsim serial: %s (see camsim serial --help)\n", error.c_str());
    return 2;
  }
  if (help) {
    PrintSerialHelp();
    return 0;
  }
  int listener = ListenOn(options.listenAddress, options.listenPort);
  if (listener < 0) {
    std::fprintf(stderr, "camsim serial: cannot listen on %s:%u: %s\n", options.listenAddress.c_str(),
                 options.listenPort, std::strerror(errno));
    return 1;
  }
  struct sigaction action{};
  action.sa_handler = OnSignal;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
  if (!options.pidFile.empty()) std::ofstream(options.pidFile) << getpid() << "\n";
  if (!options.readyFile.empty()) std::ofstream(options.readyFile) << "ready\n";
  if (options.verbose)
    std::fprintf(stderr, "camsim serial: cable on %s:%u, ZLtp camera %s:%u/%u\n", options.listenAddress.c_str(),
                 options.listenPort, options.cameraAddress.c_str(), options.controlPort, options.dataPort);

  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  auto idleSince = start;
  while (!g_stop) {
    if (options.maxLifetimeSeconds && Clock::now() - start >= std::chrono::seconds(options.maxLifetimeSeconds)) break;
    if (options.idleExitSeconds && Clock::now() - idleSince >= std::chrono::seconds(options.idleExitSeconds)) break;
    int fd = AcceptWithin(listener, 200);
    if (fd < 0) continue;
    if (options.verbose) std::fprintf(stderr, "camsim serial: PC connected\n");
    ServeCable(fd, options);
    CloseFd(fd);
    if (options.verbose) std::fprintf(stderr, "camsim serial: PC disconnected\n");
    idleSince = Clock::now();
  }
  CloseFd(listener);
  if (!options.readyFile.empty()) std::remove(options.readyFile.c_str());
  if (!options.pidFile.empty()) std::remove(options.pidFile.c_str());
  return 0;
}
