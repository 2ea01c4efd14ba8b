// uploadd.exe end to end: started with a test profile, Start pressed in its
// window, then served over TCP by a camera-like client of this test and by
// the native camsim upload client.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ftp_test_client.h"
#include "test_files.h"
#include "upload_server_process.h"

namespace {

const WinsockEnvironment winsock;

// A scratch folder that both this Windows test and native Linux programs
// see: Z:\tmp\... is /tmp/... .
class ScratchFolder {
 public:
  ScratchFolder() {
    const std::string name = "uploadd_test." + std::to_string(GetCurrentProcessId());
    windows_ = "Z:\\tmp\\" + name;
    unix_ = "/tmp/" + name;
    RemoveTree(windows_);
    CreateDirectoryA(windows_.c_str(), nullptr);
    CreateDirectoryA(Root().c_str(), nullptr);
  }
  ~ScratchFolder() { RemoveTree(windows_); }
  std::string Root() const { return windows_ + "\\root"; }
  std::string Log() const { return windows_ + "\\uploadd.log"; }
  std::string Path(const std::string &name) const { return windows_ + "\\" + name; }
  std::string UnixPath(const std::string &name) const { return unix_ + "/" + name; }
  const std::string &Windows() const { return windows_; }
  const std::string &Unix() const { return unix_; }

 private:
  std::string windows_, unix_;
};

std::string Pattern(size_t size, int seed) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + seed) & 0xFF);
  return bytes;
}

// Waits until the folder holds exactly the expected names.
bool WaitForFiles(const std::string &folder, const std::vector<std::string> &expected) {
  for (int i = 0; i < 3000; ++i) {
    if (FileNames(folder) == expected) return true;
    Sleep(20);
  }
  return false;
}

class Uploadd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = new ScratchFolder;
    server_ = new UploadServerProcess(scratch_->Root(), scratch_->Log());
  }
  static void TearDownTestSuite() {
    delete server_;
    delete scratch_;
  }
  void SetUp() override {
    ASSERT_TRUE(server_->HasWindow());
    static const std::string started = server_->PressStart();
    ASSERT_EQ(started, "");
    for (const auto &name : FileNames(Root())) DeleteFileA((Root() + "\\" + name).c_str());
  }
  static std::string Root() { return scratch_->Root(); }

  static ScratchFolder *scratch_;
  static UploadServerProcess *server_;
};
ScratchFolder *Uploadd::scratch_;
UploadServerProcess *Uploadd::server_;

TEST_F(Uploadd, LoginRepliesAndTheConnectionList) {
  FtpTestClient client;
  std::string greeting;
  ASSERT_TRUE(client.Connect(&greeting));
  EXPECT_EQ(greeting, "220 Lumo ftpd 1.0 FTP Server ready.");
  EXPECT_EQ(client.Command("USER root"), "530 Login incorrect.");
  EXPECT_EQ(client.Command("userx anonymous"), "331 Guest login ok, send your password.");
  EXPECT_EQ(client.Command("PASS wrong"), "530 Login incorrect.");
  EXPECT_EQ(client.Command("pass tarnwhisk"), "332 Password ok, send your account.");
  EXPECT_EQ(server_->ConnectionCount(), 1);
  EXPECT_EQ(client.Command("ACCT K20"), "230 Account \"K20\" ok. access restrictions apply.");
  EXPECT_TRUE(server_->HasConnectionLine("K20: Open control connection."));
  EXPECT_EQ(client.Command("USER anonymous"), "530 Can't change user from guest login.");
  EXPECT_EQ(client.Command("QUIT"), "221-Closing control connection.");
  EXPECT_EQ(client.ReadLine(), "221 Good-bye.");
  EXPECT_TRUE(client.WaitClosed());
  for (int i = 0; i < 100 && server_->ConnectionCount() != 0; ++i) Sleep(20);
  EXPECT_EQ(server_->ConnectionCount(), 0);
}

TEST_F(Uploadd, PortTakesOnly6223AndStorNeedsIt) {
  FtpTestClient client;
  ASSERT_TRUE(client.ConnectAndLogIn());
  EXPECT_EQ(client.Command("STOR a.jpg"), "425 Can't open data connection.");
  EXPECT_EQ(client.Command("PORT 127,0,0,1,24,78"), "501 PORT command syntax error.");
  EXPECT_EQ(client.Command("PORT 127,0,0,1,0,21"), "501 PORT command syntax error.");
  EXPECT_EQ(client.Command("PORT 127,0,0,1"), "501 PORT command syntax error.");
  EXPECT_EQ(client.Port(), "220 PORT command successful.");
  // A data address other than the client's own is refused and not kept: the
  // server never connects where a peer points it.
  EXPECT_EQ(client.Command("PORT 127,0,0,2,24,79"), "501 PORT command syntax error.");
  EXPECT_EQ(client.Command("STOR a.jpg"), "425 Can't open data connection.");
  EXPECT_EQ(client.Port(), "220 PORT command successful.");
  EXPECT_EQ(client.Command("PORT 127,0,0,1,24,78"), "501 PORT command syntax error.");
  EXPECT_EQ(client.Command("STOR a.jpg"), "425 Can't open data connection.");
  EXPECT_EQ(client.Command("STOR"), "501 STOR command syntax error.");
  EXPECT_EQ(client.Command("CWD"), "501 CWD command syntax error.");
  EXPECT_EQ(client.Command("ABOR"), "226 Abort successful.");
  EXPECT_TRUE(FileNames(Root()).empty());
}

TEST_F(Uploadd, SameNameThreeTimesKeepsTheEarlierFilesNumbered) {
  FtpTestClient client;
  ASSERT_TRUE(client.ConnectAndLogIn());
  const std::string first = Pattern(100000, 1), second = Pattern(5, 2), third = Pattern(70000, 3);
  EXPECT_EQ(client.Upload("IMG0001.JPG", first), "226 Transfer complete.");
  EXPECT_EQ(client.Upload("IMG0001.JPG", second), "226 Transfer complete.");
  EXPECT_EQ(client.Upload("IMG0001.JPG", third), "226 Transfer complete.");
  EXPECT_EQ(client.Upload("empty.txt", ""), "226 Transfer complete.");
  EXPECT_EQ(FileNames(Root()),
            (std::vector<std::string>{"IMG0001-001.JPG", "IMG0001-002.JPG", "IMG0001.JPG", "empty.txt"}));
  EXPECT_TRUE(ReadAll(Root() + "\\IMG0001.JPG") == third);
  EXPECT_TRUE(ReadAll(Root() + "\\IMG0001-001.JPG") == first);
  EXPECT_TRUE(ReadAll(Root() + "\\IMG0001-002.JPG") == second);
}

// A camera whose file counter wrapped sends a name whose numbered copies
// -001 to -999 all exist: the earlier file takes -1000, then -1001, and not
// one of the copies is touched.
TEST_F(Uploadd, AfterName999TheNumbersGoOnAndNoCopyIsDeleted) {
  const auto copy = [](unsigned n) {
    char name[32];
    std::snprintf(name, sizeof name, "IMG0001-%03u.JPG", n);
    return Root() + "\\" + name;
  };
  for (unsigned n = 1; n <= 999; ++n) WriteAll(copy(n), "copy " + std::to_string(n));
  WriteAll(Root() + "\\IMG0001.JPG", "previous");
  FtpTestClient client;
  ASSERT_TRUE(client.ConnectAndLogIn());
  EXPECT_EQ(client.Upload("IMG0001.JPG", "newer"), "226 Transfer complete.");
  EXPECT_EQ(client.Upload("IMG0001.JPG", "newest"), "226 Transfer complete.");
  EXPECT_EQ(FileNames(Root()).size(), 1002u);
  for (unsigned n = 1; n <= 999; ++n) ASSERT_EQ(ReadAll(copy(n)), "copy " + std::to_string(n)) << n;
  EXPECT_EQ(ReadAll(copy(1000)), "previous");
  EXPECT_EQ(ReadAll(copy(1001)), "newer");
  EXPECT_EQ(ReadAll(Root() + "\\IMG0001.JPG"), "newest");
}

// The earlier file's numbered name would be longer than a path may be: the
// upload fails as one that cannot be stored, and the earlier file stays.
TEST_F(Uploadd, AnEarlierFileWhoseNumberedNameWouldNotFitFailsTheUpload) {
  // Root\name is MAX_PATH - 3 characters long, Root\name-001 MAX_PATH + 1.
  const std::string name = std::string(MAX_PATH - 3 - (Root().size() + 1) - 4, 'n') + ".JPG";
  FtpTestClient client;
  ASSERT_TRUE(client.ConnectAndLogIn());
  EXPECT_EQ(client.Upload(name, "first"), "226 Transfer complete.");
  EXPECT_EQ(client.Upload(name, "second"), "450 Can't create destination file.");
  EXPECT_EQ(FileNames(Root()), std::vector<std::string>{name});
  EXPECT_EQ(ReadAll(Root() + "\\" + name), "first");
}

// The camera loses its connection in the middle of a file: its control
// connection ends, then its data connection breaks off.
TEST_F(Uploadd, UploadCutOffByTheClientLeavesNoTraceAndTheTargetUnchanged) {
  const std::string original = Pattern(1000, 4);
  {
    FtpTestClient client;
    ASSERT_TRUE(client.ConnectAndLogIn());
    ASSERT_EQ(client.Upload("keep.jpg", original), "226 Transfer complete.");
  }
  FtpTestClient client;
  ASSERT_TRUE(client.ConnectAndLogIn());
  unique_socket data = client.BeginUpload("keep.jpg");
  ASSERT_TRUE(data);
  FtpTestClient::SendAll(data.get(), Pattern(50000, 5));
  for (int i = 0; i < 500 && FileNames(Root()).size() < 2; ++i) Sleep(20);
  ASSERT_EQ(FileNames(Root()).size(), 2u);  // the temporary file exists
  EXPECT_EQ(FileNames(Root())[0].rfind("ZLX", 0), 0u);
  client.EndSending();
  EXPECT_TRUE(client.WaitClosed());
  FtpTestClient::Reset(data);
  EXPECT_TRUE(WaitForFiles(Root(), {"keep.jpg"}));
  EXPECT_TRUE(ReadAll(Root() + "\\keep.jpg") == original);
}

TEST_F(Uploadd, SecondStorAbortsTheRunningUploadFirst) {
  FtpTestClient client;
  ASSERT_TRUE(client.ConnectAndLogIn());
  unique_socket firstData = client.BeginUpload("first.jpg");
  ASSERT_TRUE(firstData);
  FtpTestClient::SendAll(firstData.get(), Pattern(20000, 6));
  EXPECT_EQ(client.Upload("second.jpg", "second"), "226 Transfer complete.");
  EXPECT_EQ(FileNames(Root()), std::vector<std::string>{"second.jpg"});
  char byte;
  EXPECT_EQ(recv(firstData.get(), &byte, 1, 0), 0);  // the server closed the first data connection
}

TEST_F(Uploadd, AborDuringAnUploadDeletesThePartialFile) {
  FtpTestClient client;
  ASSERT_TRUE(client.ConnectAndLogIn());
  unique_socket data = client.BeginUpload("part.jpg");
  ASSERT_TRUE(data);
  FtpTestClient::SendAll(data.get(), Pattern(3000, 7));
  EXPECT_EQ(client.Command("ABOR"), "426 Transfer aborted. Data connection closed.");
  EXPECT_EQ(client.ReadLine(), "226 Abort successful.");
  EXPECT_TRUE(FileNames(Root()).empty());
}

TEST_F(Uploadd, UnsupportedCommandsEndTheConnectionWithThree421Lines) {
  for (const char *command : {"TYPE I", "NOOP"}) {
    FtpTestClient client;
    ASSERT_TRUE(client.Connect());
    EXPECT_EQ(client.Command(command), "421-Request not supported.");
    EXPECT_EQ(client.ReadLine(), "421-Closing control connection.");
    EXPECT_EQ(client.ReadLine(), "421 Good-bye.");
    EXPECT_TRUE(client.WaitClosed()) << command;
  }
}

TEST_F(Uploadd, WithAConfiguredRootAnyCwdSucceedsAndFilesLandInTheRoot) {
  FtpTestClient client;
  ASSERT_TRUE(client.ConnectAndLogIn());
  EXPECT_EQ(client.Command("CWD /DCIM/100LUMO"), "250 CWD command successful.");
  EXPECT_EQ(client.Upload("IMG0002.JPG", "picture"), "226 Transfer complete.");
  EXPECT_EQ(ReadAll(Root() + "\\IMG0002.JPG"), "picture");
}

TEST_F(Uploadd, NamesThatLeaveTheFolderAreRefused) {
  FtpTestClient client;
  ASSERT_TRUE(client.ConnectAndLogIn());
  client.Port();
  for (const std::string name : {"..\\evil.jpg", "../evil.jpg", "sub\\evil.jpg", "C:evil.jpg", "Z:\\tmp\\evil.jpg"})
    EXPECT_EQ(client.Command("STOR " + name), "553 " + name + ": File name not allowed.");
  EXPECT_TRUE(FileNames(Root()).empty());
  EXPECT_EQ(FileNames(scratch_->Windows()), std::vector<std::string>{"uploadd.log"});
}

TEST_F(Uploadd, CamsimUploadStoresEveryFile) {
  const std::vector<std::string> names{"IMG0101.JPG", "IMG0102.JPG", "IMG0101.JPG"};
  WriteAll(scratch_->Path("IMG0101.JPG"), Pattern(300000, 8));
  WriteAll(scratch_->Path("IMG0102.JPG"), Pattern(1, 9));
  std::string client = UPLOAD_CLIENT " upload --server 127.0.0.1:6222 --quiet";
  for (const auto &name : names) client += " " + scratch_->UnixPath(name);
  EXPECT_EQ(RunNative("timeout 60 " + client, scratch_->Windows(), scratch_->Unix(), 90000), 0);
  EXPECT_TRUE(WaitForFiles(Root(), {"IMG0101-001.JPG", "IMG0101.JPG", "IMG0102.JPG"}));
  EXPECT_TRUE(ReadAll(Root() + "\\IMG0101.JPG") == Pattern(300000, 8));
  EXPECT_TRUE(ReadAll(Root() + "\\IMG0102.JPG") == Pattern(1, 9));
  DeleteFileA(scratch_->Path("IMG0101.JPG").c_str());
  DeleteFileA(scratch_->Path("IMG0102.JPG").c_str());
}

// The one slow test: the watchdog's limit is 30 seconds.
TEST_F(Uploadd, DataConnectionSilentFor30SecondsEndsTheControlConnection) {
  FtpTestClient client;
  ASSERT_TRUE(client.ConnectAndLogIn());
  unique_socket data = client.BeginUpload("slow.jpg");
  ASSERT_TRUE(data);
  FtpTestClient::SendAll(data.get(), Pattern(4000, 10));
  const DWORD start = GetTickCount();
  EXPECT_TRUE(client.WaitClosed(90000));
  EXPECT_GE(GetTickCount() - start, 25000u);
  EXPECT_TRUE(WaitForFiles(Root(), {}));
}

class UploaddOwnServer : public ::testing::Test {
 protected:
  ScratchFolder scratch_;
};

TEST_F(UploaddOwnServer, RollingLogKeepsRecentWholeLinesAndEndsWithQuit) {
  UploadServerProcess server(scratch_.Root(), scratch_.Log());
  ASSERT_TRUE(server.HasWindow());
  ASSERT_EQ(server.PressStart(), "");
  FtpTestClient client;
  ASSERT_TRUE(client.ConnectAndLogIn());
  for (int i = 0; i < 40; ++i) client.Port();
  client.Command("PORT " + std::string(1500, '9'));  // a line longer than a log line
  EXPECT_TRUE(server.PressQuit());
  EXPECT_TRUE(client.WaitClosed());
  const std::string log = ReadAll(scratch_.Log());
  EXPECT_LT(log.size(), 2048u);
  EXPECT_GT(log.size(), 1500u);
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
  std::istringstream lines(log);
  std::string line, last;
  while (std::getline(lines, line)) {
    EXPECT_TRUE(line.rfind("->(1) ", 0) == 0 || line.rfind("<-(1) ", 0) == 0 || line.rfind("Lumo ftpd 1.0", 0) == 0)
        << line;
    EXPECT_LE(line.size(), 254u);  // 253 characters and the CR
    last = line;
  }
  EXPECT_EQ(last.rfind("Lumo ftpd 1.0 --- QUIT --- ", 0), 0u) << last;
}

TEST_F(UploaddOwnServer, SecondCopyCannotListen) {
  UploadServerProcess first(scratch_.Root(), scratch_.Log());
  ASSERT_TRUE(first.HasWindow());
  ASSERT_EQ(first.PressStart(), "");
  UploadServerProcess second(scratch_.Root(), scratch_.Log());
  ASSERT_TRUE(second.HasWindow());
  EXPECT_EQ(second.PressStart(), "Failed to create Socket.");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(second.Window(), 1007)));
  EXPECT_TRUE(second.PressQuit());
}

TEST_F(UploaddOwnServer, WithoutRootCwdChoosesTheFolder) {
  UploadServerProcess server("", "");
  ASSERT_TRUE(server.HasWindow());
  ASSERT_EQ(server.PressStart(), "");
  FtpTestClient client;
  ASSERT_TRUE(client.ConnectAndLogIn());
  client.Port();
  EXPECT_EQ(client.Command("STOR a.jpg"), "425 Can't open data connection.");
  EXPECT_EQ(client.Command("CWD Z:\\tmp\\no such folder"), "550 Z:\\tmp\\no such folder: No such file or directory.");
  EXPECT_EQ(client.Command("CWD " + scratch_.Root()), "250 CWD command successful.");
  EXPECT_EQ(client.Upload("a.jpg", "abc"), "226 Transfer complete.");
  EXPECT_EQ(ReadAll(scratch_.Root() + "\\a.jpg"), "abc");
  EXPECT_FALSE(std::ifstream(scratch_.Log()).good());  // no log file name: no log
}

TEST_F(UploaddOwnServer, RelativeRootIsTakenOnceAgainstTheStartFolder) {
  UploadServerProcess server("relroot", "", scratch_.Windows());
  ASSERT_TRUE(server.HasWindow());
  ASSERT_EQ(server.PressStart(), "");
  FtpTestClient client;
  ASSERT_TRUE(client.ConnectAndLogIn());
  EXPECT_EQ(client.Command("CWD anything"), "250 CWD command successful.");
  EXPECT_EQ(client.Upload("a.jpg", "first"), "226 Transfer complete.");
  EXPECT_EQ(client.Upload("b.jpg", "second"), "226 Transfer complete.");
  EXPECT_EQ(FileNames(scratch_.Path("relroot")), (std::vector<std::string>{"a.jpg", "b.jpg"}));
  EXPECT_EQ(ReadAll(scratch_.Path("relroot\\b.jpg")), "second");
}

TEST_F(UploaddOwnServer, WithoutRootARelativeCwdIsTakenOnce) {
  CreateDirectoryA(scratch_.Path("day1").c_str(), nullptr);
  UploadServerProcess server("", "", scratch_.Windows());
  ASSERT_TRUE(server.HasWindow());
  ASSERT_EQ(server.PressStart(), "");
  FtpTestClient client;
  ASSERT_TRUE(client.ConnectAndLogIn());
  EXPECT_EQ(client.Command("CWD day1"), "250 CWD command successful.");
  EXPECT_EQ(client.Upload("a.jpg", "abc"), "226 Transfer complete.");
  EXPECT_EQ(client.Upload("b.jpg", "def"), "226 Transfer complete.");
  EXPECT_EQ(FileNames(scratch_.Path("day1")), (std::vector<std::string>{"a.jpg", "b.jpg"}));
}

TEST_F(UploaddOwnServer, WithoutRootSharesAndDevicePathsAreRefused) {
  UploadServerProcess server("", "");
  ASSERT_TRUE(server.HasWindow());
  ASSERT_EQ(server.PressStart(), "");
  FtpTestClient client;
  ASSERT_TRUE(client.ConnectAndLogIn());
  client.Port();
  // An existing folder, named through the device namespace.
  const std::string device = "\\\\?\\" + scratch_.Root();
  for (const std::string &folder : {device, std::string("\\\\127.0.0.1\\share"), std::string("\\\\.\\COM1")}) {
    EXPECT_EQ(client.Command("CWD " + folder), "550 " + folder + ": No such file or directory.");
    EXPECT_EQ(client.Command("STOR a.jpg"), "425 Can't open data connection.") << folder;
  }
  EXPECT_EQ(client.Command("CWD " + scratch_.Root()), "250 CWD command successful.");
}

TEST_F(UploaddOwnServer, ConnectionsBeyondTheCapAreRefusedAndLogged) {
  UploadServerProcess server(scratch_.Root(), scratch_.Log());
  ASSERT_TRUE(server.HasWindow());
  ASSERT_EQ(server.PressStart(), "");
  std::vector<std::unique_ptr<FtpTestClient>> clients;
  for (int i = 0; i < 32; ++i) {
    clients.push_back(std::make_unique<FtpTestClient>());
    ASSERT_TRUE(clients.back()->Connect()) << i;
  }
  FtpTestClient extra;
  std::string greeting = "none";
  EXPECT_FALSE(extra.Connect(&greeting));
  EXPECT_EQ(greeting, "");
  EXPECT_TRUE(extra.WaitClosed(10000));
  // A place that frees up is taken again.
  EXPECT_EQ(clients.back()->Command("QUIT"), "221-Closing control connection.");
  EXPECT_TRUE(clients.back()->WaitClosed());
  clients.pop_back();
  Sleep(200);
  FtpTestClient next;
  EXPECT_TRUE(next.Connect());
  EXPECT_TRUE(server.PressQuit());
  EXPECT_NE(ReadAll(scratch_.Log()).find("Refused client connection: 32 connections are open.\r\n"),
            std::string::npos);
}

TEST_F(UploaddOwnServer, RootThatCannotBeCreatedStopsStart) {
  UploadServerProcess server(scratch_.Path("missing\\deeper\\root"), scratch_.Log());
  ASSERT_TRUE(server.HasWindow());
  EXPECT_EQ(server.PressStart(), "Canoot create root directry for Direct upload.");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(server.Window(), 1007)));
}

}  // namespace
