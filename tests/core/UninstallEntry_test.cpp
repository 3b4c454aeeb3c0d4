// Which entry of the list of installed programs is this installation's own, and its size.
#include <gtest/gtest.h>

#include "setupcore/UninstallEntry.h"

using namespace setupcore;

TEST(UninstallEntry, AnEntryIsOursWhenItsUninstallStringStartsThisRemoveExe) {
  const std::string self = "C:\\Program Files\\W\\remove.exe";
  for (const char* yes : {"\"C:\\Program Files\\W\\remove.exe\"", "\"c:\\program files\\w\\REMOVE.EXE\" /VERYSILENT",
                          "  \"C:\\Program Files\\W\\remove.exe\""})
    EXPECT_TRUE(NamesUninstaller(yes, self)) << yes;
  for (const char* no : {"C:\\Program Files\\W\\remove.exe", "\"C:\\Program Files\\W2\\remove.exe\"",
                         "\"C:\\Program Files\\W\\remove.exe", "", "\"C:\\Program Files\\W\"\\remove.exe"})
    EXPECT_FALSE(NamesUninstaller(no, self)) << no;
  EXPECT_TRUE(NamesUninstaller("C:\\W\\remove.exe /SILENT", "c:\\w\\remove.exe"));
  // Both ends of the letters fold, in ASCII and in the Western ANSI letters; the signs do not.
  EXPECT_TRUE(NamesUninstaller("\"c:\\z\xFE\\remove.exe\"", "C:\\Z\xDE\\REMOVE.EXE"));
  EXPECT_FALSE(NamesUninstaller("\"c:\\\xF7\\remove.exe\"", "c:\\\xD7\\remove.exe"));
}

TEST(UninstallEntry, AKeyNameIsOneKeyOfAtMost255CharactersNotAllBlank) {
  for (const std::string& name : {std::string("Widget 2.0"), std::string(255, 'k')})
    EXPECT_TRUE(IsUsableKeyName(name)) << name;
  for (const std::string& name : {std::string(), std::string(256, 'k'), std::string("a\\b"),
                                  std::string("a\x1F"), std::string("  ")})
    EXPECT_FALSE(IsUsableKeyName(name)) << name;
}

TEST(UninstallEntry, TheSizeIsInWholeKilobytesRoundedUp) {
  EXPECT_EQ(SizeInKilobytes(0), 0ul);
  EXPECT_EQ(SizeInKilobytes(1), 1ul);
  EXPECT_EQ(SizeInKilobytes(4096), 4ul);
  EXPECT_EQ(SizeInKilobytes(4097), 5ul);
  EXPECT_EQ(SizeInKilobytes(1ull << 50), 0xFFFFFFFFul);
}
