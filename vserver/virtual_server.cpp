#include "virtual_server.h"

#include <winsock2.h>

#include "port_finder.h"

namespace vserver {
namespace {

constexpr int kZltpSocketBuffer = 2048;
constexpr DWORD kClientsExitMs = 1000;

}  // namespace

uint16_t HttpPort() {
  const servent *service = getservbyname("http", "tcp");
  return service ? ntohs(static_cast<u_short>(service->s_port)) : 80;
}

VirtualServer::VirtualServer(EventLog &log)
    : log_(log), link_(table_, log), parts_{link_, table_, log}, http_(parts_), control_(parts_, false),
      data_(parts_, true) {}

bool VirtualServer::Start(const std::string &portName) {
  const std::string port = portName.empty() ? FindPort() : portName;
  if (port.empty()) {
    log_.Log("No camera port found");
    return false;
  }
  table_.Init();
  ConnectionContext probe;
  table_.AllocateSlot(probe);
  const bool open = link_.Open(port, probe);
  table_.FreeSlot(probe);
  if (!open) return false;
  if (!http_.Start(HttpPort(), 0, SOMAXCONN)) {
    link_.Close();
    return false;
  }
  if (!control_.Start(6220, kZltpSocketBuffer, 1)) {
    http_.Stop();
    link_.Close();
    return false;
  }
  if (!data_.Start(6221, kZltpSocketBuffer, 1)) {
    control_.Stop();
    http_.Stop();
    link_.Close();
    return false;
  }
  LogStarted();
  return true;
}

void VirtualServer::LogStarted() {
  char host[256] = "";
  gethostname(host, sizeof host);
  const char *address = "";
  if (const hostent *entry = gethostbyname(host)) {
    if (entry->h_addrtype == AF_INET && entry->h_addr_list[0])
      address = inet_ntoa(*reinterpret_cast<const in_addr *>(entry->h_addr_list[0]));
  }
  log_.Logf("Virtual Server Started: %s [%s] ", host, address);
}

void VirtualServer::Stop() {
  link_.Close();
  http_.Stop();
  control_.Stop();
  data_.Stop();
  if (!table_.WaitAllGone(kClientsExitMs)) log_.Log("One or more client threads did not exit");
  log_.Log("Virtual Server Stopped");
}

}  // namespace vserver
