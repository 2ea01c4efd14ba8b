// The server front's portable rules: where an HTTP request ends, the
// statistics arithmetic and the texts it writes.
#include <gtest/gtest.h>

#include <string>

#include "link/http_request_scanner.h"
#include "link/server_texts.h"
#include "link/transfer_stats.h"

using namespace vserver;

namespace {

void Feed(HttpRequestScanner &scanner, const std::string &text) {
  scanner.Feed(reinterpret_cast<const uint8_t *>(text.data()), text.size());
}

// A request header of exactly `size` bytes announcing `body` bytes.
std::string Header(size_t size, size_t body) {
  std::string head = "POST /upload HTTP/1.0\r\ncontent-LENGTH: " + std::to_string(body) + "\r\nX-Fill: ";
  const std::string end = "\r\n\r\n";
  head += std::string(size - head.size() - end.size(), 'f') + end;
  return head;
}

}  // namespace

TEST(HttpRequestScanner, RequestOfHeaderAndBodyInChunks) {
  HttpRequestScanner scanner;
  const std::string request = Header(300, 5000) + std::string(5000, 'b');
  ASSERT_EQ(request.size(), 5300u);
  for (size_t at = 0; at < request.size(); at += 700) {
    EXPECT_FALSE(scanner.RequestComplete()) << at;
    Feed(scanner, request.substr(at, 700));
  }
  EXPECT_TRUE(scanner.HeaderComplete());
  EXPECT_EQ(scanner.HeaderBytes(), 300u);
  EXPECT_EQ(scanner.ContentLength(), 5000u);
  EXPECT_TRUE(scanner.RequestComplete());
}

TEST(HttpRequestScanner, OneByteShortIsIncomplete) {
  HttpRequestScanner scanner;
  Feed(scanner, Header(300, 10) + "123456789");
  EXPECT_FALSE(scanner.RequestComplete());
  Feed(scanner, "0");
  EXPECT_TRUE(scanner.RequestComplete());
}

TEST(HttpRequestScanner, LineEndsOfEveryKindSplitAnywhere) {
  for (const std::string &eol : {std::string("\n"), std::string("\r"), std::string("\r\n")}) {
    const std::string request = "GET / HTTP/1.0" + eol + "Content-Length: 3" + eol + eol + "abc";
    for (size_t split = 0; split <= request.size(); ++split) {
      HttpRequestScanner scanner;
      Feed(scanner, request.substr(0, split));
      Feed(scanner, request.substr(split));
      EXPECT_EQ(scanner.HeaderBytes(), request.size() - 3) << split;
      EXPECT_TRUE(scanner.RequestComplete()) << split;
    }
  }
}

TEST(HttpRequestScanner, CrLfHeaderEndSplitBeforeTheLf) {
  HttpRequestScanner scanner;
  Feed(scanner, "GET / HTTP/1.0\r\nContent-Length: 1\r\n\r");
  EXPECT_TRUE(scanner.HeaderComplete());
  Feed(scanner, "\n");
  EXPECT_FALSE(scanner.RequestComplete()) << "the LF belongs to the header, not the body";
  Feed(scanner, "x");
  EXPECT_TRUE(scanner.RequestComplete());
}

TEST(HttpRequestScanner, WithoutContentLengthTheHeaderEndsTheRequest) {
  HttpRequestScanner scanner;
  Feed(scanner, "GET /status HTTP/1.0\r\nHost: camera\r\n");
  EXPECT_FALSE(scanner.RequestComplete());
  Feed(scanner, "\r\n");
  EXPECT_TRUE(scanner.RequestComplete());
  EXPECT_EQ(scanner.ContentLength(), 0u);
}

TEST(HttpRequestScanner, HugeContentLengthDoesNotOverflow) {
  HttpRequestScanner scanner;
  Feed(scanner, "POST / HTTP/1.0\r\nContent-Length: 99999999999999999999999999999999\r\n\r\n");
  EXPECT_TRUE(scanner.HeaderComplete());
  EXPECT_FALSE(scanner.RequestComplete());
}

TEST(TransferStats, RateOfOneConnectionAndTheMeanWithTheLast) {
  TransferStats alone;
  alone.Add({1000, 4000, 6000});
  EXPECT_EQ(alone.Rate(), 10000u);

  TransferStats after;
  after.Add({1500, 5000, 0});
  EXPECT_EQ(after.Rate(), 5000u);
  after.Add({1000, 10000, 0});
  EXPECT_EQ(after.Rate(), 7500u);
  EXPECT_EQ(after.Connections(), 2u);
  EXPECT_EQ(after.TotalReceived(), 15000u);
  EXPECT_EQ(after.TotalSent(), 0u);
}

TEST(TransferStats, LongConnectionsDivideByWholeSeconds) {
  TransferStats stats;
  stats.Add({3999, 9000, 0});  // 3 whole seconds
  EXPECT_EQ(stats.Rate(), 3000u);
  TransferStats first;
  first.Add({0, 0, 0});
  EXPECT_EQ(first.Rate(), 0u);
  first.Add({2000, 3, 0});
  EXPECT_EQ(first.Rate(), 0u) << "(1 + 0) >> 1: a shown rate of 0 still counts";
}

TEST(ServerTexts, ErrorBodyAndLogLine) {
  EXPECT_EQ(ErrorBody(HttpStatus::ServiceUnavailable), "<body><h1>503 Service Unavailable</h1></body>");
  EXPECT_STREQ(StatusText(HttpStatus::Ok), "200 OK");
  EXPECT_STREQ(StatusText(HttpStatus::NotModified), "304 Not Modified");
  EXPECT_EQ(LogLine(9, 5, 7, 42, "Virtual Server Stopped"), "09:05:07.042\tVirtual Server Stopped");
}
