// vserver.exe with a simulated camera on the TCP-backed port: the probe,
// HTTP relayed over the framed link, damaged and repeated frames, the
// window, log and statistics, and the camera going away.
#include <algorithm>
#include <regex>
#include <string>

#include "vserver_fixture.h"

TEST_F(VserverTest, ProbeFindsTheSpeedAndHttpIsRelayed) {
  StartServer({"--speed", "19200"});
  EXPECT_TRUE(vserver_.WaitForLog(camera_.PortName() + " speed=19200: ", 1000)) << Dump();
  const std::string cameraLog = camera_.Log();
  EXPECT_NE(cameraLog.find("probe 3 ignored"), std::string::npos) << cameraLog;
  EXPECT_NE(cameraLog.find("probe 4 answered, ackflow mode"), std::string::npos) << cameraLog;

  // 300 header bytes and a 5000-byte body, sent in pieces.
  std::string header = "POST /form HTTP/1.0\r\nContent-Length: 5000\r\nX-Fill: ";
  header += std::string(300 - header.size() - 4, 'h') + "\r\n\r\n";
  std::string body(5000, '\0');
  unsigned sum = 0;
  for (size_t i = 0; i < body.size(); ++i) {
    body[i] = static_cast<char>('a' + i % 26);
    sum += static_cast<unsigned char>(body[i]);
  }
  SOCKET s = Connect(kHttpPort);
  ASSERT_NE(s, INVALID_SOCKET);
  const std::string request = header + body;
  for (size_t at = 0; at < request.size(); at += 900) {
    ASSERT_TRUE(SendAll(s, request.substr(at, 900)));
    if (at + 900 < request.size()) {
      EXPECT_FALSE(Readable(s, 50)) << "answered before the request was complete";
    }
  }
  const std::string response = ReceiveAll(s);
  closesocket(s);
  EXPECT_EQ(response.rfind("HTTP/1.0 200 OK\r\n", 0), 0u) << response;
  EXPECT_NE(response.find("header 300 bytes, body 5000 bytes, body sum " + std::to_string(sum)), std::string::npos)
      << response;
  ASSERT_TRUE(WaitUntil([&] { return vserver_.ItemText(1008) == "1"; }, 5000));
  EXPECT_EQ(vserver_.ItemText(1006), "5300");
  EXPECT_EQ(vserver_.ItemText(1007), std::to_string(response.size()));
  EXPECT_TRUE(vserver_.WaitForLog("Connection accepted on socket:", 1000));
  EXPECT_TRUE(vserver_.WaitForLog("]Closing socket: ", 1000));
}

TEST_F(VserverTest, LargeResponsesInPlainModeAndTheLogKeeps500Lines) {
  StartServer({"--plain"});
  const std::string page = HttpGet("/pad/20000");
  EXPECT_EQ(page.rfind("HTTP/1.0 200 OK\r\n", 0), 0u);
  EXPECT_GT(page.size(), 20000u);
  EXPECT_NE(page.find("plain mode"), std::string::npos);
  // Each request logs two lines; the window keeps the newest 500.
  for (int i = 0; i < 260; ++i) ASSERT_NE(HttpGet("/").find("200 OK"), std::string::npos) << i;
  const auto lines = vserver_.LogLines();
  EXPECT_EQ(lines.size(), 500u);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string &line) { return line.find("speed=") != std::string::npos; }),
            0)
      << "the oldest lines went first";
  EXPECT_TRUE(std::regex_match(lines.back(), std::regex(R"(\d\d:\d\d:\d\d\.\d\d\d\t.*)"))) << lines.back();
  EXPECT_EQ(vserver_.ItemText(1008), "261");
}

TEST_F(VserverTest, CameraGoingAwayStopsTheServer) {
  StartServer();
  const DWORD start = GetTickCount();
  camera_.Unplug();
  ASSERT_TRUE(vserver_.WaitForButton("&Start", 5000)) << Dump();
  EXPECT_LT(GetTickCount() - start, 3000u) << "about two seconds";
  EXPECT_TRUE(vserver_.WaitForLog("Virtual Server Stopped", 1000));
  EXPECT_EQ(Connect(kHttpPort), INVALID_SOCKET) << "the listeners are closed";
}

TEST_F(VserverTest, StopAndStartAgainWithTheButton) {
  StartServer({"--plain"});
  std::string error;
  ASSERT_TRUE(vserver_.PressStartStop("", error));
  ASSERT_TRUE(vserver_.WaitForButton("&Start", 10000)) << Dump();
  EXPECT_TRUE(vserver_.WaitForLog("Virtual Server Stopped", 1000));
  ASSERT_TRUE(vserver_.PressStartStop(camera_.PortName(), error)) << error;
  ASSERT_TRUE(vserver_.WaitForButton("&Stop", kStartWait)) << Dump();
  EXPECT_NE(HttpGet("/").find("200 OK"), std::string::npos);
}

// The body of a status page: its Content-Length must match what arrived.
bool CompleteResponse(const std::string &response) {
  const size_t end = response.find("\r\n\r\n");
  const size_t field = response.find("Content-Length: ");
  if (end == std::string::npos || field == std::string::npos) return false;
  return std::stoul(response.substr(field + 16)) == response.size() - end - 4;
}

TEST_F(VserverTest, DamagedAndRepeatedFramesInAckflowMode) {
  StartServer({"--fault", "crc=1", "--fault", "repeat=2"});
  const std::string page = HttpGet("/pad/4000");
  EXPECT_TRUE(CompleteResponse(page)) << page.size() << Dump();
  EXPECT_TRUE(vserver_.WaitForLog("Error CRC ERROR:len= 1500 CRC=", 1000)) << Dump();
  EXPECT_TRUE(vserver_.WaitForLog("CNT PC:2 DC:1", 1000)) << Dump();
  EXPECT_NE(camera_.Log().find("frame 1: NAK, sending again"), std::string::npos) << camera_.Log();
}

TEST_F(VserverTest, LostAcknowledgementMakesThePcSendAgain) {
  // Frame 1 from the PC is the probe, frame 2 the request header. Any byte
  // from the camera counts as an acknowledgement, so the header must not be
  // a whole request: the camera stays silent until the body comes.
  StartServer({"--fault", "drop-ack=2"});
  SOCKET s = Connect(kHttpPort);
  ASSERT_NE(s, INVALID_SOCKET);
  ASSERT_TRUE(SendAll(s, "POST / HTTP/1.0\r\nContent-Length: 4\r\n\r\n"));
  // The header went out alone as frame 2; the body follows in a frame of its own.
  ASSERT_TRUE(WaitUntil([&] { return camera_.Log().find("frame 2 not acknowledged") != std::string::npos; }, 5000));
  ASSERT_TRUE(SendAll(s, "body"));
  const std::string response = ReceiveAll(s);
  closesocket(s);
  EXPECT_TRUE(CompleteResponse(response)) << response << Dump();
  EXPECT_NE(response.find("header 38 bytes, body 4 bytes"), std::string::npos) << response;
  EXPECT_NE(camera_.Log().find("frame with counter 0 repeated, acknowledged again"), std::string::npos)
      << camera_.Log();
}

TEST_F(VserverTest, DamagedFrameInPlainModeEndsTheResponse) {
  StartServer({"--plain", "--fault", "crc=1"});
  const std::string page = HttpGet("/pad/4000");
  EXPECT_TRUE(page.empty()) << page.size();
  EXPECT_TRUE(vserver_.WaitForLog("Error CRC ERROR:len= 1500 CRC=", 1000)) << Dump();
  // The link stays usable; the rest of the damaged response, still under
  // way, may spoil the next request at most.
  bool recovered = false;
  for (int attempt = 0; attempt < 3 && !recovered; ++attempt) recovered = CompleteResponse(HttpGet("/"));
  EXPECT_TRUE(recovered) << Dump();
}

TEST_F(VserverTest, CameraGoneMidRequestAnswersTheClient) {
  // The camera leaves when the request comes, after the probe.
  StartServer({"--fault", "gone=1", "--plain"});
  SOCKET s = Connect(kHttpPort);
  ASSERT_NE(s, INVALID_SOCKET);
  ASSERT_TRUE(SendAll(s, "POST / HTTP/1.0\r\nContent-Length: 10\r\n\r\n"));
  ASSERT_TRUE(vserver_.WaitForButton("&Start", 5000)) << Dump();
  EXPECT_EQ(ReceiveAll(s), "");  // the connection was ended, nothing relayed
  closesocket(s);
}

TEST_F(VserverTest, ClientClosingMidResponseLeavesTheAckflowLinkWorking) {
  StartServer();
  SOCKET s = Connect(kHttpPort);
  ASSERT_NE(s, INVALID_SOCKET);
  ASSERT_TRUE(SendAll(s, "GET /pad/1000000 HTTP/1.0\r\n\r\n"));
  char first[100];
  ASSERT_GT(recv(s, first, sizeof first, 0), 0);
  closesocket(s);  // the camera is still sending the rest
  // The rest is acknowledged and dropped: the camera gets its whole response
  // through without sending any frame again, the counters of both ends still
  // agree and the next connection is answered in full.
  ASSERT_TRUE(WaitUntil([&] { return camera_.Log().find("bytes sent") != std::string::npos; }, 30000))
      << camera_.Log();
  EXPECT_NE(camera_.Log().find("http response of 1000"), std::string::npos) << camera_.Log();
  EXPECT_EQ(camera_.Log().find("sending again"), std::string::npos) << camera_.Log();
  const std::string page = HttpGet("/");
  EXPECT_TRUE(CompleteResponse(page)) << page.size() << Dump();
}
