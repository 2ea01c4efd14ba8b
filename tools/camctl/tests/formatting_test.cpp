#include <gtest/gtest.h>

#include <cstring>

#include "attributes.h"
#include "connection_choice.h"
#include "exit_codes.h"
#include "output_format.h"
#include "result_text.h"

namespace {

TEST(Formatting, ListingLineShowsAttributesDateSizeAndName) {
  tagZLXFILEINFO entry{};
  std::strcpy(entry.name, "100LUMO01");
  entry.attributes = 0x10;
  entry.time = {59, 59, 23, 31, 11, 99, 5, 364, 0};
  EXPECT_EQ(FormatListingLine(entry), "d----  1999-12-31 23:59:59           0  100LUMO01/");
  std::strcpy(entry.name, "LUMO0001.JPG");
  entry.attributes = 0x21;
  entry.size = 4294967295u;
  entry.time = {0, 5, 9, 2, 0, 126, 0, 0, 0};
  EXPECT_EQ(FormatListingLine(entry), "-r--a  2026-01-02 09:05:00  4294967295  LUMO0001.JPG");
  // A name field without its terminating zero stops at the field's end.
  std::memset(entry.name, 'N', sizeof entry.name);
  EXPECT_EQ(FieldText(entry.name, sizeof entry.name).size(), sizeof entry.name);
}

TEST(Formatting, DrivesModelsSizesAndStamps) {
  tagZLXDRIVELISTENTRY drive{};
  drive.number = 1;
  std::strcpy(drive.name, "CF");
  drive.present = 1;
  const tagZLXDRIVEINFO info{64000000, 1234};
  EXPECT_EQ(FormatDriveLine(drive, &info), "1      CF            yes            64000000            1234");
  drive.present = 0;
  EXPECT_EQ(FormatDriveLine(drive, nullptr), "1      CF            no                    -               -");
  EXPECT_EQ(ModelName(1), "LumoK20");
  EXPECT_EQ(ModelName(2), "LumoK10");
  EXPECT_EQ(FormatByteSize(1023), "1023 bytes");
  EXPECT_EQ(FormatByteSize(1536), "1.5 KiB");
  EXPECT_EQ(FormatByteSize(32ull << 20), "32.0 MiB");
  EXPECT_EQ(FormatStampSizeLine(3, tagZLXSTAMPSIZEENTRY{640, 480, 307200}), "3    640    480      307200");
}

TEST(Formatting, AttributeTexts) {
  EXPECT_EQ(FormatAttributes(0x37), "drhsa");
  uint32_t result = 0;
  std::string error;
  ASSERT_TRUE(ApplyAttributeText("ra", 0x02, result, error));
  EXPECT_EQ(result, 0x21u);
  ASSERT_TRUE(ApplyAttributeText("+r-a", 0x30, result, error));  // the folder bit stays
  EXPECT_EQ(result, 0x11u);
  ASSERT_TRUE(ApplyAttributeText("0x21", 0x10, result, error));
  EXPECT_EQ(result, 0x31u);
  ASSERT_TRUE(ApplyAttributeText("-", 0x27, result, error));
  EXPECT_EQ(result, 0u);
  ASSERT_TRUE(ApplyAttributeText("16", 0, result, error));  // the folder bit cannot be set
  EXPECT_EQ(result, 0u);
  for (const char *bad : {"", "rx", "r+a", "0x100", "12z", "+", "+-"})
    EXPECT_FALSE(ApplyAttributeText(bad, 0, result, error)) << bad;
}

TEST(Formatting, ResultLinesAndExitCodes) {
  EXPECT_EQ(ResultErrorLine("cannot list 0:/X/", 0xFE07),
            "camctl: cannot list 0:/X/: error 0xFE07 (the drive, folder or file does not exist)");
  EXPECT_EQ(DescribeResult(0x0080FE07), "0xFE07 (detail 0x0080) (the drive, folder or file does not exist)");
  EXPECT_NE(ResultErrorLine("cannot open", 0xFF4B).find("; check the camera address"), std::string::npos);
  EXPECT_EQ(ResultErrorLine("x", 0x8F07, "use --replace"),
            "camctl: x: error 0x8F07 (an item with the given name already exists); use --replace");
  EXPECT_EQ(ExitCodeForResult(0x00120000), kExitSuccess);  // the detail word alone is no error
  EXPECT_EQ(ExitCodeForResult(0xFE07), kExitCameraError);
  EXPECT_EQ(ExitCodeForResult(0xFF61), kExitCancelled);
  EXPECT_EQ(ExitCodeForResult(0x8F61), kExitCancelled);
  EXPECT_EQ(ExitCodeForResult(0xFF4B), kExitNoConnection);
  EXPECT_EQ(ExitCodeForResult(0x8F9B), kExitNoConnection);
}

TEST(Formatting, ConnectionChoices) {
  ConnectionChoice choice;
  std::string error;
  ASSERT_TRUE(ParseConnectionChoice({"lan", "10.0.0.5"}, choice, error));
  EXPECT_EQ(choice.device, "LAN");
  EXPECT_EQ(choice.address, "10.0.0.5");
  ASSERT_TRUE(ParseConnectionChoice({"COM3"}, choice, error));
  EXPECT_EQ(choice.address, "127.0.0.1");
  ASSERT_TRUE(ParseConnectionChoice({"usb"}, choice, error));
  EXPECT_EQ(choice.device, "USB");
  EXPECT_FALSE(ParseConnectionChoice({"LAN"}, choice, error));
  EXPECT_FALSE(ParseConnectionChoice({"COM0"}, choice, error));
  EXPECT_FALSE(ParseConnectionChoice({"COM10"}, choice, error));
  EXPECT_FALSE(ParseConnectionChoice({"LAN", "10.0.0"}, choice, error));
}

}  // namespace
