// What the vserver tests share: the moved HTTP port, socket helpers and a
// fixture that starts a simulated serial camera and vserver with it.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "serial_camera.h"
#include "vserver_process.h"

constexpr u_short kHttpPort = 18080;  // moved off 80 through the prefix's services file
constexpr DWORD kStartWait = 20000;

SOCKET Connect(u_short port);
bool SendAll(SOCKET s, const std::string &data);
// Everything until the peer closes (or the receive time-out).
std::string ReceiveAll(SOCKET s);
// Whether bytes arrive within the time.
bool Readable(SOCKET s, long ms);
std::string HttpGet(const std::string &path);

class VserverTest : public ::testing::Test {
 protected:
  // Starts the camera and vserver, and the server through the button and the port dialog.
  void StartServer(const std::vector<std::string> &cameraArguments = {},
                   const std::vector<std::string> &zltpArguments = {});
  std::string Dump();
  void TearDown() override;

  SerialCamera camera_;
  VserverProcess vserver_;
};
