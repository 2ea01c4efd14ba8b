#include "port_finder.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "serial_port.h"
#include "win_raii.h"

namespace vserver {

std::unique_ptr<SerialPort> OpenComPort(const std::string &name, DWORD &error);
std::unique_ptr<SerialPort> OpenTcpPort(const std::string &name, DWORD &error);

std::unique_ptr<SerialPort> OpenSerialPort(const std::string &name, DWORD &error) {
  return IsTcpPortName(name) ? OpenTcpPort(name, error) : OpenComPort(name, error);
}

namespace {

constexpr char kUsbInstance2221[] = "USB\\Vid_0f1d&Pid_2221";
constexpr char kEnum2221[] = "System\\CurrentControlSet\\Enum\\USB\\Vid_0f1d&Pid_2221";
constexpr char kEnum2222[] = "System\\CurrentControlSet\\Enum\\USB\\Vid_0f1d&Pid_2222";

unique_hkey OpenKey(HKEY root, const std::string &path) {
  unique_hkey key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) key.reset();
  return key;
}

// A string value read into a buffer of the size the registry reports.
bool ReadString(HKEY key, const char *name, std::string &value) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ) return false;
  std::vector<char> buffer(size + 1, '\0');
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(buffer.data()), &size) != ERROR_SUCCESS)
    return false;
  value = buffer.data();
  return true;
}

// The port of one device instance, if it can be opened (or is busy).
std::string TryInstance(HKEY device, const char *instance) {
  unique_hkey parameters = OpenKey(device, std::string(instance) + "\\Device Parameters");
  std::string portName;
  if (!parameters || !ReadString(parameters.get(), "PortName", portName) || portName.size() < 4) return {};
  const int number = std::atoi(portName.c_str() + 3);
  char name[32];
  std::snprintf(name, sizeof name, number > 9 ? "\\\\.\\COM%d" : "COM%d", number);
  HANDLE port = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (port != INVALID_HANDLE_VALUE) {
    CloseHandle(port);
    Sleep(100);
    return name;
  }
  return GetLastError() == ERROR_ACCESS_DENIED ? portName : std::string();
}

}  // namespace

std::string FindPort() {
  if (unique_hkey bus = OpenKey(HKEY_LOCAL_MACHINE, "ENUM\\VemloBus\\ZL1\\0")) {
    std::string portName;
    ReadString(bus.get(), "PortName", portName);
    return portName;
  }
  std::string devicePath = kEnum2222;
  if (unique_hkey service = OpenKey(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VcomPort\\Enum")) {
    std::string instance;
    ReadString(service.get(), "0", instance);
    instance = instance.substr(0, 21);
    if (lstrcmpiA(instance.c_str(), kUsbInstance2221) == 0) devicePath = kEnum2221;
  }
  unique_hkey device = OpenKey(HKEY_LOCAL_MACHINE, devicePath);
  if (!device) return {};
  char subkey[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof subkey;
    if (RegEnumKeyExA(device.get(), index, subkey, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return {};
    std::string port = TryInstance(device.get(), subkey);
    if (!port.empty()) return port;
  }
}

}  // namespace vserver
