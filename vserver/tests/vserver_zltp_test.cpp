// The link host's ZLtp code reaching a cable-attached camera through
// vserver on 127.0.0.1: listings and file transfers, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "camapi.h"
#include "camera_link.h"
#include "vserver_fixture.h"
#include "zltp_bytes.h"
#include "zltp_connection.h"
#include "zltp_wire.h"

using namespace zltp;

namespace {

std::vector<uint8_t> WithTerminator(const std::string &text) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

std::vector<uint8_t> Pattern(size_t size, unsigned seed) {
  std::vector<uint8_t> bytes(size);
  uint32_t state = seed;
  for (uint8_t &b : bytes) {
    state = state * 1103515245u + 12345u;
    b = static_cast<uint8_t>(state >> 16);
  }
  return bytes;
}

std::vector<uint8_t> ReceiveFile(ZltpConnection &connection, const std::string &name) {
  const auto text = WithTerminator(name);
  uint16_t sequence = 0;
  std::vector<uint8_t> received;
  EXPECT_EQ(connection.SendRequest(kReceiveFile, text.data(), static_cast<uint32_t>(text.size()), sequence), 0u);
  DataPacket packet;
  do {
    if (connection.ReadDataPacket(sequence, packet, 30000) != 0u) {
      ADD_FAILURE() << "receive of " << name << " failed";
      break;
    }
    received.insert(received.end(), packet.Body(), packet.Body() + packet.BodyLength());
  } while (!packet.prefix.last);
  return received;
}

ZLXRESULT SendFile(ZltpConnection &connection, const std::string &name, const std::vector<uint8_t> &body) {
  std::vector<uint8_t> request(8);
  PutBe32(request.data(), 0);
  PutLe32(request.data() + 4, static_cast<uint32_t>(body.size()));
  const auto text = WithTerminator(name);
  request.insert(request.end(), text.begin(), text.end());
  uint16_t sequence = 0;
  ZLXRESULT result = connection.SendRequest(kSendFile, request.data(), static_cast<uint32_t>(request.size()), sequence);
  for (uint32_t sent = 0; result == 0 && sent < body.size();) {
    const uint32_t n = std::min<uint32_t>(4000, static_cast<uint32_t>(body.size()) - sent);
    result = connection.SendDataPacket(sequence, body.data() + sent, n, static_cast<uint32_t>(body.size()),
                                       sent + n == body.size());
    sent += n;
  }
  return result ? result : connection.ReadFinalReply(sequence, kSendFinal, 30000);
}

class VserverZltpTest : public VserverTest {
 protected:
  // A camera card in a host folder the test can see.
  void MakeCard() {
    cardUnix_ = "/tmp/vserver-card-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    card_ = "Z:" + cardUnix_;
    std::replace(card_.begin(), card_.end(), '/', '\\');
    CreateDirectoryA(card_.c_str(), nullptr);
    CreateDirectoryA((card_ + "\\DCIM").c_str(), nullptr);
    CreateDirectoryA((card_ + "\\DCIM\\100LUMO01").c_str(), nullptr);
    picture_ = Pattern(150000, 7);
    std::ofstream(card_ + "\\DCIM\\100LUMO01\\PICT0001.JPG", std::ios::binary)
        .write(reinterpret_cast<const char *>(picture_.data()), static_cast<std::streamsize>(picture_.size()));
  }
  std::vector<uint8_t> ReadCardFile(const std::string &relative) {
    std::ifstream in(card_ + "\\" + relative, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  void TearDown() override {
    link_.Connection().Disconnect();
    VserverTest::TearDown();
    if (!cardUnix_.empty()) RunShell("rm -rf " + cardUnix_);
  }

  CameraLink link_;
  std::string card_;
  std::string cardUnix_;
  std::vector<uint8_t> picture_;
};

}  // namespace

TEST_F(VserverZltpTest, LinkHostListsAndTransfersFilesThroughTheCable) {
  MakeCard();
  StartServer({}, {"--drive", "0=" + cardUnix_});
  uint32_t model = 0;
  uint32_t version = 0;
  ASSERT_EQ(link_.OpenCamera("127.0.0.1", model, version), 0u) << Dump();
  EXPECT_TRUE(vserver_.WaitForLog("Connection zltpctl accepted on socket:", 1000));
  EXPECT_TRUE(vserver_.WaitForLog("Connection zltpdata accepted on socket:", 1000));

  std::vector<tagZLXFILEINFO> entries;
  ASSERT_EQ(link_.List("0:/DCIM/100LUMO01/", kListAll, entries), 0u);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_STREQ(entries[0].name, "PICT0001.JPG");
  EXPECT_EQ(entries[0].size, picture_.size());

  EXPECT_EQ(ReceiveFile(link_.Connection(), "0:/DCIM/100LUMO01/PICT0001.JPG"), picture_);
  const auto upload = Pattern(70001, 11);
  ASSERT_EQ(SendFile(link_.Connection(), "0:/DCIM/100LUMO01/NEW.BIN", upload), 0u);
  EXPECT_EQ(ReadCardFile("DCIM\\100LUMO01\\NEW.BIN"), upload);

  // A second link after the first closed: the data connection announces it.
  link_.CloseCamera();
  link_.Connection().Disconnect();
  ASSERT_EQ(link_.OpenCamera("127.0.0.1", model, version), 0u) << Dump();
  EXPECT_TRUE(ReceiveFile(link_.Connection(), "0:/DCIM/100LUMO01/NEW.BIN") == upload) << Dump();
  EXPECT_NE(vserver_.ItemText(1008), "0");
}

TEST_F(VserverZltpTest, LinkClosedInTheMiddleOfAResponseLeavesTheCableWorking) {
  MakeCard();
  StartServer({}, {"--drive", "0=" + cardUnix_});
  uint32_t model = 0;
  uint32_t version = 0;
  ASSERT_EQ(link_.OpenCamera("127.0.0.1", model, version), 0u) << Dump();
  // The first data packet of a receive, then the link host goes away while
  // the camera still sends the rest of the picture over the cable.
  const auto name = WithTerminator("0:/DCIM/100LUMO01/PICT0001.JPG");
  uint16_t sequence = 0;
  ASSERT_EQ(link_.Connection().SendRequest(kReceiveFile, name.data(), static_cast<uint32_t>(name.size()), sequence),
            0u);
  DataPacket packet;
  ASSERT_EQ(link_.Connection().ReadDataPacket(sequence, packet, 30000), 0u) << Dump();
  EXPECT_FALSE(packet.prefix.last);
  link_.Connection().Disconnect();
  // The rest is acknowledged and dropped; the next link finds both ends of
  // the cable agreeing and works.
  Sleep(3000);
  ASSERT_EQ(link_.OpenCamera("127.0.0.1", model, version), 0u) << Dump();
  EXPECT_TRUE(ReceiveFile(link_.Connection(), "0:/DCIM/100LUMO01/PICT0001.JPG") == picture_) << Dump();
  EXPECT_EQ(camera_.Log().find("sending again"), std::string::npos) << camera_.Log();
}

TEST_F(VserverZltpTest, SecondControlConnectionWaitsForTheFirst) {
  StartServer();
  // A version offer (opcode 31 00 00 00, version 2) as raw ZLtp bytes.
  const std::string offer("\x00\x00\x10\x00\x02\x00\x00\x00\x31\x00\x00\x00\x01\x00\x00\x00\x02\x00", 18);
  SOCKET control = Connect(6220);
  SOCKET data = Connect(6221);
  ASSERT_NE(control, INVALID_SOCKET);
  ASSERT_NE(data, INVALID_SOCKET);
  ASSERT_TRUE(SendAll(control, offer));
  ASSERT_TRUE(Readable(control, 10000)) << Dump();
  char reply[64];
  EXPECT_EQ(recv(control, reply, sizeof reply, 0), 26);

  SOCKET second = Connect(6220);  // waits in the listen backlog
  ASSERT_NE(second, INVALID_SOCKET);
  ASSERT_TRUE(SendAll(second, offer));
  EXPECT_FALSE(Readable(second, 1500)) << "served while the first connection is open";
  closesocket(control);
  closesocket(data);
  ASSERT_TRUE(Readable(second, 10000)) << Dump();
  EXPECT_EQ(recv(second, reply, sizeof reply, 0), 26);
  closesocket(second);
}

TEST_F(VserverZltpTest, CameraApiWorksThroughTheCable) {
  MakeCard();
  StartServer({}, {"--drive", "0=" + cardUnix_});
  ASSERT_EQ(ZlxInitialize(0x10000, 8), 0u);
  tagZLXMODEL model{1, 0};
  HZLXCAMERA camera = nullptr;
  ASSERT_EQ(ZlxOpenCamera(&camera, &model, 1, 0, nullptr, "127.0.0.1"), 0u) << Dump();

  HGLOBAL list = nullptr;
  DWORD count = 0;
  ASSERT_EQ(ZlxGetDirectoryList(camera, "0:/DCIM/100LUMO01/", 3, &list, &count), 0u);
  EXPECT_EQ(count, 1u);
  GlobalFree(list);

  tagZLXDATAINFO data{};
  std::strcpy(data.path, "0:/DCIM/100LUMO01/PICT0001.JPG");
  ASSERT_EQ(ZlxReceiveFile(camera, &data, 0, nullptr), 0u);
  ASSERT_EQ(data.length, picture_.size());
  {
    const auto *bytes = static_cast<const uint8_t *>(GlobalLock(data.data));
    EXPECT_TRUE(std::equal(picture_.begin(), picture_.end(), bytes));
    GlobalUnlock(data.data);
  }
  GlobalFree(data.data);

  const auto upload = Pattern(70001, 13);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, upload.size());
  std::memcpy(GlobalLock(memory), upload.data(), upload.size());
  GlobalUnlock(memory);
  tagZLXDATAINFO send{};
  std::strcpy(send.path, "0:/DCIM/100LUMO01/API.BIN");
  send.data = memory;
  send.length = static_cast<uint32_t>(upload.size());
  EXPECT_EQ(ZlxSendFile(camera, &send, 0, nullptr, 1), 0u);
  GlobalFree(memory);
  EXPECT_EQ(ReadCardFile("DCIM\\100LUMO01\\API.BIN"), upload);

  EXPECT_EQ(ZlxCloseCamera(camera), 0u);
  if (HWND host = FindWindowA("ZL1_ZLtpProxyServer", "ZL1_ZLtpProxyServer - 127.0.0.1"))
    PostMessageA(host, WM_CLOSE, 0, 0);
}
