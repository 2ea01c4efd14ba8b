// Size texts, the message of each camera result, and the stored settings.
#include <gtest/gtest.h>

#include "core/camera_messages.h"
#include "core/connection_settings.h"
#include "core/size_text.h"
#include "core/text_format.h"

namespace {

std::string Text(uint64_t value) {
  static const char *const kUnits[] = {" bytes", "KB", "MB", "GB"};
  const SizeTextParts parts = SplitSizeText(value);
  return parts.number + kUnits[parts.unit];
}

TEST(SizeText, UnitsAndDigits) {
  EXPECT_EQ(Text(0), "0 bytes");
  EXPECT_EQ(Text(999), "999 bytes");
  EXPECT_EQ(Text(1000), "0.97KB");
  EXPECT_EQ(Text(1500), "1.46KB");
  EXPECT_EQ(Text(102399), "99.9KB");
  EXPECT_EQ(Text(102400), "100KB");
  EXPECT_EQ(Text(200000), "195KB");
  EXPECT_EQ(Text(1023999), "999KB");
  EXPECT_EQ(Text(1024000), "0.97MB");
  EXPECT_EQ(Text(2000000), "1.90MB");
  EXPECT_EQ(Text(0xFFFFFFFFu), "3.99GB");
  EXPECT_EQ(Text(5'000'000'000'000ull), "4656GB");  // totals beyond stay in gigabytes
}

// The formats are resources: whatever they ask for, they only take the
// values given, in order, and a value is never read as a format.
TEST(FormatText, FillsDirectivesInOrderAndNeverReadsValuesAsFormats) {
  using camfolder::FormatText;
  EXPECT_EQ(FormatText(L"%s (%d:)", {L"CF", L"1"}), L"CF (1:)");
  EXPECT_EQ(FormatText(L"%-3d .  %-3d", {L"192", L"7"}), L"192 .  7  ");
  EXPECT_EQ(FormatText(L"[%4s]", {L"ab"}), L"[  ab]");
  EXPECT_EQ(FormatText(L"'%s'", {L"100%s%d%%"}), L"'100%s%d%%'");
  EXPECT_EQ(FormatText(L"%s and %s", {L"one"}), L"one and ");  // more asked than given
  EXPECT_EQ(FormatText(L"%s", {L"one", L"two"}), L"one");
  EXPECT_EQ(FormatText(L"50%% %x %", {}), L"50% %x %");  // unknown directives stay as written
}

// A failed open shows the codes that have their own message there, and the
// internal error for every other one; a declined wait shows nothing more.
TEST(CameraMessages, AFailedOpenShowsItsOwnCodesAndTheInternalErrorForTheRest) {
  for (const uint32_t own : {0x8F48u, 0x8F9Bu, 0x8FFDu, 0x8FFEu, 0xFF48u, 0xFF4Au, 0xFF68u, 0xFF87u, 0x00038F9Bu})
    EXPECT_EQ(OpenFailureShown(own), own) << std::hex << own;
  for (const uint32_t other : {0xFF4Bu, 0xFE07u, 0x8FFFu, 0xFFFFu, 0x8F07u, 0x12345678u})
    EXPECT_EQ(OpenFailureShown(other), 0xFFFFu) << std::hex << other;
  EXPECT_EQ(OpenFailureShown(0x8F61), 0u);
  EXPECT_EQ(MessageForResult(OpenFailureShown(0xFE07)).message, kInternalErrorMessage);
}

TEST(CameraMessages, EveryResultHasItsMessageAndIcon) {
  const struct {
    uint32_t result;
    int message;
    MessageIcon icon;
  } table[] = {
      {0x8F07, 20014, MessageIcon::kWarning}, {0x8F09, 20015, MessageIcon::kWarning},
      {0x8F11, 20010, MessageIcon::kWarning}, {0x8F45, 20018, MessageIcon::kWarning},
      {0x8F48, 20006, MessageIcon::kError},   {0x8F9B, 20002, MessageIcon::kWarning},
      {0xFF4B, 20002, MessageIcon::kWarning}, {0x8FFD, 20000, MessageIcon::kError},
      {0x8FFE, 20001, MessageIcon::kError},   {0xFE08, 20017, MessageIcon::kWarning},
      {0xFE09, 20013, MessageIcon::kWarning}, {0xFE0F, 20011, MessageIcon::kWarning},
      {0xFE11, 20008, MessageIcon::kWarning}, {0xFE12, 20009, MessageIcon::kWarning},
      {0xFE15, 20016, MessageIcon::kWarning}, {0xFF45, 20012, MessageIcon::kWarning},
      {0xFF48, 20005, MessageIcon::kError},   {0xFF68, 20003, MessageIcon::kWarning},
      {0xFF87, 20004, MessageIcon::kError},   {0x8FFF, 29999, MessageIcon::kError},
      {0xFFFF, 29999, MessageIcon::kError},   {0xFF4A, 29999, MessageIcon::kError},
      {0x00048F07, 20014, MessageIcon::kWarning},  // the detail word does not matter
      {20012, 20012, MessageIcon::kWarning},  {29999, 29999, MessageIcon::kWarning},
  };
  for (const auto &row : table) {
    const CameraMessage message = MessageForResult(row.result);
    EXPECT_EQ(message.message, row.message) << std::hex << row.result;
    EXPECT_EQ(message.icon, row.icon) << std::hex << row.result;
  }
  for (uint32_t silent : {0x0u, 0x8F61u, 0xFF61u, 0x00010000u}) {
    EXPECT_EQ(MessageForResult(silent).message, 0) << std::hex << silent;
    EXPECT_EQ(MessageForResult(silent).returned, 0);
  }
  EXPECT_EQ(MessageForResult(0xFE07).message, 0);
  EXPECT_EQ(MessageForResult(0xFE07).returned, 20007);
}

TEST(CameraMessages, ConnectionClassResults) {
  for (uint32_t code : {0x8F48u, 0x8F9Bu, 0xFF48u, 0xFF4Bu, 0xFF68u, 0x00078F9Bu})
    EXPECT_TRUE(IsConnectionClassFailure(code)) << std::hex << code;
  for (uint32_t code : {0x0u, 0x8F07u, 0xFF87u, 0xFFFFu, 0x8FFFu})
    EXPECT_FALSE(IsConnectionClassFailure(code)) << std::hex << code;
}

TEST(ConnectionSettings, DevicesAndAddresses) {
  EXPECT_EQ(DeviceNumber("USB"), 0);
  EXPECT_EQ(DeviceNumber("LAN"), 1);
  EXPECT_EQ(DeviceNumber("COM9"), 10);
  EXPECT_EQ(DeviceNumber("COM10"), -1);
  EXPECT_EQ(ParseIpAddress("127.0.0.1"), 0x7F000001u);
  EXPECT_EQ(ParseIpAddress("192.168.10.255"), 0xC0A80AFFu);
  for (const char *bad : {"", "1.2.3", "1.2.3.4.5", "256.0.0.1", "1..2.3", "a.b.c.d", "1.2.3.4 ", "00001.2.3.4"})
    EXPECT_FALSE(ParseIpAddress(bad)) << bad;
  EXPECT_EQ(FormatIpAddress(0x7F000001), "127.0.0.1");
  EXPECT_EQ(FormatIpAddress(0xFFFFFFFF), "255.255.255.255");
}

}  // namespace
