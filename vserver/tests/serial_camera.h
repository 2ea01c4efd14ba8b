// A simulated camera on the TCP-backed serial port: camsim's serial mode,
// whose ZLtp channels reach a ZLtp camsim started beside it.
#pragma once

#include <string>
#include <vector>

#include "linkhost/tests/camsim_process.h"

class SerialCamera {
 public:
  SerialCamera() = default;
  SerialCamera(const SerialCamera &) = delete;
  SerialCamera &operator=(const SerialCamera &) = delete;
  ~SerialCamera() { Stop(); }

  // Starts both; serialArguments go to the serial mode, zltpArguments to the ZLtp camera.
  bool Start(const std::vector<std::string> &serialArguments, const std::vector<std::string> &zltpArguments,
             std::string &error);
  // Pulls the cable: the serial side ends, the PC sees DSR drop.
  void Unplug();
  void Stop();
  // The port name for vserver: "tcp:127.0.0.1:PORT".
  std::string PortName() const;
  std::string Log() const;

 private:
  CamsimProcess zltp_;
  std::string folder_;  // Unix path of the serial side's run folder
  int port_ = 0;
};
