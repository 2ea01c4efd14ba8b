// The connection layer against the simulator and its faults.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "link_fixture.h"
#include "view_all_directory.h"
#include "zltp_bytes.h"

using namespace zltp;

namespace {

const std::string kFolder = "0:/DCIM/100LUMO01/";
const std::string kPicture = "0:/DCIM/100LUMO01/LUMO0001.JPG";

std::vector<uint8_t> WithTerminator(const std::string &text) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

}  // namespace

using ConnectionTest = LinkTest;

TEST_F(ConnectionTest, ConnectLearnsModelVersionAndPacketSize) {
  Open({"--model", "2", "--max-packet", "4096"});
  EXPECT_EQ(model_, 2u);
  EXPECT_EQ(version_, 2u);
  EXPECT_EQ(link_.Connection().MaximumPacketSize(), 4096u);
  EXPECT_EQ(link_.Connection().ProtocolVersion(), 2);
}

TEST_F(ConnectionTest, VersionOneCameraGetsTheSecondOffer) {
  Open({"--fault", "version1", "--model", "1"});
  EXPECT_EQ(version_, 1u);
  EXPECT_EQ(model_, 1u);
  uint32_t value = 0;
  EXPECT_EQ(link_.GetDriveCapacity(0, value), 0u);
}

TEST_F(ConnectionTest, VersionThreeEndsConnectWithDisconnect) {
  StartCamsim({"--fault", "version3"});
  EXPECT_EQ(ZlxCode(link_.OpenCamera(Address(), model_, version_)), 0xFFFF);
  EXPECT_FALSE(link_.Connection().Connected());
  uint32_t value = 0;
  EXPECT_EQ(link_.GetDriveCapacity(0, value), ZLX_E_NOT_CONNECTED);
}

TEST_F(ConnectionTest, NoCameraGivesCommunicationFailure) {
  EXPECT_EQ(link_.OpenCamera(T("127.0.0.254"), model_, version_), ZLX_E_CONNECT_FAILED);
  EXPECT_EQ(link_.OpenCamera(T("not.an.address"), model_, version_), ZLX_E_INVALID_PARAMETER);
}

// The tests that lose the camera on purpose rely on Stop returning only once
// the simulator is gone.
TEST_F(ConnectionTest, AStoppedCameraIsGoneWhenStopReturns) {
  StartCamsim();
  const std::string address = camsim_.Address();
  camsim_.Stop();
  EXPECT_EQ(link_.OpenCamera(T(address), model_, version_), ZLX_E_CONNECT_FAILED);
}

TEST_F(ConnectionTest, InterimAndStaleRepliesAreSkipped) {
  Open({"--fault", "interim=3@80010100", "--fault", "stale@80010200", "--capacity", "0=123456", "--free",
        "0=654321"});
  uint32_t value = 0;
  EXPECT_EQ(link_.GetDriveCapacity(0, value), 0u);
  EXPECT_EQ(value, 123456u);
  EXPECT_EQ(link_.GetDriveFree(0, value), 0u);
  EXPECT_EQ(value, 654321u);
}

TEST_F(ConnectionTest, DetailWordTravelsInTheHighHalf) {
  Open({"--fault", "detail=0x5A00@80010100"});
  uint32_t value = 0;
  EXPECT_EQ(link_.GetDriveCapacity(0, value), 0x5A000000u);
}

TEST_F(ConnectionTest, FramingErrorsResynchroniseAndTheLinkGoesOn) {
  Open({"--fault", "bad-header@80010100", "--fault", "huge-length@80010200"});
  uint32_t value = 0;
  EXPECT_EQ(ZlxCode(link_.GetDriveCapacity(0, value)), 0xFFFF);
  EXPECT_EQ(ZlxCode(link_.GetDriveFree(0, value)), 0xFFFF);  // an absurd length is never awaited
  EXPECT_TRUE(link_.Connection().Connected());
  tagZLXSTAMPSIZE sizes{};
  EXPECT_EQ(link_.QueryStampSize(sizes), 0u);
  EXPECT_NE(camsim_.Log().find("resynchronise"), std::string::npos);
}

TEST_F(ConnectionTest, AbsurdDataPacketLengthFailsTheListingOnly) {
  Open({"--fault", "huge-length@81030000"});
  std::vector<tagZLXFILEINFO> entries;
  EXPECT_EQ(ZlxCode(link_.List(T(kFolder), kListAll, entries)), 0xFFFF);
  uint32_t value = 0;
  EXPECT_EQ(link_.GetDriveCapacity(0, value), 0u);
}

TEST_F(ConnectionTest, PacketSizeZeroLetsLongRequestsPass) {
  Open({"--max-packet", "0"});
  const std::string longPath = "0:/" + std::string(100, 'D') + "/";
  // The camera answers (the name is too long for it), so the request went out.
  EXPECT_EQ(ZlxCode(link_.SetAttribute(T(longPath), 0)), ZLX_E_INVALID_NAME);
}

TEST_F(ConnectionTest, SmallPacketSizeRefusesLongRequestsWithoutSending) {
  Open({"--max-packet", "40"});
  EXPECT_EQ(ZlxCode(link_.SetAttribute(T("0:/DCIM/100LUMO01/LUMO0001.JPG"), 0)), 0xFFFF);
  EXPECT_EQ(camsim_.Log().find("op 82050000"), std::string::npos);
  EXPECT_EQ(ZlxCode(link_.SetAttribute(T("0:/DCIM/"), 0)), 0);  // 9 + 16 + 1 bytes fit
}

TEST_F(ConnectionTest, PeerClosingDuringAWaitLeavesTheLinkClosed) {
  Open({"--fault", "close-mid@80010100"});
  uint32_t value = 0;
  EXPECT_EQ(link_.GetDriveCapacity(0, value), ZLX_E_CONNECT_FAILED);
  EXPECT_FALSE(link_.Connection().Connected());
  EXPECT_EQ(link_.GetDriveFree(0, value), ZLX_E_NOT_CONNECTED);
  // The camera takes a new link after the old one closed.
  EXPECT_EQ(link_.OpenCamera(Address(), model_, version_), 0u);
  EXPECT_EQ(link_.GetDriveFree(0, value), 0u);
}

TEST_F(ConnectionTest, SilentCameraRunsIntoTheHeaderTimeOut) {
  Open({"--fault", "silent@83000000"});
  uint8_t reply[68];
  const DWORD start = GetTickCount();
  EXPECT_EQ(link_.Connection().Transact(kQueryStampSize, nullptr, 0, reply, sizeof reply, nullptr, 1500),
            ZLX_E_CONNECT_FAILED);
  EXPECT_GE(GetTickCount() - start, 1400u);
  EXPECT_TRUE(link_.Connection().Connected());
}

TEST_F(ConnectionTest, ReplyLargerThanTheBufferIsDiscarded) {
  Open();
  uint8_t reply[8];
  EXPECT_EQ(link_.Connection().Transact(kQueryStampSize, nullptr, 0, reply, sizeof reply, nullptr, 30000),
            ZLX_E_INVALID_PARAMETER);
  tagZLXSTAMPSIZE sizes{};
  EXPECT_EQ(link_.QueryStampSize(sizes), 0u);  // the stream stayed in step
  EXPECT_EQ(link_.Connection().Transact(kQueryStampSize, nullptr, 0, nullptr, 8, nullptr, 30000),
            ZLX_E_INVALID_PARAMETER);
}

TEST_F(ConnectionTest, DataPacketsOfAReceiveAndAnAbort) {
  Open({"--max-packet", "256", "--fault", "stale@A0000000", "--fault", "slow=100@A0000000"});
  ZltpConnection &connection = link_.Connection();
  const auto name = WithTerminator(kPicture);
  uint16_t sequence = 0;
  ASSERT_EQ(connection.SendRequest(kReceiveFile, name.data(), static_cast<uint32_t>(name.size()), sequence), 0u);
  DataPacket packet;
  ASSERT_EQ(connection.ReadDataPacket(sequence, packet, 30000), 0u);  // the stale packet is skipped
  EXPECT_EQ(packet.BodyLength(), 256u - 25u);
  EXPECT_FALSE(packet.prefix.last);
  EXPECT_GT(packet.prefix.total, 2000u);
  EXPECT_EQ(packet.Body()[0], 0xFF);
  EXPECT_EQ(packet.Body()[1], 0xD8);

  ASSERT_EQ(connection.AbortTransfer(sequence), 0u);
  int packets = 0;
  do {
    ASSERT_EQ(connection.ReadDataPacket(sequence, packet, 10000), 0u);
    ++packets;
  } while (!packet.prefix.last);
  EXPECT_LT(packets, 12);  // the camera stopped early
  tagZLXSTAMPSIZE sizes{};
  EXPECT_EQ(link_.QueryStampSize(sizes), 0u);
}

// Sends the body in chunks of the given size after the request.
void SendBody(ZltpConnection &connection, uint32_t opcode, const std::vector<uint8_t> &request,
              const std::vector<uint8_t> &body, uint32_t chunk, uint16_t &sequence) {
  ASSERT_EQ(connection.SendRequest(opcode, request.data(), static_cast<uint32_t>(request.size()), sequence), 0u);
  uint32_t sent = 0;
  do {
    const uint32_t n = std::min<uint32_t>(chunk, static_cast<uint32_t>(body.size()) - sent);
    const bool last = sent + n == body.size();
    ASSERT_EQ(connection.SendDataPacket(sequence, body.data() + sent, n, static_cast<uint32_t>(body.size()), last), 0u);
    sent += n;
  } while (sent < body.size());
}

std::vector<uint8_t> SendFileRequest(const std::string &name, uint32_t flags, uint32_t size) {
  std::vector<uint8_t> request(8);
  PutBe32(request.data(), flags);
  PutLe32(request.data() + 4, size);
  const auto text = WithTerminator(name);
  request.insert(request.end(), text.begin(), text.end());
  return request;
}

std::vector<uint8_t> ReceiveBody(ZltpConnection &connection, const std::string &name) {
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

TEST_F(ConnectionTest, SentBodyComesBackUnchanged) {
  Open({"--max-packet", "1049"});
  ZltpConnection &connection = link_.Connection();
  std::vector<uint8_t> body(2048);
  for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<uint8_t>(i * 7);
  uint16_t sequence = 0;
  SendBody(connection, kSendFile, SendFileRequest("0:/DCIM/NEW.BIN", 0, 2048), body, 1049 - 25, sequence);
  EXPECT_EQ(connection.ReadFinalReply(sequence, kSendFinal, 30000), 0u);
  EXPECT_EQ(ReceiveBody(connection, "0:/DCIM/NEW.BIN"), body);
}

TEST_F(ConnectionTest, ConfigurationTravelsAsAPseudoFile) {
  Open({"--config", "Mode=1"});
  ZltpConnection &connection = link_.Connection();
  EXPECT_EQ(ReceiveBody(connection, "ZL1_CONFIGURATION"), (std::vector<uint8_t>{'M', 'o', 'd', 'e', '=', '1'}));
  const std::vector<uint8_t> next = {'M', 'o', 'd', 'e', '=', '2'};
  uint16_t sequence = 0;
  SendBody(connection, kSendFile, SendFileRequest("ZL1_CONFIGURATION", 1, 6), next, 1000, sequence);
  EXPECT_EQ(connection.ReadFinalReply(sequence, kSendFinal, 30000), 0u);
  EXPECT_EQ(ReceiveBody(connection, "ZL1_CONFIGURATION"), next);
}

TEST_F(ConnectionTest, StampIsAnsweredWithItsOwnOpcode) {
  Open();
  std::vector<uint8_t> request(50);
  PutLe16(request.data(), 3);
  std::memcpy(request.data() + 2, "LOGO", 4);
  PutLe32(request.data() + 18, 100);
  PutLe32(request.data() + 22, 28);
  uint16_t sequence = 0;
  SendBody(link_.Connection(), kSendStamp, request, std::vector<uint8_t>(128, 0x3C), 50, sequence);
  EXPECT_EQ(link_.Connection().ReadFinalReply(sequence, kSendStamp, 30000), 0u);
}

TEST_F(ConnectionTest, VersionOneCameraSendsNoFinalReply) {
  Open({"--fault", "version1"});
  ASSERT_EQ(version_, 1u);
  uint16_t sequence = 0;
  SendBody(link_.Connection(), kSendFile, SendFileRequest("0:/DCIM/V1.TXT", 0, 3), {'v', '1', '\n'}, 100, sequence);
  std::vector<tagZLXFILEINFO> entries;
  const DWORD start = GetTickCount();
  while (entries.empty() && GetTickCount() - start < 10000) link_.List(T("0:/DCIM/V1.TXT"), kListFiles, entries);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].size, 3u);
  EXPECT_FALSE(link_.Connection().ControlReadable());
}

TEST_F(ConnectionTest, CameraEndingASendEarlyMakesTheControlReadable) {
  Open();
  ZltpConnection &connection = link_.Connection();
  std::vector<uint8_t> request(8);
  PutLe32(request.data() + 4, 100);
  const auto name = WithTerminator(kPicture);  // exists, and no overwrite flag
  request.insert(request.end(), name.begin(), name.end());
  uint16_t sequence = 0;
  ASSERT_EQ(connection.SendRequest(kSendFile, request.data(), static_cast<uint32_t>(request.size()), sequence), 0u);
  const DWORD start = GetTickCount();
  while (!connection.ControlReadable() && GetTickCount() - start < 10000) Sleep(10);
  ASSERT_TRUE(connection.ControlReadable());
  EXPECT_EQ(ZlxCode(connection.ReadFinalReply(sequence, kSendFinal, 10000)), ZLX_E_NAME_EXISTS);
  EXPECT_FALSE(connection.ControlReadable());
}

TEST_F(ConnectionTest, ShortStaleDataPacketOfAnotherRequestIsSkipped) {
  Open({"--fault", "stale-short@81030000"});
  std::vector<tagZLXFILEINFO> entries;
  EXPECT_EQ(link_.List(T(kFolder), kListFiles, entries), 0u);
  EXPECT_EQ(entries.size(), 3u);
}

class ViewAllDirectorySetting : public LinkTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\VEMLO\\ZLXSDK\\Connection", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegDeleteValueA(key_, "ViewAllDirectory");
    RegCloseKey(key_);
    LinkTest::TearDown();
  }
  void Set(DWORD value) {
    RegSetValueExA(key_, "ViewAllDirectory", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
  }
  HKEY key_ = nullptr;
};

// The line of the simulator's log that holds the text.
std::string LineWith(const std::string &log, const std::string &text) {
  const size_t at = log.find(text);
  if (at == std::string::npos) return {};
  const size_t start = log.rfind('\n', at) + 1;  // npos + 1 == 0 for the first line
  return log.substr(start, log.find('\n', at) - start);
}

TEST_F(ViewAllDirectorySetting, LowByteReachesTheHeaderOfEveryTransaction) {
  Set(0x15A);
  Open();
  uint32_t value = 0;
  ASSERT_EQ(link_.GetDriveCapacity(0, value), 0u);
  std::vector<tagZLXFILEINFO> entries;
  ASSERT_EQ(link_.List(T(kFolder), kListAll, entries), 0u);
  const std::string log = camsim_.Log();
  EXPECT_NE(LineWith(log, "version offer 2").find("[view-all 90]"), std::string::npos) << log;
  EXPECT_NE(LineWith(log, "drive 0 value").find("[view-all 90]"), std::string::npos) << log;
  // A listing is no transaction: its header carries 0.
  const std::string listing = LineWith(log, "list kind 3");
  ASSERT_FALSE(listing.empty()) << log;
  EXPECT_EQ(listing.find("view-all"), std::string::npos) << log;
}

TEST(ViewAllDirectory, LowByteOfTheDwordOrZero) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\VEMLO\\ZLXSDK\\Connection", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegDeleteValueA(key, "ViewAllDirectory");
  EXPECT_EQ(ViewAllDirectoryByte(), 0);
  const DWORD value = 0x1FE;
  RegSetValueExA(key, "ViewAllDirectory", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
  EXPECT_EQ(ViewAllDirectoryByte(), 0xFE);
  RegSetValueExA(key, "ViewAllDirectory", 0, REG_SZ, reinterpret_cast<const BYTE *>("1"), 2);
  EXPECT_EQ(ViewAllDirectoryByte(), 0);
  RegDeleteValueA(key, "ViewAllDirectory");
  RegCloseKey(key);
}
