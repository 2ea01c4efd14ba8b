// Runs camctl.exe as a process and collects what it printed, for the tests
// against the camera simulator.
#pragma once

#include <string>
#include <vector>

struct CamctlRun {
  unsigned long exitCode = 0;
  std::string out;     // standard output, line ends as "\n"
  std::string err;     // standard error, line ends as "\n"
  std::string rawOut;  // standard output byte for byte
};

// camctl.exe started in the background, for tests that act while it runs.
class CamctlProcess {
 public:
  CamctlProcess() = default;
  ~CamctlProcess();
  CamctlProcess(const CamctlProcess &) = delete;
  CamctlProcess &operator=(const CamctlProcess &) = delete;

  bool Start(const std::vector<std::string> &arguments, const std::string &input = "");
  // Waits for the end (ending the process after the time-out) and collects
  // what it printed.
  CamctlRun Finish();

 private:
  void *process_ = nullptr;
  std::string stem_;  // the files of its standard handles
};

// Runs camctl.exe from the current folder with the arguments (each quoted
// the way the C runtime splits them again),
// feeding input on standard input. A run that does not end within the
// time-out is ended and reported with exit code 0xDEAD.
CamctlRun RunCamctl(const std::vector<std::string> &arguments, const std::string &input = "");

// Ends the link host of the address (it stays running after its clients, by
// design) so that no test leaves a process behind.
void StopLinkHost(const std::string &address);
