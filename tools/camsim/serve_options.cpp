#include "serve_options.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "zltp_wire.h"

namespace {

bool ParseUnsigned(const std::string &text, uint32_t &value) {
  if (text.empty()) return false;
  char *end = nullptr;
  const unsigned long long parsed = std::strtoull(text.c_str(), &end, 0);
  if (*end != '\0' || parsed > 0xFFFFFFFFull) return false;
  value = static_cast<uint32_t>(parsed);
  return true;
}

// "N=VALUE" with a drive number 0..2.
bool ParseDriveValue(const std::string &text, int &drive, std::string &value) {
  const size_t eq = text.find('=');
  if (eq != 1 || text[0] < '0' || text[0] > '2') return false;
  drive = text[0] - '0';
  value = text.substr(2);
  return !value.empty();
}

}  // namespace

bool ParseServeOptions(int argc, char **argv, ServeOptions &options, bool &help, std::string &error) {
  help = false;
  bool anyDrive = false;
  bool randomFaults = false;
  RandomFaultSettings random;
  std::string randomOnly;  // an option that needs --random-faults
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    auto next = [&](std::string &value) {
      if (i + 1 >= argc) {
        error = "missing value after " + arg;
        return false;
      }
      value = argv[++i];
      return true;
    };
    auto number = [&](uint32_t &value) {
      std::string text;
      if (!next(text)) return false;
      if (!ParseUnsigned(text, value)) {
        error = "bad number for " + arg + ": " + text;
        return false;
      }
      return true;
    };
    std::string text;
    uint32_t value = 0;
    int drive = 0;
    if (arg == "-h" || arg == "--help") {
      help = true;
      return true;
    } else if (arg == "-v" || arg == "--verbose") {
      options.verbose = true;
    } else if (arg == "--address") {
      if (!next(options.address)) return false;
    } else if (arg == "--control-port" || arg == "--data-port") {
      if (!number(value)) return false;
      if (value == 0 || value > 65535) {
        error = "bad port: " + std::to_string(value);
        return false;
      }
      (arg == "--control-port" ? options.controlPort : options.dataPort) = static_cast<uint16_t>(value);
    } else if (arg == "--drive" || arg == "--capacity" || arg == "--free") {
      if (!next(text)) return false;
      std::string item;
      if (!ParseDriveValue(text, drive, item)) {
        error = "expected N=VALUE with N 0, 1 or 2 after " + arg;
        return false;
      }
      if (arg == "--drive") {
        options.driveFolders[drive] = item;
        anyDrive = true;
      } else if (!ParseUnsigned(item, value)) {
        error = "bad number in " + text;
        return false;
      } else {
        (arg == "--capacity" ? options.capacity : options.freeSpace)[drive] = value;
      }
    } else if (arg == "--model") {
      if (!number(value)) return false;
      if (value == 0) {
        error = "the model number starts at 1";
        return false;
      }
      options.model = value;
    } else if (arg == "--versions") {
      if (!next(text)) return false;
      options.versions.clear();
      std::stringstream list(text);
      std::string item;
      while (std::getline(list, item, ',')) {
        if (!ParseUnsigned(item, value) || value > 0xFFFF) {
          error = "bad version list: " + text;
          return false;
        }
        options.versions.push_back(static_cast<uint16_t>(value));
      }
    } else if (arg == "--max-packet") {
      if (!number(options.maximumPacketSize)) return false;
      // Below a header and one byte no packet could carry anything.
      if (options.maximumPacketSize != 0 && options.maximumPacketSize <= zltp::kHeaderSize) {
        error = "a maximum packet size must be 0 or at least 17";
        return false;
      }
    } else if (arg == "--config") {
      if (!next(options.configuration)) return false;
    } else if (arg == "--config-file") {
      if (!next(text)) return false;
      std::ifstream file(text, std::ios::binary);
      if (!file) {
        error = "cannot read " + text;
        return false;
      }
      options.configuration.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } else if (arg == "--fault") {
      if (!next(text)) return false;
      const auto fault = ParseFault(text, error);
      if (!fault) return false;
      options.faults.Add(*fault);
    } else if (arg == "--random-faults") {
      if (!next(text) || !ParseRandomFaults(text, random, error)) return false;
      randomFaults = true;
    } else if (arg == "--random-stall-max") {
      if (!number(random.maxStallMs)) return false;
      if (random.maxStallMs == 0 || random.maxStallMs > kLongestStallMs) {
        error = "--random-stall-max must be 1 to " + std::to_string(kLongestStallMs) +
                " ms, well below the link host's 10 s waits";
        return false;
      }
      randomOnly = arg;
    } else if (arg == "--random-faults-off-while") {
      if (!next(random.offWhileFile)) return false;
      if (random.offWhileFile.empty()) {
        error = "--random-faults-off-while needs a file name";
        return false;
      }
      randomOnly = arg;
    } else if (arg == "--max-lifetime") {
      if (!number(value)) return false;
      options.maxLifetimeSeconds = value;
    } else if (arg == "--idle-exit") {
      if (!number(value)) return false;
      options.idleExitSeconds = value;
    } else if (arg == "--watch-parent") {
      options.watchParent = true;
    } else if (arg == "--pid-file") {
      if (!next(options.pidFile)) return false;
    } else if (arg == "--ready-file") {
      if (!next(options.readyFile)) return false;
    } else {
      error = "unknown option: " + arg;
      return false;
    }
  }
  if (!randomOnly.empty() && !randomFaults) {
    error = randomOnly + " needs --random-faults";
    return false;
  }
  if (randomFaults) options.randomFaults = random;
  options.sampleCard = !anyDrive;
  return true;
}

void PrintServeHelp() {
  std::printf(
      "camsim - a simulated Lumo camera on the ZLtp link\n\n"
      "Usage: camsim [serve] [options]\n"
      "       camsim upload ...     (the direct-upload FTP client, when built in)\n\n"
      "Serves one link host at a time on the control and data ports, and a new\n"
      "one after the old link closed. Without --drive it creates a sample card in a\n"
      "temporary folder: drives 0 and 1 with DCIM/100LUMO01 and DCIM/101LUMO01\n"
      "holding JPEG pictures (with Exif thumbnails) and a text file; drive 2 absent.\n"
      "The folder is removed when camsim ends.\n\n"
      "Options:\n"
      "  --address A          IPv4 address to listen on (127.0.0.1; any 127.x.y.z works)\n"
      "  --control-port P     control port (6220)\n"
      "  --data-port P        data port (6221)\n"
      "  --drive N=DIR        back drive N (0 internal, 1 CF, 2 ATA) with folder DIR;\n"
      "                       drives not named are absent\n"
      "  --capacity N=BYTES   capacity reported for drive N (default: its file system)\n"
      "  --free N=BYTES       free space reported for drive N (default: its file system)\n"
      "  --model N            model number the link host ends up with (2); the version\n"
      "                       reply carries N - 1\n"
      "  --versions LIST      protocol versions accepted, comma-separated (1,2)\n"
      "  --max-packet N       maximum packet size announced, 0 for no limit (8192)\n"
      "  --config TEXT        contents of the ZL1_CONFIGURATION pseudo-file\n"
      "  --config-file PATH   read those contents from a file\n"
      "  --fault FAULT        inject a fault, see below\n"
      "  --random-faults SEED[:RATE]\n"
      "                       inject seeded random faults, see below\n"
      "  --random-stall-max MS\n"
      "                       longest stall of the random faults, 1 to 5000 ms (800)\n"
      "  --random-faults-off-while FILE\n"
      "                       no random faults while FILE exists (a test sets up and\n"
      "                       checks the card meanwhile)\n"
      "  --max-lifetime S     exit after S seconds whatever happens (0: never)\n"
      "  --idle-exit S        exit after S seconds without an open link (0: never)\n"
      "  --watch-parent       exit when the parent process goes away (a program started\n"
      "                       by Wine is re-parented at once: use --idle-exit there)\n"
      "  --pid-file PATH      write the process id to PATH\n"
      "  --ready-file PATH    create PATH once both ports listen\n"
      "  -v, --verbose        log each request in one line on standard error\n"
      "  -h, --help           this text\n\n"
      "Behaviour: every request of the ZLtp opcode table is served; statuses follow\n"
      "the camera's table (128 not found, 131 refused/read-only, 133 not empty,\n"
      "136 exists, 138 name too long, 8 cannot be transferred, 3 not supported).\n"
      "Attributes are kept by the simulator; entries with the read-only bit (0x01)\n"
      "refuse erase with status 131 (file erase mode 2 erases them anyway).\n"
      "Copy and move take a destination folder ending in '/' (the item keeps its\n"
      "name) or, for files, a full new path. Send file refuses an existing file\n"
      "unless flag bit 0x1 is set. A version-1 link gets no final reply to a send.\n\n"
      "%s\n%s",
      FaultHelp(), RandomFaultHelp());
}
