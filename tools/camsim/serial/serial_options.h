// Command line of "camsim serial": the camera on its cable, played over a
// TCP connection that stands in for the serial line.
#pragma once

#include <cstdint>
#include <string>

struct SerialFaults {
  unsigned badCrcFrame = 0;     // this frame to the PC (counted from 1) carries a wrong CRC
  unsigned repeatFrame = 0;     // this frame to the PC goes out twice
  unsigned dropAckFrame = 0;    // this frame from the PC is not acknowledged
  unsigned goneAfterFrames = 0; // the camera goes away after this many frames from the PC
};

struct SerialOptions {
  std::string listenAddress = "127.0.0.1";
  uint16_t listenPort = 0;
  std::string cameraAddress = "127.0.0.1";  // the ZLtp engine (camsim serve)
  uint16_t controlPort = 6220;
  uint16_t dataPort = 6221;
  uint32_t speed = 115200;  // the line speed the camera answers the probe at
  bool ackflow = true;      // accept the acknowledged mode when offered
  SerialFaults faults;
  unsigned maxLifetimeSeconds = 0;
  unsigned idleExitSeconds = 0;
  std::string pidFile;
  std::string readyFile;
  bool verbose = false;
};

bool ParseSerialOptions(int argc, char **argv, SerialOptions &options, bool &help, std::string &error);
void PrintSerialHelp();
