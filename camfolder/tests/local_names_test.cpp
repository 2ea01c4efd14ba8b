// Local names of camera names: what the PC's file system would take for
// another name, or for a device, never reaches it.
#include <gtest/gtest.h>

#include "core/item_names.h"
#include "core/local_names.h"

namespace {

TEST(LocalNames, DevicesAreKnownWithOrWithoutExtension) {
  for (const char *device : {"CON", "con", "PRN", "AUX", "NUL", "NUL.JPG", "nul.txt", "COM1", "COM9.JPG", "LPT1",
                             "lpt9.bmp", "CON .JPG", "AUX.tar.gz"})
    EXPECT_TRUE(IsDeviceName(device)) << device;
  for (const char *name : {"CONS", "COM0", "COM10", "LPT", "NULL.JPG", "ACON.JPG", "COM", "R0010001.JPG", ""})
    EXPECT_FALSE(IsDeviceName(name)) << name;
}

TEST(LocalNames, SafeNamesNeverReachADeviceOrLoseTheirEnd) {
  EXPECT_EQ(SafeLocalName("R0010001.JPG"), "R0010001.JPG");
  EXPECT_EQ(SafeLocalName("NUL.JPG"), "_NUL.JPG");
  EXPECT_EQ(SafeLocalName("com1.jpg"), "_com1.jpg");
  EXPECT_EQ(SafeLocalName("A.JPG."), "A.JPG");
  EXPECT_EQ(SafeLocalName("A.JPG . "), "A.JPG");
  EXPECT_EQ(SafeLocalName("CON."), "_CON");  // the dot gone, still a device
  EXPECT_EQ(SafeLocalName("..."), "_");
  EXPECT_EQ(SafeLocalName("A?B*.JPG"), "A_B_.JPG");
  EXPECT_EQ(SafeLocalName(std::string("A\tB.JPG")), "A_B.JPG");
  for (const char *unusable : {"", ".", "..", "A/B", "..\\X", "C:X"}) EXPECT_FALSE(SafeLocalName(unusable)) << unusable;
}

TEST(LocalNames, NamesThePcTakesForOneGetNamesOfTheirOwn) {
  LocalNameSet names;
  EXPECT_EQ(names.Take("A.JPG"), "A.JPG");
  EXPECT_EQ(names.Take("a.jpg"), "a (2).jpg");    // only the case differs
  EXPECT_EQ(names.Take("A.JPG."), "A (3).JPG");   // Windows drops the trailing dot
  EXPECT_EQ(names.Take("A (2).JPG"), "A (2) (2).JPG");
  EXPECT_EQ(names.Take("NOEXT"), "NOEXT");
  EXPECT_EQ(names.Take("noext "), "noext (2)");
  EXPECT_EQ(names.Take(".hidden"), ".hidden");
  EXPECT_EQ(names.Take(".HIDDEN"), ".HIDDEN (2)");
  EXPECT_FALSE(names.Take(".."));
}

TEST(LocalNames, ProgramsAreKnownByTheirType) {
  for (const char *program : {"SETUP.EXE", "run.bat", "X.CMD", "PHOTO.JPG.EXE", "A.SCR", "A.LNK", "A.VBS", "A.js"})
    EXPECT_TRUE(IsProgramName(program)) << program;
  for (const char *name : {"R0010001.JPG", "EXE", "A.EXE.JPG", "MEMO.TXT", "A."}) EXPECT_FALSE(IsProgramName(name));
}

TEST(LocalNames, OpenedCopiesOfDifferentCameraFilesNeverShareAPath) {
  const auto upper = OpenedCopyPath("C:\\T", "0:/DCIM/A.JPG", "A.JPG");
  const auto lower = OpenedCopyPath("C:\\T", "0:/DCIM/a.jpg", "a.jpg");
  const auto again = OpenedCopyPath("C:\\T", "0:/DCIM/A.JPG", "A.JPG");
  ASSERT_TRUE(upper && lower);
  EXPECT_NE(upper->substr(0, upper->rfind('\\')), lower->substr(0, lower->rfind('\\')));
  EXPECT_EQ(upper, again);  // the same file always has the same copy
  EXPECT_EQ(OpenedCopyPath("C:\\T", "0:/X/NUL.JPG", "NUL.JPG")->substr(14), "\\_NUL.JPG");
  EXPECT_FALSE(OpenedCopyPath("C:\\T", "0:/X/..", ".."));
}

}  // namespace
