// The rolling log's buffer and the names of kept earlier uploads.
#include <gtest/gtest.h>

#include <string>

#include "uploadd/backup_name.h"
#include "uploadd/rolling_log_buffer.h"

namespace {

TEST(RollingLogBuffer, EndsLinesWithCrLfOnce) {
  RollingLogBuffer log;
  log.Append("->(1) USER anonymous");
  log.Append("<-(1) 221 Good-bye.\r\n");
  log.Append("x");  // shorter than two characters: kept as it is
  EXPECT_EQ(log.Contents(), "->(1) USER anonymous\r\n<-(1) 221 Good-bye.\r\nx");
}

TEST(RollingLogBuffer, DropsOldestWholeLinesToStayBelowCapacity) {
  RollingLogBuffer log;
  std::string loaded;
  for (int i = 0; i < 20; ++i) loaded += std::string(98, static_cast<char>('a' + i)) + "\r\n";  // 2,000 bytes
  log.Load(loaded);
  log.Append(std::string(98, 'z'));  // 100 bytes with CR LF
  const std::string &contents = log.Contents();
  EXPECT_LT(contents.size(), RollingLogBuffer::kCapacity);
  EXPECT_EQ(contents.size(), 2000u);  // exactly one 100-byte line went
  EXPECT_EQ(contents.substr(0, 3), "bbb");
  EXPECT_EQ(contents.substr(contents.size() - 100), std::string(98, 'z') + "\r\n");
}

TEST(RollingLogBuffer, ManyLinesKeepOnlyWholeRecentLines) {
  RollingLogBuffer log;
  for (int i = 0; i < 1000; ++i) log.Append("line " + std::to_string(i));
  const std::string &contents = log.Contents();
  EXPECT_LT(contents.size(), RollingLogBuffer::kCapacity);
  EXPECT_EQ(contents.substr(0, 5), "line ");
  EXPECT_EQ(contents.substr(contents.size() - 10), "line 999\r\n");
}

TEST(RollingLogBuffer, LongLinesAreCutNeverOverflow) {
  RollingLogBuffer log;
  log.Append("->(1) " + std::string(1024, 'x'));
  EXPECT_EQ(log.Contents().size(), RollingLogBuffer::kMaxLineText + 2);
  EXPECT_EQ(log.Contents().substr(log.Contents().size() - 2), "\r\n");
  log.Append(std::string(253, 'y') + "\r\n");  // fits exactly
  EXPECT_EQ(log.Contents().size(), 2 * (RollingLogBuffer::kMaxLineText + 2));
}

TEST(RollingLogBuffer, LoadKeepsOnlyTheFirst2048Bytes) {
  RollingLogBuffer log;
  log.Load(std::string(5000, 'q'));
  EXPECT_EQ(log.Contents().size(), RollingLogBuffer::kCapacity);
  log.Append("new line");  // no LF to cut at: everything old goes
  EXPECT_EQ(log.Contents(), "new line\r\n");
}

TEST(BackupName, NumberGoesBeforeTheExtension) {
  EXPECT_EQ(BackupName("C:\\up\\IMG0001.JPG", 1), "C:\\up\\IMG0001-001.JPG");
  EXPECT_EQ(BackupName("C:\\up\\IMG0001.JPG", 999), "C:\\up\\IMG0001-999.JPG");
  EXPECT_EQ(BackupName("C:\\up\\IMG0001.JPG", 1000), "C:\\up\\IMG0001-1000.JPG");
  EXPECT_EQ(BackupName("C:\\up\\IMG0001.JPG", 4294967295u), "C:\\up\\IMG0001-4294967295.JPG");
  EXPECT_EQ(BackupName("C:\\up.d\\README", 12), "C:\\up.d\\README-012");
  EXPECT_EQ(BackupName("C:\\up\\a.tar.gz", 2), "C:\\up\\a.tar-002.gz");
  EXPECT_EQ(BackupName("C:\\up\\.profile", 3), "C:\\up\\-003.profile");
  EXPECT_EQ(FolderOf("C:\\up\\a.jpg"), "C:\\up\\");
  EXPECT_EQ(FolderOf("a.jpg"), "");
}

}  // namespace
