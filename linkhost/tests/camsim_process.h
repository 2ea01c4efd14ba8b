// Starts the native camera simulator from a Windows test (through /bin/sh,
// which Wine runs as a Unix process) and makes sure it ends with the test:
// it is stopped explicitly, and on its own ends when no link has been open
// for a while or its maximum lifetime is over (Wine re-parents it at once,
// so it cannot watch the test process).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CamsimProcess {
 public:
  // A fresh loopback address for each simulator of this test program.
  static std::string NextAddress();

  CamsimProcess() = default;
  CamsimProcess(const CamsimProcess &) = delete;
  CamsimProcess &operator=(const CamsimProcess &) = delete;
  ~CamsimProcess() { Stop(); }

  // Starts camsim on the address with the extra arguments and waits until it
  // listens. False (with the reason) when it did not come up in time.
  bool Start(const std::string &address, const std::vector<std::string> &arguments, std::string &error);
  void Stop();
  const std::string &Address() const { return address_; }
  // What camsim has logged so far (with -v, one line per request).
  std::string Log() const;

 private:
  std::string address_;
  std::string folder_;  // Unix path of the run's folder (pid and ready files)
};

// Runs a shell command line as a Unix process and waits for it (up to a
// minute); false when it could not be started or did not end in time.
bool RunShell(const std::string &command);
// Starts a shell command line as a Unix process without waiting for it.
bool StartShell(const std::string &command);
// Polls until the Unix path exists (present) or is gone; false after the timeout.
bool WaitForFile(const std::string &unixPath, bool present, DWORD timeout);
