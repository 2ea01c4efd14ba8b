// Command-line splitting, keyword matching, PORT arguments and STOR names.
#include <gtest/gtest.h>

#include <string>

#include "uploadd/ftp_command.h"

namespace {

std::string Receive(CFtpCommand &command, const std::string &bytes) {
  return command.ReceiveLine(bytes.data(), bytes.size());
}

TEST(CFtpCommand, LineEndsAtTheFirstCrLfAndTheRestOfTheReadIsDropped) {
  CFtpCommand command;
  EXPECT_EQ(Receive(command, "USER anonymous\r\n"), "USER anonymous");
  EXPECT_EQ(Receive(command, "PASS x\r\nACCT y\r\n"), "PASS x");
  EXPECT_EQ(Receive(command, "NOOP"), "NOOP");  // no CR LF: the whole read
  EXPECT_EQ(Receive(command, "A\rB\nC\r\n"), "A\rB\nC");  // lone CR or LF stay in the line
  EXPECT_EQ(Receive(command, "\r\n"), "");
}

TEST(CFtpCommand, RepliesQueueBehindUnsentRest) {
  CFtpCommand command;
  command.AddReply("221-Closing.\r\n");
  command.MarkSent(4);
  command.AddReply("221 Bye.\r\n");
  EXPECT_EQ(std::string(command.Unsent(), command.UnsentLength()), "Closing.\r\n221 Bye.\r\n");
  command.MarkSent(1000);
  EXPECT_EQ(command.UnsentLength(), 0u);
}

TEST(ParseCommand, FirstFourCharactersMatchWithoutRegardToCase) {
  EXPECT_EQ(ParseCommand("user anonymous").verb, FtpVerb::User);
  EXPECT_EQ(ParseCommand("USERX anonymous").verb, FtpVerb::User);
  EXPECT_EQ(ParseCommand("Stor a.jpg").verb, FtpVerb::Stor);
  EXPECT_EQ(ParseCommand("cwd /").verb, FtpVerb::Cwd);
  EXPECT_EQ(ParseCommand("CWDX").verb, FtpVerb::Cwd);
  EXPECT_EQ(ParseCommand("ABOR").verb, FtpVerb::Abor);
  for (const char *line : {"TYPE I", "NOOP", "", "US", "LIST", "RETR a"})
    EXPECT_EQ(ParseCommand(line).verb, FtpVerb::Unsupported) << line;
}

TEST(ParseCommand, ArgumentIsEverythingAfterTheFirstBlank) {
  EXPECT_EQ(ParseCommand("STOR my file.jpg").argument, "my file.jpg");
  EXPECT_EQ(ParseCommand("STOR  a").argument, " a");
  EXPECT_FALSE(ParseCommand("STOR").argument);
  EXPECT_FALSE(ParseCommand("STOR ").argument);
}

TEST(ParsePortArgument, SixNumbersGiveAddressAndPort) {
  const auto parsed = ParsePortArgument("192,168,0,10,24,79");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->address, "192.168.0.10");
  EXPECT_EQ(parsed->port, 6223);
  EXPECT_EQ(ParsePortArgument("127,0,0,1,0,21")->port, 21);
}

TEST(ParsePortArgument, RefusesAnythingElse) {
  for (const char *bad : {"", "1,2,3,4,5", "1,2,3,4,5,6,7", "1,2,3,4,5,", "256,0,0,1,24,79", "1,2,3,4,5,-6",
                          "1, 2,3,4,5,6", "a,b,c,d,e,f", "1,2,3,4,5,6 ", "0001,2,3,4,5,6"})
    EXPECT_FALSE(ParsePortArgument(bad)) << bad;
}

TEST(IsPlainFileName, RefusesNamesThatLeaveTheFolder) {
  for (const char *good : {"IMG0001.JPG", "a b.txt", "x", ".hidden", "a.b.c"})
    EXPECT_TRUE(IsPlainFileName(good)) << good;
  for (const char *bad : {"..\\evil.jpg", "../evil.jpg", "sub/a.jpg", "sub\\a.jpg", "C:evil.jpg", "..", ".",
                          "a..jpg", "a*.jpg", "a?.jpg", "a|b", "a\tb", "", "x:stream"})
    EXPECT_FALSE(IsPlainFileName(bad)) << bad;
}

}  // namespace
