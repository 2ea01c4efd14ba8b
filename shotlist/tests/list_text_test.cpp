#include "list_text.h"

#include <gtest/gtest.h>

#include "cp932_locale.h"

namespace {

const TextLocale kJapanese = JapaneseLocale();
const TextLocale kWestern = WesternLocale();

TEST(NormalizeListText, WidensHalfWidthKatakanaOnJapaneseSystems) {
  const std::string six = "\xB1\xB2\xB3\xB4\xB5\xB6";  // A I U E O KA
  EXPECT_EQ(NormalizeListText(six, kJapanese), "\x83\x41\x83\x43\x83\x45\x83\x47\x83\x49\x83\x4A");
  EXPECT_EQ(ConvertCutTitle(six + "\xB7", kJapanese), ConvertCutTitle(six, kJapanese));  // the seventh is dropped
  EXPECT_EQ(NormalizeListText("\xB6\xDE", kJapanese), "\x83\x4B");          // KA + voiced mark = GA
  EXPECT_EQ(NormalizeListText("\xB3\xDE", kJapanese), "\x83\x94");          // U + voiced mark = VU
  EXPECT_EQ(NormalizeListText("\xCA\xDF", kJapanese), "\x83\x70");          // HA + semi-voiced mark = PA
  EXPECT_EQ(NormalizeListText("\xB1\xDE", kJapanese), "\x83\x41\x81\x4A");  // A has no voiced form
  EXPECT_EQ(NormalizeListText("\xB6\xDF", kJapanese), "\x83\x4A\x81\x4B");  // KA has no semi-voiced form
  EXPECT_EQ(NormalizeListText("\xA1\xA2\xB0", kJapanese), "\x81\x42\x81\x75\x81\x5B");
}

TEST(NormalizeListText, KeepsDoubleByteCharactersWhole) {
  EXPECT_EQ(NormalizeListText("\xFA\x57\xFA\x56", kJapanese), "\x81\x56\x81\x66");
  // A trail byte in the katakana range stays with its lead byte; the mark after it stands alone.
  EXPECT_EQ(NormalizeListText("\x83\xB6\xDE", kJapanese), "\x83\xB6\x81\x4A");
  EXPECT_EQ(NormalizeListText("A\x88", kJapanese), "A\x88");  // lone lead byte at the end
  EXPECT_EQ(NormalizeListText("\x80\xA0\xFD", kJapanese), "\xFF\xFF\xFF\xFF\xFF\xFF");
}

TEST(NormalizeListText, DropsControlCodesAndLeavesOtherSystemsAlone) {
  EXPECT_EQ(NormalizeListText(" \"Cut\"\t#1\r\n~\x7F", kJapanese), " \"Cut\"#1~\x7F");
  EXPECT_EQ(ConvertCutTitle("\r\n\t\x01", kJapanese), "");
  EXPECT_EQ(NormalizeListText("\xB6\xDE\xE9\xFF", kWestern), "\xB6\xDE\xE9\xFF");
  const TextLocale japaneseCodePageOnly{kJapanese.isLeadByte, 0x0409};
  EXPECT_EQ(NormalizeListText("\xB6\xDE", japaneseCodePageOnly), "\xB6\xDE");
}

TEST(TruncateMbcs, CutsAtTheLimitWithoutSplittingCharacters) {
  EXPECT_EQ(PrepareTitle(std::string(20, 'T'), 32, kListTitleLimit, kWestern), std::string(16, 'T'));
  EXPECT_EQ(ConvertCutTitle(std::string(13, 'C'), kWestern), std::string(12, 'C'));
  std::string mixed = std::string(11, 'a') + "\x82\xA0";
  TruncateMbcs(mixed, 12, kJapanese);
  EXPECT_EQ(mixed, std::string(11, 'a'));
  std::string loneLead = "ab\x88";
  TruncateMbcs(loneLead, 12, kJapanese);
  EXPECT_EQ(loneLead, "ab\x88");
  TruncateMbcs(loneLead, 3, kJapanese);
  EXPECT_EQ(loneLead, "ab");
}

TEST(ListText, ComparesAndSplitsOnCharacterBoundaries) {
  EXPECT_TRUE(EqualsNoCase("Cut One", "cUT oNE", kJapanese));
  // Full-width A (83 41) and DI (83 61) differ only in a trail byte's "case".
  EXPECT_FALSE(EqualsNoCase("\x83\x41", "\x83\x61", kJapanese));
  // 0x95 0x5C is one character whose trail byte is a backslash.
  EXPECT_EQ(DriveAndFolder("C:\\\x95\x5C\\list.lst", kJapanese), "C:\\\x95\x5C\\");
  EXPECT_EQ(DriveAndFolder("C:\\dir\\a\x95\x5C" "b.lst", kJapanese), "C:\\dir\\");
  EXPECT_EQ(DriveAndFolder("C:list.lst", kWestern), "C:");
  EXPECT_EQ(PathExtension("C:\\pics.d\\IMG_1", kWestern), "");
}

}  // namespace
