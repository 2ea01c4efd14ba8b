// Command line of "camsim serve".
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "faults.h"
#include "random_faults.h"

constexpr int kDriveCount = 3;

struct ServeOptions {
  std::string address = "127.0.0.1";
  uint16_t controlPort = 6220;
  uint16_t dataPort = 6221;
  std::array<std::string, kDriveCount> driveFolders;  // empty: absent
  std::array<std::optional<uint32_t>, kDriveCount> capacity;
  std::array<std::optional<uint32_t>, kDriveCount> freeSpace;
  bool sampleCard = true;      // no --drive given: make a sample card
  uint32_t model = 2;          // the model number the link host reports
  std::vector<uint16_t> versions{1, 2};
  uint32_t maximumPacketSize = 8192;
  std::string configuration = "[ZL1]\r\nLanguage=0\r\nQuality=2\r\n";
  FaultSet faults;
  std::optional<RandomFaultSettings> randomFaults;
  unsigned maxLifetimeSeconds = 0;  // 0: no limit
  unsigned idleExitSeconds = 0;     // 0: never; else exit after that long without a link
  bool watchParent = false;
  std::string pidFile;
  std::string readyFile;
  bool verbose = false;
};

// Parses the arguments after "serve" (or all of them). Returns false with a
// message in error; help is set for --help.
bool ParseServeOptions(int argc, char **argv, ServeOptions &options, bool &help, std::string &error);
void PrintServeHelp();
