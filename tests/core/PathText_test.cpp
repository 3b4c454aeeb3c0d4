// The path operations on text alone: the parts of a path, joining, depth and shortening.
#include <gtest/gtest.h>

#include <string>
#include <utility>

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

TEST(FitPath, NarrowingDropsLeadingDirectoriesInTurn) {
  const std::string path = "C:\\WINDOWS\\SYSTEM\\DRIVERS";
  const std::pair<int, const char*> steps[] = {
      {25, "C:\\WINDOWS\\SYSTEM\\DRIVERS"}, {24, "C:\\...\\SYSTEM\\DRIVERS"},
      {20, "C:\\...\\DRIVERS"}, {13, "...\\DRIVERS"}, {10, "DRIVERS"}, {0, "DRIVERS"}};
  for (const auto& [widest, text] : steps)
    EXPECT_EQ(FitPathToWidth(path, CharacterWidth, widest), text) << widest;
}

TEST(FitPath, PathsWithoutADriveOrDirectory) {
  EXPECT_EQ(FitPathToWidth("\\A\\B\\name", CharacterWidth, 9), "\\A\\B\\name");
  EXPECT_EQ(FitPathToWidth("\\A\\B\\name", CharacterWidth, 8), "...\\name");
  EXPECT_EQ(FitPathToWidth("\\A\\B\\name", CharacterWidth, 0), "name");
  EXPECT_EQ(FitPathToWidth("C:name", CharacterWidth, 4), "name");
  EXPECT_EQ(FitPathToWidth("C:\\", CharacterWidth, 0), "");
  EXPECT_EQ(FitPathToWidth("longname", CharacterWidth, 0), "longname");
}

TEST(FitPath, DroppingOneLeadingDirectory) {
  EXPECT_EQ(DropLeadingDirectory("\\"), "");
  EXPECT_EQ(DropLeadingDirectory("\\A\\B\\"), "\\...\\B\\");
  EXPECT_EQ(DropLeadingDirectory("\\...\\B\\"), "\\...\\");
  EXPECT_EQ(DropLeadingDirectory("...\\"), "");
  EXPECT_EQ(DropLeadingDirectory("A\\B\\"), "...\\B\\");
}
