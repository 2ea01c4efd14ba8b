#include "list_file_name.h"

#include <gtest/gtest.h>

#include "cp932_locale.h"

namespace {

ListFileName Make(std::string_view typed, std::string_view folder = "C:\\trips") {
  return MakeListFileName(folder, typed, JapaneseLocale());
}

TEST(ListFileName, AddsTheExtensionWhenMissing) {
  EXPECT_EQ(Make("TRIP").fullPath, "C:\\trips\\TRIP.lst");
  EXPECT_EQ(Make("TRIP", "C:\\").fullPath, "C:\\TRIP.lst");
  const ListFileName upper = Make("trip.LST");
  EXPECT_EQ(upper.check, ListNameCheck::Accepted);
  EXPECT_EQ(upper.fullPath, "C:\\trips\\trip.LST");
  EXPECT_EQ(Make("a.b").fullPath, "C:\\trips\\a.b.lst");
  // A blank at the end stays in the base name; leading blanks are trimmed.
  const ListFileName blank = Make("TRIP ");
  EXPECT_EQ(blank.check, ListNameCheck::Accepted);
  EXPECT_EQ(blank.name, "TRIP .lst");
  EXPECT_EQ(Make(" TRIP").fullPath, "C:\\trips\\TRIP.lst");
  EXPECT_EQ(Make(".lst").check, ListNameCheck::Accepted);  // an empty base name passes
}

TEST(ListFileName, ChecksCharactersBeforeLengthAndAsciiAfter) {
  const ListFileName longName = Make("longname9");
  EXPECT_EQ(longName.check, ListNameCheck::NotEightDotThree);
  EXPECT_EQ(longName.name, "longname9.lst");
  EXPECT_EQ(Make("eightchr").check, ListNameCheck::Accepted);
  for (const char *typed : {"a:much too long a name", "a/b", "a\\b", "x*", "x?", "\"x\"", "<x", "x>", "x|y"}) {
    EXPECT_EQ(Make(typed).check, ListNameCheck::ForbiddenCharacter) << typed;
  }
  EXPECT_EQ(Make("\x82\x60").check, ListNameCheck::NotAscii);       // full-width A
  EXPECT_EQ(Make("\x83\x5C" "a").check, ListNameCheck::NotAscii);   // its trail byte is not a backslash
  EXPECT_EQ(Make("caf\xA6").check, ListNameCheck::NotAscii);      // a half-width katakana byte
  EXPECT_EQ(MakeListFileName("C:\\trips", "caf\xE9", WesternLocale()).check, ListNameCheck::NotAscii);
}

TEST(ListFileName, FolderEndingInADoubleByteCharacterGetsItsBackslash) {
  const TextLocale locale = JapaneseLocale();
  EXPECT_TRUE(EndsWithBackslash("C:\\", locale));
  EXPECT_FALSE(EndsWithBackslash("C:\\\x95\x5C", locale));  // the trail byte of a kanji
  EXPECT_EQ(Make("TRIP", "C:\\\x95\x5C").fullPath, "C:\\\x95\x5C\\TRIP.lst");
}

}  // namespace
