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
}

TEST(UninstallEntry, TheSizeIsInWholeKilobytesRoundedUp) {
  EXPECT_EQ(SizeInKilobytes(0), 0ul);
  EXPECT_EQ(SizeInKilobytes(1), 1ul);
  EXPECT_EQ(SizeInKilobytes(4096), 4ul);
  EXPECT_EQ(SizeInKilobytes(4097), 5ul);
  EXPECT_EQ(SizeInKilobytes(1ull << 50), 0xFFFFFFFFul);
}
