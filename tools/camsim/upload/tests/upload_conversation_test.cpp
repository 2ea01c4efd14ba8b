// The upload command against a small FTP server in this test that answers
// like the PC's upload server and connects back to the data port 6223.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "upload_command.h"

namespace {

int Listen(int &port) {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address);
  listen(s, 1);
  socklen_t length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr *>(&address), &length);
  port = ntohs(address.sin_port);
  return s;
}

std::string ReadLine(int s) {
  std::string line;
  char c;
  while (recv(s, &c, 1, 0) == 1) {
    line += c;
    if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) return line.substr(0, line.size() - 2);
  }
  return line;
}

void Write(int s, const std::string &text) { send(s, text.data(), text.size(), MSG_NOSIGNAL); }

// Serves one session; passwordReply is what PASS gets.
struct FakeServer {
  int port = 0;
  int listener;
  std::string passwordReply = "332 Password ok, send your account.\r\n";
  std::vector<std::string> commands;
  std::vector<std::string> files;
  std::thread thread;

  FakeServer() : listener(Listen(port)) {}
  ~FakeServer() {
    if (thread.joinable()) thread.join();
    close(listener);
  }
  void Run() {
    thread = std::thread([this] {
      const int c = accept(listener, nullptr, nullptr);
      Write(c, "220 Lumo ftpd 1.0 FTP Server ready.\r\n");
      int dataPort = 0;
      uint32_t dataAddress = 0;
      for (;;) {
        const std::string line = ReadLine(c);
        if (line.empty()) break;
        commands.push_back(line);
        const std::string verb = line.substr(0, 4);
        if (verb == "USER") Write(c, "331 Guest login ok, send your password.\r\n");
        else if (verb == "PASS") Write(c, passwordReply);
        else if (verb == "ACCT") Write(c, "230 Account \"x\" ok. access restrictions apply.\r\n");
        else if (verb == "CWD ") Write(c, "250 CWD command successful.\r\n");
        else if (verb == "PORT") {
          int h1, h2, h3, h4, p1, p2;
          std::sscanf(line.c_str() + 5, "%d,%d,%d,%d,%d,%d", &h1, &h2, &h3, &h4, &p1, &p2);
          dataPort = p1 * 256 + p2;
          dataAddress = static_cast<uint32_t>(h1 << 24 | h2 << 16 | h3 << 8 | h4);
          Write(c, "220 PORT command successful.\r\n");
        } else if (verb == "STOR") {
          Write(c, "150 Opening BINARY mode data connection for " + line.substr(5) + "\r\n");
          const int d = socket(AF_INET, SOCK_STREAM, 0);
          sockaddr_in to{};
          to.sin_family = AF_INET;
          to.sin_port = htons(static_cast<uint16_t>(dataPort));
          to.sin_addr.s_addr = htonl(dataAddress);
          connect(d, reinterpret_cast<sockaddr *>(&to), sizeof to);
          std::string body;
          char buffer[4096];
          for (ssize_t got; (got = recv(d, buffer, sizeof buffer, 0)) > 0;) body.append(buffer, got);
          close(d);
          files.push_back(body);
          Write(c, "226 Transfer complete.\r\n");
        } else if (verb == "QUIT") {
          Write(c, "221-Closing control connection.\r\n221 Good-bye.\r\n");
          break;
        } else {
          Write(c, "421-Request not supported.\r\n421 Good-bye.\r\n");
          break;
        }
      }
      close(c);
    });
  }
};

int RunUpload(std::vector<std::string> args) {
  args.insert(args.begin(), "upload");
  std::vector<char *> argv;
  for (auto &a : args) argv.push_back(a.data());
  return CamsimUploadMain(static_cast<int>(argv.size()), argv.data());
}

std::string TempFile(const std::string &name, const std::string &contents) {
  const std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << contents;
  return path;
}

TEST(CamsimUpload, LogsInStoresEachFileOverActiveDataConnectionsAndQuits) {
  FakeServer server;
  server.Run();
  std::string big(300000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  const std::string a = TempFile("IMG0001.JPG", big), b = TempFile("empty.txt", "");
  ASSERT_EQ(RunUpload({"--server", "127.0.0.1:" + std::to_string(server.port), "--quiet", "--account", "K20",
                       "--cwd", "/DCIM", a, b}),
            0);
  server.thread.join();
  const std::vector<std::string> expected{"USER anonymous", "PASS tarnwhisk",   "ACCT K20",
                                          "CWD /DCIM",      "PORT 127,0,0,1,24,79", "STOR IMG0001.JPG",
                                          "PORT 127,0,0,1,24,79", "STOR empty.txt", "QUIT"};
  EXPECT_EQ(server.commands, expected);
  ASSERT_EQ(server.files.size(), 2u);
  EXPECT_EQ(server.files[0], big);
  EXPECT_EQ(server.files[1], "");
}

// A second camera on the same host: its own address carries the control
// connection, the PORT line and the data connection.
TEST(CamsimUpload, CameraAddressIsTheSourceAndTheDataAddress) {
  FakeServer server;
  server.Run();
  const std::string a = TempFile("IMG0002.JPG", "picture");
  ASSERT_EQ(RunUpload({"--server", "127.0.0.1:" + std::to_string(server.port), "--camera-address", "127.0.0.3",
                       "--quiet", a}),
            0);
  server.thread.join();
  ASSERT_GE(server.commands.size(), 4u);
  EXPECT_EQ(server.commands[3], "PORT 127,0,0,3,24,79");
  EXPECT_EQ(server.files, std::vector<std::string>{"picture"});
  EXPECT_EQ(RunUpload({"--server", "127.0.0.1:1", "--camera-address", "not.an.address", a}), 1);
}

TEST(CamsimUpload, RefusedLoginAndMissingFilesFail) {
  FakeServer server;
  server.passwordReply = "530 Login incorrect.\r\n";
  server.Run();
  const std::string a = TempFile("a.jpg", "x");
  EXPECT_EQ(RunUpload({"--server", "127.0.0.1:" + std::to_string(server.port), a}), 1);
  server.thread.join();

  FakeServer second;
  second.Run();
  EXPECT_EQ(RunUpload({"--server", "127.0.0.1:" + std::to_string(second.port), "/nonexistent/file.jpg"}), 1);
  second.thread.join();
  EXPECT_TRUE(second.files.empty());
}

TEST(CamsimUpload, SilentServerTimesOut) {
  int port = 0;
  const int listener = Listen(port);  // accepts in the backlog but never greets
  EXPECT_EQ(RunUpload({"--server", "127.0.0.1:" + std::to_string(port), "--timeout", "1", "x"}), 1);
  close(listener);
}

TEST(CamsimUpload, UsageErrorsAndHelp) {
  EXPECT_EQ(RunUpload({"--help"}), 0);
  EXPECT_EQ(RunUpload({}), 2);
  EXPECT_EQ(RunUpload({"--server", "h:99999", "f"}), 2);
  EXPECT_EQ(RunUpload({"--server", "h"}), 2);
  EXPECT_EQ(RunUpload({"--bogus", "1", "--server", "h", "f"}), 2);
  EXPECT_EQ(RunUpload({"f", "--server"}), 2);
}

}  // namespace
