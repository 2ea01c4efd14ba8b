// The conversation of one control connection, against a host that records
// what the session asks of its socket, window list and file system.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "uploadd/ftp_session.h"

namespace {

class RecordingHost : public FtpSessionHost {
 public:
  FtpSettings settings{"anonymous", "tarnwhisk", ""};
  std::string replies;
  std::vector<std::string> log;
  std::vector<std::string> list;
  std::set<std::string> directories{"C:\\up", "C:\\up\\day1", "D:\\cam", "\\\\nas\\share"};
  std::string workingDirectory;
  std::vector<std::string> workingDirectories;
  std::string peer = "127.0.0.1";
  std::vector<std::string> startedTargets;
  DataAddress lastData{"", 0};
  bool transferRunning = false;
  bool startSucceeds = true;
  int closeRequests = 0;
  int aborts = 0;

  const FtpSettings &Settings() const override { return settings; }
  void SendReply(const std::string &reply) override { replies += reply; }
  void Log(const std::string &line) override { log.push_back(line); }
  void RequestClose() override { ++closeRequests; }
  // Folders as Windows forms full paths: drive paths and shares stand as
  // they are, others are taken against the working directory.
  std::optional<std::string> FullPath(const std::string &directory) override {
    auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (directory.size() >= 2 && separator(directory[0]) && separator(directory[1])) {
      std::string full = directory;
      for (char &c : full) c = c == '/' ? '\\' : c;
      return full;
    }
    if (directory.size() >= 2 && directory[1] == ':') return directory;
    if (workingDirectory.empty()) return std::nullopt;
    return workingDirectory + "\\" + directory;
  }
  bool SetWorkingDirectory(const std::string &fullPath) override {
    workingDirectories.push_back(fullPath);
    if (!directories.count(fullPath)) return false;
    workingDirectory = fullPath;
    return true;
  }
  std::string PeerAddress() override { return peer; }
  void AddConnectionLine(const std::string &line) override { list.push_back(line); }
  bool ReplaceConnectionLine(const std::string &prefix, const std::string &line) override {
    for (auto &entry : list)
      if (entry.compare(0, prefix.size(), prefix) == 0) {
        entry = line;
        return true;
      }
    return false;
  }
  bool AbortTransfer() override {
    if (!transferRunning) return false;
    transferRunning = false;
    ++aborts;
    return true;
  }
  bool StartDataConnection(const DataAddress &address, const std::string &targetPath) override {
    if (!startSucceeds) return false;
    lastData = address;
    startedTargets.push_back(targetPath);
    transferRunning = true;
    return true;
  }

  std::string TakeReplies() { return std::exchange(replies, {}); }
};

class FtpSessionTest : public ::testing::Test {
 protected:
  std::string Send(const std::string &line) {
    session.HandleLine(line);
    return host.TakeReplies();
  }
  void LogIn() {
    Send("USER anonymous");
    Send("PASS tarnwhisk");
  }
  RecordingHost host;
  FtpSession session{host, 7};
};

TEST_F(FtpSessionTest, LoginSequenceWithItsRepliesListLineAndLog) {
  session.SendGreeting();
  EXPECT_EQ(host.TakeReplies(), "220 Lumo ftpd 1.0 FTP Server ready.\r\n");
  EXPECT_EQ(Send("USER Anonymous"), "331 Guest login ok, send your password.\r\n");
  EXPECT_EQ(Send("PASS TARNWHISK"), "332 Password ok, send your account.\r\n");
  EXPECT_EQ(host.list, std::vector<std::string>{"7. User7: Open control connection."});
  EXPECT_EQ(Send("ACCT K20"), "230 Account \"K20\" ok. access restrictions apply.\r\n");
  EXPECT_EQ(host.list, std::vector<std::string>{"7. K20: Open control connection."});
  EXPECT_EQ(session.DisplayName(), "K20");
  EXPECT_EQ(Send("USER anonymous"), "530 Can't change user from guest login.\r\n");
  const std::vector<std::string> expectedLog{
      "<-(7) 220 Lumo ftpd 1.0 FTP Server ready.\r\n", "->(7) USER Anonymous",
      "<-(7) 331 Guest login ok, send your password.\r\n", "->(7) PASS TARNWHISK",
      "<-(7) 332 Password ok, send your account.\r\n", "->(7) ACCT K20",
      "<-(7) 230 Account \"K20\" ok. access restrictions apply.\r\n", "->(7) USER anonymous",
      "<-(7) 530 Can't change user from guest login.\r\n"};
  EXPECT_EQ(host.log, expectedLog);
  EXPECT_EQ(Send("PASS tarnwhisk"), "332 Password ok, send your account.\r\n");
  EXPECT_EQ(host.list, std::vector<std::string>{"7. User7: Open control connection."});  // renamed, not doubled
}

TEST_F(FtpSessionTest, WrongOrMissingCredentialsAreRefused) {
  EXPECT_EQ(Send("USER"), "530 Login incorrect.\r\n");
  EXPECT_EQ(Send("USER root"), "530 Login incorrect.\r\n");
  EXPECT_EQ(Send("userx anonymous"), "331 Guest login ok, send your password.\r\n");
  EXPECT_EQ(Send("PASS"), "530 Login incorrect.\r\n");
  EXPECT_EQ(Send("PASS secret"), "530 Login incorrect.\r\n");
  EXPECT_TRUE(host.list.empty());
  // ACCT without a listed connection changes nothing.
  EXPECT_EQ(Send("ACCT K20"), "230 Account \"\" ok. access restrictions apply.\r\n");
  EXPECT_EQ(Send("ACCT"), "230 Account \"\" ok. access restrictions apply.\r\n");
}

TEST_F(FtpSessionTest, PortAcceptsOnlyThePeersOwnAddressAndPort6223) {
  EXPECT_EQ(Send("PORT 127,0,0,1,24,78"), "501 PORT command syntax error.\r\n");  // 6222
  EXPECT_EQ(Send("PORT 127,0,0,1,0,21"), "501 PORT command syntax error.\r\n");
  EXPECT_EQ(Send("PORT 1,2,3"), "501 PORT command syntax error.\r\n");
  EXPECT_EQ(Send("PORT"), "501 PORT command syntax error.\r\n");
  EXPECT_EQ(Send("PORT 10,0,0,9,24,79"), "501 PORT command syntax error.\r\n");  // another host
  host.peer = "10.0.0.9";
  EXPECT_EQ(Send("PORT 10,0,0,9,24,79"), "220 PORT command successful.\r\n");
}

TEST_F(FtpSessionTest, ARefusedPortLeavesNoDataAddressBehind) {
  Send("CWD C:\\up");
  EXPECT_EQ(Send("PORT 127,0,0,1,24,79"), "220 PORT command successful.\r\n");
  for (const char *port : {"PORT 127,0,0,1,24,78", "PORT 192,168,1,20,24,79", "PORT 1,2"}) {
    EXPECT_EQ(Send(port), "501 PORT command syntax error.\r\n");
    EXPECT_EQ(Send("STOR a.jpg"), "425 Can't open data connection.\r\n") << port;
  }
  EXPECT_TRUE(host.startedTargets.empty());
}

TEST_F(FtpSessionTest, RelativeFoldersBecomeFullPathsOnce) {
  EXPECT_EQ(Send("CWD up"), "550 up: No such file or directory.\r\n");  // no folder to take it against
  EXPECT_EQ(Send("CWD C:\\up"), "250 CWD command successful.\r\n");
  EXPECT_EQ(Send("CWD day1"), "250 CWD command successful.\r\n");
  Send("PORT 127,0,0,1,24,79");
  EXPECT_EQ(Send("STOR a.jpg"), "150 Opening BINARY mode data connection for a.jpg\r\n");
  EXPECT_EQ(Send("STOR b.jpg"), "150 Opening BINARY mode data connection for b.jpg\r\n");
  EXPECT_EQ(host.startedTargets, (std::vector<std::string>{"C:\\up\\day1\\a.jpg", "C:\\up\\day1\\b.jpg"}));
  EXPECT_EQ(host.workingDirectories.back(), "C:\\up\\day1");
}

TEST_F(FtpSessionTest, WithoutRootSharesAndDevicesAreRefused) {
  Send("CWD C:\\up");
  Send("PORT 127,0,0,1,24,79");
  for (const char *folder : {"\\\\nas\\share", "\\\\.\\C:\\", "\\\\?\\C:\\up", "//nas/share"}) {
    EXPECT_EQ(Send(std::string("CWD ") + folder), std::string("550 ") + folder + ": No such file or directory.\r\n");
    EXPECT_EQ(Send("STOR a.jpg"), "425 Can't open data connection.\r\n") << folder;
  }
  EXPECT_TRUE(host.startedTargets.empty());
  // A configured root is the user's choice, a share included.
  host.settings.rootDirectory = "\\\\nas\\share";
  EXPECT_EQ(Send("CWD x"), "250 CWD command successful.\r\n");
}

TEST_F(FtpSessionTest, StorNeedsADirectoryAndADataAddress) {
  EXPECT_EQ(Send("STOR"), "501 STOR command syntax error.\r\n");
  EXPECT_EQ(Send("STOR a.jpg"), "425 Can't open data connection.\r\n");  // no directory yet
  EXPECT_EQ(Send("CWD C:\\up"), "250 CWD command successful.\r\n");
  EXPECT_EQ(Send("STOR a.jpg"), "425 Can't open data connection.\r\n");  // no PORT yet
  host.startSucceeds = false;
  Send("PORT 127,0,0,1,24,79");
  EXPECT_EQ(Send("STOR a.jpg"), "425 Can't open data connection.\r\n");
  EXPECT_TRUE(host.startedTargets.empty());
}

TEST_F(FtpSessionTest, StorStartsTheUploadAndMarksTheConnection) {
  LogIn();
  Send("CWD C:\\up");
  Send("PORT 127,0,0,1,24,79");
  EXPECT_EQ(Send("STOR IMG0001.JPG"), "150 Opening BINARY mode data connection for IMG0001.JPG\r\n");
  EXPECT_EQ(host.startedTargets, std::vector<std::string>{"C:\\up\\IMG0001.JPG"});
  EXPECT_EQ(host.lastData.address, "127.0.0.1");
  EXPECT_EQ(host.list, std::vector<std::string>{"7. User7: Progress data transfer."});
  session.ShowTransferring(false);
  EXPECT_EQ(host.list, std::vector<std::string>{"7. User7: Open control connection."});
}

TEST_F(FtpSessionTest, SecondStorAbortsTheRunningUploadFirst) {
  Send("CWD C:\\up");
  Send("PORT 127,0,0,1,24,79");
  Send("STOR a.jpg");
  EXPECT_EQ(Send("STOR b.jpg"), "150 Opening BINARY mode data connection for b.jpg\r\n");
  EXPECT_EQ(host.aborts, 1);
  EXPECT_EQ(host.startedTargets.size(), 2u);
}

TEST_F(FtpSessionTest, ConfiguredRootWinsOverCwdAndStor) {
  host.settings.rootDirectory = "D:\\cam";
  EXPECT_EQ(Send("CWD /DCIM/anything"), "250 CWD command successful.\r\n");
  EXPECT_EQ(host.workingDirectories.back(), "D:\\cam");
  Send("PORT 127,0,0,1,24,79");
  Send("STOR a.jpg");
  EXPECT_EQ(host.startedTargets.back(), "D:\\cam\\a.jpg");
  host.settings.rootDirectory = "E:\\gone";
  EXPECT_EQ(Send("CWD x"), "550 E:\\gone: No such file or directory.\r\n");
  EXPECT_EQ(Send("STOR a.jpg"), "550 E:\\gone: No such file or directory.\r\n");
}

TEST_F(FtpSessionTest, CwdWithoutRootUsesTheArgument) {
  EXPECT_EQ(Send("CWD"), "501 CWD command syntax error.\r\n");
  EXPECT_EQ(Send("CWD Q:\\none"), "550 Q:\\none: No such file or directory.\r\n");
  EXPECT_EQ(Send("CWD D:\\cam"), "250 CWD command successful.\r\n");
}

TEST_F(FtpSessionTest, NamesLeavingTheFolderAreRefusedWithoutStartingAnything) {
  Send("CWD C:\\up");
  Send("PORT 127,0,0,1,24,79");
  for (const char *name : {"..\\x.jpg", "../x.jpg", "sub\\x.jpg", "D:x.jpg", ".."})
    EXPECT_EQ(Send(std::string("STOR ") + name), std::string("553 ") + name + ": File name not allowed.\r\n");
  EXPECT_TRUE(host.startedTargets.empty());
}

TEST_F(FtpSessionTest, AborRepliesByTransferState) {
  EXPECT_EQ(Send("ABOR"), "226 Abort successful.\r\n");
  host.transferRunning = true;
  EXPECT_EQ(Send("abor"), "426 Transfer aborted. Data connection closed.\r\n226 Abort successful.\r\n");
}

TEST_F(FtpSessionTest, QuitAndUnknownCommandsEndTheConnection) {
  EXPECT_EQ(Send("QUIT"), "221-Closing control connection.\r\n221 Good-bye.\r\n");
  EXPECT_EQ(host.closeRequests, 1);
  for (const char *line : {"TYPE I", "NOOP"}) {
    EXPECT_EQ(Send(line), "421-Request not supported.\r\n421-Closing control connection.\r\n421 Good-bye.\r\n");
  }
  EXPECT_EQ(host.closeRequests, 3);
}

}  // namespace
