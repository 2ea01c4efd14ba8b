// Finds the camera's serial port in the registry: the bus driver's own port
// name, or the first present port of the camera's USB serial device.
#pragma once

#include <string>

namespace vserver {

// The port name, or empty when no camera port is registered.
std::string FindPort();

}  // namespace vserver
