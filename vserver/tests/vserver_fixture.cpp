#include "vserver_fixture.h"

#include <fstream>
#include <regex>
#include <sstream>

namespace {

constexpr char kServices[] = "C:\\windows\\system32\\drivers\\etc\\services";

// Points the "http" service at kHttpPort for the run and restores the file after.
class Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    std::ifstream in(kServices, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    original_ = text.str();
    std::string changed = std::regex_replace(original_, std::regex("\nhttp[ \t]+80/tcp"),
                                             "\nhttp            " + std::to_string(kHttpPort) + "/tcp");
    std::ofstream(kServices, std::ios::binary) << changed;
  }
  void TearDown() override {
    if (!original_.empty()) std::ofstream(kServices, std::ios::binary) << original_;
    WSACleanup();
  }

 private:
  std::string original_;
};
const auto *const g_environment = ::testing::AddGlobalTestEnvironment(new Environment);

}  // namespace

SOCKET Connect(u_short port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(s, reinterpret_cast<sockaddr *>(&to), sizeof to) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  const DWORD timeout = 20000;
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char *>(&timeout), sizeof timeout);
  return s;
}

bool SendAll(SOCKET s, const std::string &data) {
  for (size_t at = 0; at < data.size();) {
    const int n = send(s, data.data() + at, static_cast<int>(data.size() - at), 0);
    if (n <= 0) return false;
    at += static_cast<size_t>(n);
  }
  return true;
}

std::string ReceiveAll(SOCKET s) {
  std::string all;
  char buffer[4096];
  int n;
  while ((n = recv(s, buffer, sizeof buffer, 0)) > 0) all.append(buffer, static_cast<size_t>(n));
  return all;
}

bool Readable(SOCKET s, long ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval wait{ms / 1000, (ms % 1000) * 1000};
  return select(0, &set, nullptr, nullptr, &wait) == 1;
}

std::string HttpGet(const std::string &path) {
  SOCKET s = Connect(kHttpPort);
  if (s == INVALID_SOCKET) return "";
  SendAll(s, "GET " + path + " HTTP/1.0\r\nHost: camera\r\n\r\n");
  std::string response = ReceiveAll(s);
  closesocket(s);
  return response;
}

namespace {

// Whether the port can be bound on every address (nobody listens on it).
bool PortFree(u_short port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(port);
  const bool free = bind(s, reinterpret_cast<sockaddr *>(&at), sizeof at) == 0;
  closesocket(s);
  return free;
}

}  // namespace

void VserverTest::StartServer(const std::vector<std::string> &cameraArguments,
                              const std::vector<std::string> &zltpArguments) {
  std::string error;
  ASSERT_TRUE(camera_.Start(cameraArguments, zltpArguments, error)) << error;
  ASSERT_TRUE(vserver_.Start("--port " + camera_.PortName(), error)) << error;
  ASSERT_EQ(vserver_.ItemText(1002), "&start") << Dump();
  // Simulated cameras of other test programs may hold the ZLtp ports for a
  // while: then the start fails with a bind error and is tried again.
  bool started = false;
  for (int attempt = 0; attempt < 5 && !started; ++attempt) {
    ASSERT_TRUE(WaitUntil([] { return PortFree(6220) && PortFree(6221) && PortFree(kHttpPort); }, 60000))
        << "the ports 6220, 6221 and " << kHttpPort << " stay in use";
    const size_t linesBefore = vserver_.LogLines().size();
    bool portTaken = false;
    ASSERT_TRUE(vserver_.PressStartStop(camera_.PortName(), error)) << error;
    ASSERT_TRUE(WaitUntil(
        [&] {
          const auto lines = vserver_.LogLines();
          for (size_t i = linesBefore; i < lines.size(); ++i) {
            started = started || lines[i].find("Virtual Server Started") != std::string::npos;
            portTaken = portTaken || lines[i].find("bind() error") != std::string::npos;
          }
          return started || portTaken;
        },
        kStartWait))
        << Dump();
    if (portTaken) {
      ASSERT_TRUE(vserver_.WaitForButton("&Start", 10000)) << Dump();
    }
  }
  ASSERT_TRUE(started) << Dump();
  ASSERT_TRUE(vserver_.WaitForButton("&Stop", 5000)) << Dump();
}

std::string VserverTest::Dump() {
  std::string text = "vserver log:\n";
  for (const std::string &line : vserver_.LogLines()) text += "  " + line + "\n";
  return text + "camera log:\n" + camera_.Log();
}

void VserverTest::TearDown() {
  EXPECT_TRUE(vserver_.Close()) << "vserver did not end";
  camera_.Stop();
}
