// Throughput of the direct-upload path, run by hand (not a CTest test):
//   cd build/win64/bin && timeout 900 ../../../scripts/wine-run ../wine ./uploadd_benchmark.exe [ROUNDS]
//
// One sender for every measurement: the native camsim upload client, the
// camera's own FTP conversation (login, then PORT, STOR, a data connection
// of its own and 226 per file). It feeds uploadd.exe and, as the baseline,
// RawUploadReceiver in this Wine process, which does the least work the
// same uploads need (fixed replies, blocking reads, WriteFile into a
// temporary file, rename into place). Same client binary, same files, same
// conversation, same folder, same run: only the receiver differs, so the
// ratio is what uploadd's own way of serving costs.
//
// Rates are bytes over the wall time of the clients (taken by the shell
// around them); each measurement is repeated and the best round counts, as
// other work on the machine only ever slows a round down. Then 8 cameras
// (clients on their own loopback addresses) upload 50 files each at once,
// a fifth of them under names that all cameras and both halves of a
// camera's run share, so that the server keeps earlier copies numbered.
// uploadd keeps a log, as a user who wants to see what came would set it.
// Every received file is compared byte for byte with what was sent. The
// run fails when a check fails or uploadd falls below 80 % of the baseline
// (or, with 8 cameras, of its own single-camera rate).
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "benchmark_uploads.h"
#include "ftp_test_client.h"
#include "raw_upload_receiver.h"
#include "upload_server_process.h"

namespace {

constexpr int kDefaultRounds = 3;
constexpr double kTarget = 0.8;
constexpr int kCameras = 8;
constexpr int kFilesPerCamera = 50;
constexpr int kUploadPort = 6222;

struct Best {
  double rate = 0;  // MB/s
  bool ok = true;
  void Take(const Measured &m) {
    ok = ok && m.ok;
    if (m.ok) rate = std::max(rate, m.Rate());
  }
};

bool Report(const char *label, const Best &measured, const Best &reference, const char *against) {
  const double ratio = reference.rate > 0 ? measured.rate / reference.rate : 0;
  const bool ok = measured.ok && reference.ok && ratio >= kTarget;
  std::printf("%-30s %8.1f MB/s = %5.1f %% of %s (%s)\n", label, measured.rate, 100 * ratio, against,
              ok ? "ok" : "FAILED");
  return ok;
}

}  // namespace

int main(int argc, char **argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRounds;
  const WinsockEnvironment winsock;
  BenchmarkFolder folder("uploadd_bench." + std::to_string(GetCurrentProcessId()));
  const std::vector<SentFile> small = folder.MakeFiles("one", 200, 1 << 20);
  const std::vector<SentFile> big = folder.MakeFiles("big", 1, 100 << 20);
  std::vector<Camera> cameras;
  for (int k = 0; k < kCameras; ++k)
    cameras.push_back({"127.0.0." + std::to_string(k + 2), folder.MakeCameraFiles(k, kFilesPerCamera, 1 << 20)});

  UploadServerProcess server(folder.Root(), folder.LogFile());
  const std::string started = server.HasWindow() ? server.PressStart() : "no window";
  if (!started.empty()) {
    std::printf("uploadd did not start: %s\n", started.c_str());
    return 1;
  }
  RawUploadReceiver raw(folder.Root());
  if (!raw.Port()) {
    std::printf("the baseline receiver cannot listen\n");
    return 1;
  }
  // The baseline serves one session per measurement, on its own thread.
  const auto viaRaw = [&](const std::vector<SentFile> &files) {
    raw.ServeOneSession();
    Measured m = folder.Upload(raw.Port(), {{"", files}});
    if (!raw.Wait()) m.Fail("the baseline receiver failed");
    return m;
  };

  Best rawSmall, uploaddSmall, rawBig, uploaddBig, many;
  for (int round = 1; round <= rounds; ++round) {
    const Measured measurements[] = {viaRaw(small), folder.Upload(kUploadPort, {{"", small}}), viaRaw(big),
                                     folder.Upload(kUploadPort, {{"", big}}), folder.Upload(kUploadPort, cameras)};
    Best *targets[] = {&rawSmall, &uploaddSmall, &rawBig, &uploaddBig, &many};
    const char *labels[] = {"200 x 1 MiB baseline", "200 x 1 MiB uploadd", "1 x 100 MiB baseline",
                            "1 x 100 MiB uploadd", "8 cameras x 50 x 1 MiB uploadd"};
    for (int i = 0; i < 5; ++i) {
      std::printf("round %d %-30s %s\n", round, labels[i], measurements[i].Text().c_str());
      targets[i]->Take(measurements[i]);
    }
  }
  std::printf("best of %d rounds:\n", rounds);
  std::printf("%-30s %8.1f MB/s\n%-30s %8.1f MB/s\n", "200 x 1 MiB baseline", rawSmall.rate, "1 x 100 MiB baseline",
              rawBig.rate);
  bool ok = Report("200 x 1 MiB uploadd", uploaddSmall, rawSmall, "baseline");
  ok = Report("1 x 100 MiB uploadd", uploaddBig, rawBig, "baseline") && ok;
  ok = Report("8 cameras x 50 x 1 MiB uploadd", many, uploaddSmall, "1 camera") && ok;
  return ok ? 0 : 1;
}
