// The path operations on text alone: the parts of a path, joining, depth and shortening.
#include <gtest/gtest.h>

#include <string>

#include "setupcore/PathText.h"

using namespace setupcore;

namespace {
// One pixel a character: the shortening steps can be read off the lengths.
int CharacterWidth(const std::string& text) { return static_cast<int>(text.size()); }
}  // namespace

TEST(PathParts, DirectoryNameAndExtension) {
  EXPECT_EQ(DirectoryPart("C:\\WINDOWS\\WIN.INI"), "C:\\WINDOWS\\");
  EXPECT_EQ(DirectoryPart("C:WIN.INI"), "C:");
  EXPECT_EQ(DirectoryPart("WIN.INI"), "");
  EXPECT_EQ(NamePart("C:\\WINDOWS\\WIN.INI"), "WIN.INI");
  EXPECT_EQ(NamePart("C:WIN.INI"), "WIN.INI");
  EXPECT_EQ(NamePart("C:\\WINDOWS\\"), "");
  EXPECT_EQ(NamePart("a/b"), "a/b");  // a forward slash is no separator
  EXPECT_EQ(NamePart(std::string(300, 'n')), std::string(255, 'n'));
  // Code page 932: 97 5C is one character, whose second byte separates nothing.
  TCodePage japanese = WesternCodePage();
  for (int c = 0x81; c <= 0xFC; ++c) japanese.lead[c] = c <= 0x9F || c >= 0xE0;
  EXPECT_EQ(DirectoryPart("C:\\\x97\x5C", japanese), "C:\\");
  EXPECT_EQ(NamePart("C:\\a\\\x97\x5C", japanese), "\x97\x5C");
  EXPECT_EQ(NamePart("C:\\a\\\x97\x5C"), "");
  EXPECT_EQ(ExtensionPart("archive.tar.exe"), ".exe");
  EXPECT_EQ(ExtensionPart("README"), "");
  EXPECT_EQ(ExtensionPart("dir.d\\README"), "");
  EXPECT_EQ(ExtensionPart("name."), ".");
  EXPECT_EQ(ExtensionPart("a." + std::string(300, 'e')).size(), 255u);
}

TEST(PathParts, JoinAddsOneBackslashWhereNeededAndDepthCountsThem) {
  EXPECT_EQ(JoinPath("C:\\", "X"), "C:\\X");
  EXPECT_EQ(JoinPath("C:\\A", "X"), "C:\\A\\X");
  EXPECT_EQ(PathDepth("C:\\"), 1);
  EXPECT_EQ(PathDepth("C:\\WINDOWS\\SYSTEM"), 2);
  EXPECT_EQ(PathDepth("C:"), 0);
}

// Narrowing drops the leading directories in turn; a path without a drive or directory too.
TEST(FitPath, NarrowingDropsLeadingDirectoriesInTurn) {
  const std::string drivers = "C:\\WINDOWS\\SYSTEM\\DRIVERS", name = "\\A\\B\\name";
  const struct {
    std::string path;
    int widest;
    const char* text;
  } rows[] = {
      {drivers, 25, "C:\\WINDOWS\\SYSTEM\\DRIVERS"}, {drivers, 24, "C:\\...\\SYSTEM\\DRIVERS"},
      {drivers, 20, "C:\\...\\DRIVERS"}, {drivers, 13, "...\\DRIVERS"}, {drivers, 10, "DRIVERS"},
      {drivers, 0, "DRIVERS"}, {name, 9, "\\A\\B\\name"}, {name, 8, "...\\name"}, {name, 0, "name"},
      {"C:name", 4, "name"}, {"C:\\", 0, ""}, {"longname", 0, "longname"},
  };
  for (const auto& r : rows)
    EXPECT_EQ(FitPathToWidth(r.path, CharacterWidth, r.widest), r.text) << r.path << " at " << r.widest;
}

TEST(FitPath, DroppingOneLeadingDirectory) {
  EXPECT_EQ(DropLeadingDirectory("\\"), "");
  EXPECT_EQ(DropLeadingDirectory("\\A\\B\\"), "\\...\\B\\");
  EXPECT_EQ(DropLeadingDirectory("\\...\\B\\"), "\\...\\");
  EXPECT_EQ(DropLeadingDirectory("...\\"), "");
  EXPECT_EQ(DropLeadingDirectory("A\\B\\"), "...\\B\\");
}
