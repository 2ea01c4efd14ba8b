// The "SELECT COM" dialog: picks the port the server opens.
#pragma once

#include <windows.h>

#include <string>

namespace vserver {

// Shows the dialog with COM1 to COM9 and, if given, the extra port name,
// preselecting index; on OK returns true with the name and its index.
bool SelectPort(HWND owner, const std::string &extraPort, int &index, std::string &port);

}  // namespace vserver
