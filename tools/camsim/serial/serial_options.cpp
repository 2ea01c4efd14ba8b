#include "serial_options.h"

#include <cstdio>
#include <cstdlib>

#include "link/speed_table.h"

namespace {

bool ParseNumber(const std::string &text, uint32_t &value) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  value = static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 10));
  return true;
}

bool ParseHostPort(const std::string &text, std::string &host, uint16_t &port) {
  const size_t colon = text.rfind(':');
  uint32_t value = 0;
  if (colon == std::string::npos || !ParseNumber(text.substr(colon + 1), value) || value == 0 || value > 65535)
    return false;
  host = text.substr(0, colon);
  port = static_cast<uint16_t>(value);
  return !host.empty();
}

bool ParseFault(const std::string &text, SerialFaults &faults) {
  const size_t equals = text.find('=');
  uint32_t value = 0;
  if (equals == std::string::npos || !ParseNumber(text.substr(equals + 1), value) || value == 0) return false;
  const std::string name = text.substr(0, equals);
  if (name == "crc")
    faults.badCrcFrame = value;
  else if (name == "repeat")
    faults.repeatFrame = value;
  else if (name == "drop-ack")
    faults.dropAckFrame = value;
  else if (name == "gone")
    faults.goneAfterFrames = value;
  else
    return false;
  return true;
}

}  // namespace

bool ParseSerialOptions(int argc, char **argv, SerialOptions &options, bool &help, std::string &error) {
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string &text) {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      text = argv[++i];
      return true;
    };
    auto number = [&](uint32_t &result) {
      std::string text;
      if (!value(text)) return false;
      if (!ParseNumber(text, result)) {
        error = "bad number for " + arg + ": " + text;
        return false;
      }
      return true;
    };
    std::string text;
    uint32_t n = 0;
    if (arg == "-h" || arg == "--help") {
      help = true;
      return true;
    } else if (arg == "-v" || arg == "--verbose") {
      options.verbose = true;
    } else if (arg == "--listen") {
      if (!value(text)) return false;
      if (!ParseHostPort(text, options.listenAddress, options.listenPort)) {
        error = "--listen wants HOST:PORT, not " + text;
        return false;
      }
    } else if (arg == "--camera") {
      if (!value(options.cameraAddress)) return false;
    } else if (arg == "--control-port" || arg == "--data-port") {
      if (!number(n)) return false;
      if (n == 0 || n > 65535) {
        error = "bad port for " + arg;
        return false;
      }
      (arg == "--control-port" ? options.controlPort : options.dataPort) = static_cast<uint16_t>(n);
    } else if (arg == "--speed") {
      if (!number(options.speed)) return false;
      bool known = false;
      for (const auto &speed : vserver::kSpeedTable) known = known || speed.bitsPerSecond == options.speed;
      if (!known) {
        error = "--speed must be one of 115200, 57600, 38400, 19200, 9600";
        return false;
      }
    } else if (arg == "--plain") {
      options.ackflow = false;
    } else if (arg == "--fault") {
      if (!value(text)) return false;
      if (!ParseFault(text, options.faults)) {
        error = "bad fault " + text + " (crc=N, repeat=N, drop-ack=N or gone=N)";
        return false;
      }
    } else if (arg == "--max-lifetime") {
      if (!number(n)) return false;
      options.maxLifetimeSeconds = n;
    } else if (arg == "--idle-exit") {
      if (!number(n)) return false;
      options.idleExitSeconds = n;
    } else if (arg == "--pid-file") {
      if (!value(options.pidFile)) return false;
    } else if (arg == "--ready-file") {
      if (!value(options.readyFile)) return false;
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  if (options.listenPort == 0) {
    error = "--listen HOST:PORT is required";
    return false;
  }
  return true;
}

void PrintSerialHelp() {
  std::puts(
      "camsim serial --listen HOST:PORT [options]\n"
      "  The camera on its serial cable, played on a TCP port (the TCP-backed port\n"
      "  \"tcp:HOST:PORT\" of vserver). ZLtp channels go to a ZLtp camera (camsim serve);\n"
      "  the HTTP channel is answered with a status page.\n"
      "  --camera ADDRESS        the ZLtp camera's address (127.0.0.1)\n"
      "  --control-port N        its control port (6220)\n"
      "  --data-port N           its data port (6221)\n"
      "  --speed BPS             answer the speed probe only at this speed (115200)\n"
      "  --plain                 refuse the acknowledged mode\n"
      "  --fault crc=N           the Nth frame to the PC carries a wrong CRC\n"
      "  --fault repeat=N        the Nth frame to the PC goes out twice\n"
      "  --fault drop-ack=N      the Nth frame from the PC is not acknowledged\n"
      "  --fault gone=N          the camera goes away after N frames from the PC\n"
      "  --idle-exit S, --max-lifetime S, --pid-file F, --ready-file F, -v");
}
