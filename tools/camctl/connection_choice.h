// The connection settings given to the settings command: a device and the
// camera address it implies.
#pragma once

#include <string>
#include <vector>

struct ConnectionChoice {
  std::string device;   // "LAN", "USB" or "COM1" ... "COM9"
  std::string address;  // dotted IPv4
};

// "LAN ADDRESS", "USB [ADDRESS]" or "COMn [ADDRESS]"; cable-attached cameras
// are reached through the virtual server on 127.0.0.1 unless an address is
// given. Device names are accepted in any case.
bool ParseConnectionChoice(const std::vector<std::string> &operands, ConnectionChoice &choice, std::string &error);
