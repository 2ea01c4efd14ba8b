#include "serve_command.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "sample_card.h"
#include "serve_options.h"
#include "zltp_server.h"

namespace {

std::atomic<bool> g_stop{false};
std::atomic<bool> g_stopped{false};  // the main loop has returned

void OnSignal(int) { g_stop = true; }

// The safety net for test runs: ends the simulator when its lifetime is
// over or its parent is gone, even if a session is stuck in a write.
void Watchdog(const ServeOptions &options, pid_t parent) {
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    if (g_stop) return;
    const bool expired = options.maxLifetimeSeconds &&
                         std::chrono::steady_clock::now() - start >= std::chrono::seconds(options.maxLifetimeSeconds);
    const bool orphaned = options.watchParent && getppid() != parent;
    if (expired || orphaned) {
      std::fprintf(stderr, "camsim: %s, exiting\n", expired ? "maximum lifetime reached" : "parent gone");
      g_stop = true;
      // An orderly end cleans up and exits 0; only a loop stuck for 3 s is cut off.
      for (int i = 0; i < 60 && !g_stopped; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
      if (!g_stopped) std::_Exit(2);
      return;
    }
  }
}

}  // namespace

int ServeMain(int argc, char **argv) {
  ServeOptions options;
  bool help = false;
  std::string error;
  if (!ParseServeOptions(argc, argv, options, help, error)) {
    std::fprintf(stderr, "camsim: %s (see camsim --help)\n", error.c_str());
    return 2;
  }
  if (help) {
    PrintServeHelp();
    return 0;
  }
  SampleCard card;
  if (options.sampleCard && !card.Create(options, error)) {
    std::fprintf(stderr, "camsim: %s\n", error.c_str());
    return 1;
  }
  ZltpServer server(options);
  if (!server.Listen(error)) {
    std::fprintf(stderr, "camsim: %s\n", error.c_str());
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
    std::fprintf(stderr, "camsim: listening on %s ports %u and %u\n", options.address.c_str(), options.controlPort,
                 options.dataPort);
  if (const auto &random = options.randomFaults) {
    std::fprintf(stderr, "camsim: random faults with seed %llu, rate %g, stalls up to %u ms%s%s\n",
                 static_cast<unsigned long long>(random->seed), random->rate, random->maxStallMs,
                 random->offWhileFile.empty() ? "" : ", none while this file exists: ", random->offWhileFile.c_str());
  }
  std::thread watchdog(Watchdog, std::cref(options), getppid());
  server.Run(g_stop);
  g_stopped = true;
  g_stop = true;
  watchdog.join();
  if (!options.readyFile.empty()) std::remove(options.readyFile.c_str());
  if (!options.pidFile.empty()) std::remove(options.pidFile.c_str());
  return 0;
}
