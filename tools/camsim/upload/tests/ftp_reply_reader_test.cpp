// The client's byte-fed reader of server replies, fed in awkward pieces.
#include <gtest/gtest.h>

#include <string>

#include "ftp_reply_reader.h"

namespace {

void FeedAll(FtpReplyReader &reader, const std::string &bytes) {
  for (char c : bytes) reader.Feed(c);
}

TEST(FtpReplyReader, SingleAndMultiLineReplies) {
  FtpReplyReader reader;
  FeedAll(reader, "220 Lumo ftpd 1.0 FTP Server ready.\r\n221-Closing control connection.\r\n");
  auto first = reader.Next();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->code, 220);
  EXPECT_FALSE(reader.Next());  // the 221 reply is not complete yet
  FeedAll(reader, "221-more\r\n221 Good-bye.\r\n");
  auto second = reader.Next();
  ASSERT_TRUE(second);
  EXPECT_EQ(second->code, 221);
  EXPECT_EQ(second->lines.size(), 3u);
  EXPECT_EQ(second->lines.back(), "221 Good-bye.");
}

TEST(FtpReplyReader, ByteByByteAndBareLf) {
  FtpReplyReader reader;
  FeedAll(reader, "331 ok\n");
  auto reply = reader.Next();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->code, 331);
  EXPECT_EQ(reply->lines[0], "331 ok");
}

TEST(FtpReplyReader, GarbageAndOverlongLinesFailForGood) {
  FtpReplyReader garbage;
  FeedAll(garbage, "HTTP/1.0 200 OK\r\n220 fine\r\n");
  EXPECT_TRUE(garbage.Failed());
  EXPECT_FALSE(garbage.Next());

  FtpReplyReader longLine;
  FeedAll(longLine, "220 " + std::string(FtpReplyReader::kMaxLineLength, 'x'));
  EXPECT_TRUE(longLine.Failed());

  FtpReplyReader endless;
  for (int i = 0; i < 100; ++i) FeedAll(endless, "220-line\r\n");
  EXPECT_TRUE(endless.Failed());
}

}  // namespace
