// The server as a whole: the serial link to the camera and the three
// listening ports that relay TCP connections over it.
#pragma once

#include <string>

#include "channel_table.h"
#include "event_log.h"
#include "http_listener.h"
#include "serial_link.h"
#include "zltp_listener.h"

namespace vserver {

class VirtualServer {
 public:
  explicit VirtualServer(EventLog &log);
  VirtualServer(const VirtualServer &) = delete;
  VirtualServer &operator=(const VirtualServer &) = delete;

  // portName empty: search the registry for the camera's port.
  bool Start(const std::string &portName);
  void Stop();
  // The serial link saw the camera go away.
  bool CameraGone() const { return link_.ClosedCount() > 0; }

 private:
  void LogStarted();

  EventLog &log_;
  ChannelTable table_;
  SerialLink link_;
  ServerParts parts_;
  HttpListener http_;
  ZltpListener control_;
  ZltpListener data_;
};

// The HTTP port: the system's service entry for "http"/"tcp", else 80.
uint16_t HttpPort();

}  // namespace vserver
