#include "connection_choice.h"

#include <cctype>

#include "command_line.h"

namespace {

constexpr char kLoopback[] = "127.0.0.1";

std::string Upper(std::string text) {
  for (char &c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool IsCableDevice(const std::string &device) {
  return device == "USB" || (device.size() == 4 && device.rfind("COM", 0) == 0 && device[3] >= '1' && device[3] <= '9');
}

}  // namespace

bool ParseConnectionChoice(const std::vector<std::string> &operands, ConnectionChoice &choice, std::string &error) {
  choice = ConnectionChoice{};
  if (operands.empty()) {
    error = "missing device: expected LAN, USB or COM1 to COM9";
    return false;
  }
  choice.device = Upper(operands[0]);
  if (choice.device != "LAN" && !IsCableDevice(choice.device)) {
    error = "unknown device '" + operands[0] + "': expected LAN, USB or COM1 to COM9";
    return false;
  }
  if (operands.size() > 1) {
    choice.address = operands[1];
  } else if (choice.device == "LAN") {
    error = "missing camera address after LAN";
    return false;
  } else {
    choice.address = kLoopback;
  }
  if (!IsDottedIPv4(choice.address)) {
    error = "bad camera address '" + choice.address + "': expected a dotted IPv4 address such as 192.168.0.5";
    return false;
  }
  return true;
}
