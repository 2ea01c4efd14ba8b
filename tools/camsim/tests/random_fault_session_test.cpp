// Random faults as a link host meets them, over real sockets: a closed or
// refused request leaves the card as it was, a transfer cut off by a close
// leaves no partial file, and the pause file stops the faults.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>

#include "random_faults.h"
#include "session_fixture.h"

using namespace zltp;
using namespace session_fixture;
namespace fs = std::filesystem;

namespace {

// Every entry of a drive: folders end in '/', files map to their contents.
using Card = std::map<std::string, std::string>;

Card Snapshot(const std::string &folder) {
  Card card;
  for (const auto &entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).string();
    if (entry.is_directory()) {
      card[name + "/"] = "";
    } else {
      std::ifstream file(entry.path(), std::ios::binary);
      card[name].assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
  }
  return card;
}

std::vector<uint8_t> Bytes(const std::string &text) { return {text.begin(), text.end() + 1}; }

std::vector<uint8_t> Join(std::vector<uint8_t> a, const std::vector<uint8_t> &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<uint8_t> Be32(uint32_t value) {
  std::vector<uint8_t> bytes(4);
  PutBe32(bytes.data(), value);
  return bytes;
}

// The first seed whose first draws for these opcodes, at rate 1, are all of the kind.
RandomFaultSettings SeedDrawing(RandomFaultKind kind, const std::vector<uint32_t> &opcodes) {
  RandomFaultSettings settings;
  settings.rate = 1;
  for (settings.seed = 1;; ++settings.seed) {
    RandomFaultSource source(settings);
    bool all = true;
    for (uint32_t opcode : opcodes) all = all && source.Draw(opcode).kind == kind;
    if (all) return settings;
  }
}

class RandomFaultSessionTest : public SessionTest {
 protected:
  void SetUp() override {}
  void Start(const RandomFaultSettings &settings) {
    options_.randomFaults = settings;
    SessionTest::SetUp();
  }
  std::string Drive() const { return options_.driveFolders[0]; }

  // Sends a file body in data packets of the request's sequence until the
  // camera goes away.
  static void SendBody(Client &client, uint16_t sequence, const std::string &body, size_t chunk) {
    for (size_t at = 0; at < body.size(); at += chunk) {
      const size_t n = std::min(chunk, body.size() - at);
      std::vector<uint8_t> packet(kDataPrefixSize);
      DataPrefix prefix;
      prefix.last = at + n == body.size();
      prefix.total = static_cast<uint32_t>(body.size());
      EncodeDataPrefix(packet.data(), prefix);
      packet.insert(packet.end(), body.begin() + at, body.begin() + at + n);
      client.sequence_ = static_cast<uint16_t>(sequence - 1);
      if (!client.Send(kDataPacket, packet, true)) return;
    }
  }
};

}  // namespace

TEST_F(RandomFaultSessionTest, EachFaultLeavesTheCardAsItSays) {
  RandomFaultSettings settings;
  settings.seed = 5;
  settings.rate = 1;
  settings.maxStallMs = 40;
  ASSERT_NO_FATAL_FAILURE(Start(settings));
  fs::create_directory(Drive() + "/OLD");
  for (int i = 0; i < 12; ++i) std::ofstream(Drive() + "/OLD/F" + std::to_string(i) + ".TXT") << i;

  // Requests that change the card whenever they are carried out; the twin
  // source tells what each one gets, link after link.
  RandomFaultSource twin(settings);
  std::optional<Client> client;
  std::string memo = "MEMO.TXT";
  int seen[5] = {};
  for (int i = 0; i < 36; ++i) {
    uint32_t opcode = kCreateDirectory;
    std::vector<uint8_t> payload = Bytes("0:/NEW" + std::to_string(i) + "/");
    const std::string renamed = memo == "MEMO.TXT" ? "MEMO2.TXT" : "MEMO.TXT";
    if (i % 3 == 1) {
      opcode = kRenameFile;
      payload = Join(Join(Be32(0), Bytes("0:/DCIM/100LUMO01/" + memo)), Bytes(renamed));
    } else if (i % 3 == 2) {
      opcode = kEraseFileSecond;
      payload = Join(Be32(1), Bytes("0:/OLD/F" + std::to_string(i / 3) + ".TXT"));
    }
    const Card before = Snapshot(Drive());
    const RandomFault fault = twin.Draw(opcode);
    ++seen[static_cast<int>(fault.kind)];
    if (!client) client.emplace();
    ASSERT_TRUE(client->Connected());
    const auto start = std::chrono::steady_clock::now();
    client->Send(opcode, payload);
    const auto reply = client->Read();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    SCOPED_TRACE("request " + std::to_string(i) + ", kind " + std::to_string(static_cast<int>(fault.kind)));
    switch (fault.kind) {
      case RandomFaultKind::CloseAtRequest:
        EXPECT_FALSE(reply);
        EXPECT_EQ(Snapshot(Drive()), before);
        client.reset();
        break;
      case RandomFaultKind::Refuse:
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->Status(), fault.status);
        EXPECT_EQ(reply->payload.size(), opcode == kEraseFileSecond ? 6u : 4u);
        EXPECT_EQ(Snapshot(Drive()), before);
        break;
      case RandomFaultKind::Stall:
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->Status(), 0);
        EXPECT_GE(elapsed, std::chrono::milliseconds(fault.stallMs));
        EXPECT_NE(Snapshot(Drive()), before);
        if (opcode == kRenameFile) memo = renamed;
        break;
      default:
        FAIL() << "a request without data got no fault or a close in its data";
    }
  }
  for (RandomFaultKind kind : {RandomFaultKind::CloseAtRequest, RandomFaultKind::Refuse, RandomFaultKind::Stall})
    EXPECT_GT(seen[static_cast<int>(kind)], 0) << static_cast<int>(kind);
}

TEST_F(RandomFaultSessionTest, ABodyCutOffByACloseIsNotStored) {
  ASSERT_NO_FATAL_FAILURE(Start(SeedDrawing(RandomFaultKind::CloseInData, {kSendFile, kSendFile})));
  const std::string body(30000, 'b');
  // A new file, then one overwriting a file (flag 1), each on its own link.
  for (const auto &[name, flags] :
       {std::pair<std::string, uint32_t>{"0:/DCIM/NEW.BIN", 0}, {"0:/DCIM/100LUMO01/MEMO.TXT", 1}}) {
    SCOPED_TRACE(name);
    const Card before = Snapshot(Drive());
    Client client;
    ASSERT_TRUE(client.Connected());
    std::vector<uint8_t> request = Be32(flags);
    request.resize(8);
    PutLe32(request.data() + 4, static_cast<uint32_t>(body.size()));
    client.Send(kSendFile, Join(request, Bytes(name)));
    SendBody(client, client.sequence_, body, 8000);
    EXPECT_FALSE(client.Read());  // closed, no final reply
    EXPECT_EQ(Snapshot(Drive()), before);
  }
}

TEST_F(RandomFaultSessionTest, ASentBodyCutOffByACloseEndsBeforeItsLastPacket) {
  const RandomFaultSettings settings = SeedDrawing(RandomFaultKind::CloseInData, {kReceiveFile});
  ASSERT_NO_FATAL_FAILURE(Start(settings));
  std::ofstream(Drive() + "/BIG.BIN") << std::string(30000, 'x');
  const Card before = Snapshot(Drive());
  // 8192-byte packets carry 8167 body bytes: the file takes 4.
  const uint64_t expected = ShareOf(RandomFaultSource(settings).Draw(kReceiveFile).cut, 4);
  Client client;
  ASSERT_TRUE(client.Connected());
  client.Send(kReceiveFile, Bytes("0:/BIG.BIN"));
  uint64_t packets = 0;
  while (const auto packet = client.Read(true)) {
    ++packets;
    EXPECT_EQ(packet->Status(), 0);
    EXPECT_EQ(packet->payload[4], 0) << "a last packet came";
  }
  EXPECT_EQ(packets, expected);
  EXPECT_EQ(Snapshot(Drive()), before);
}

TEST_F(RandomFaultSessionTest, NoFaultsWhileThePauseFileExistsAndNoDrawsMissed) {
  RandomFaultSettings settings;
  settings.seed = 21;
  settings.rate = 1;
  settings.maxStallMs = 20;
  settings.offWhileFile = (fs::temp_directory_path() / ("camsim-off-" + std::to_string(getpid()))).string();
  ASSERT_NO_FATAL_FAILURE(Start(settings));
  std::ofstream(settings.offWhileFile).put('x');
  Client client;
  ASSERT_TRUE(client.Connected());
  for (int i = 0; i < 8; ++i) {
    client.Send(kDriveCapacity, {0});
    const auto reply = client.Read();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->Status(), 0);
    EXPECT_EQ(reply->payload.size(), 8u);
  }
  fs::remove(settings.offWhileFile);
  // The first request after the pause gets the seed's first fault.
  const RandomFault fault = RandomFaultSource(settings).Draw(kDriveCapacity);
  client.Send(kDriveCapacity, {0});
  const auto reply = client.Read();
  if (fault.kind == RandomFaultKind::CloseAtRequest) {
    EXPECT_FALSE(reply);
  } else {
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->Status(), fault.kind == RandomFaultKind::Refuse ? fault.status : 0);
  }
}
