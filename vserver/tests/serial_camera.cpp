#include "serial_camera.h"

#include <windows.h>

#include <fstream>
#include <sstream>

#ifndef SERIAL_CAMERA_COMMAND
#error "SERIAL_CAMERA_COMMAND must name camsim's serial mode"
#endif

namespace {

// The ZLtp camera keeps off 6220/6221, which vserver binds on every address.
constexpr char kZltpControlPort[] = "16220";
constexpr char kZltpDataPort[] = "16221";
constexpr DWORD kStartTimeout = 60000;

std::string WindowsPath(const std::string &unixPath) {
  std::string path = "Z:" + unixPath;
  for (char &c : path)
    if (c == '/') c = '\\';
  return path;
}

}  // namespace

bool SerialCamera::Start(const std::vector<std::string> &serialArguments,
                         const std::vector<std::string> &zltpArguments, std::string &error) {
  Stop();
  std::vector<std::string> zltp = zltpArguments;
  zltp.insert(zltp.end(), {"--control-port", kZltpControlPort, "--data-port", kZltpDataPort, "-v"});
  if (!zltp_.Start(CamsimProcess::NextAddress(), zltp, error)) return false;
  static int counter = 0;
  port_ = 17000 + static_cast<int>(GetCurrentProcessId() % 500) * 8 + counter++ % 8;
  folder_ = "/tmp/vserver-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
  std::string command = "mkdir -p " + folder_ + " && exec " SERIAL_CAMERA_COMMAND " --listen 127.0.0.1:" +
                        std::to_string(port_) + " --camera " + zltp_.Address() + " --control-port " +
                        kZltpControlPort + " --data-port " + kZltpDataPort + " --pid-file " + folder_ +
                        "/pid --ready-file " + folder_ + "/ready --idle-exit 30 --max-lifetime 180 -v";
  for (const std::string &argument : serialArguments) command += " '" + argument + "'";
  command += " 2>" + folder_ + "/log";
  if (!StartShell(command) || !WaitForFile(folder_ + "/ready", true, kStartTimeout)) {
    error = "camsim serial did not come up (log in " + folder_ + "/log)";
    return false;
  }
  return true;
}

void SerialCamera::Unplug() {
  if (folder_.empty()) return;
  RunShell("p=$(cat " + folder_ + "/pid 2>/dev/null) && kill $p && while kill -0 $p 2>/dev/null; do sleep 0.05; done");
}

void SerialCamera::Stop() {
  if (!folder_.empty()) {
    Unplug();
    RunShell("rm -rf " + folder_);
    folder_.clear();
  }
  zltp_.Stop();
}

std::string SerialCamera::PortName() const { return "tcp:127.0.0.1:" + std::to_string(port_); }

std::string SerialCamera::Log() const {
  std::ifstream file(WindowsPath(folder_ + "/log"), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}
