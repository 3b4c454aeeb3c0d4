// The setup script read from real files; what its lines mean is tested with the core.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "engine/ScriptStore.h"
#include "support/Files.h"
#include "support/Wait.h"
#include "platform/Errors.h"

namespace {
using Lines = std::vector<std::string>;

Lines LinesOf(const TScriptStore& store) {
  Lines out;
  for (int i = 0; i < store.Count(); ++i) out.push_back(store.Line(i));
  return out;
}

class ScriptLoading : public ::testing::Test {
protected:
  Lines LoadBytes(const std::string& bytes) {
    WriteFileBytes(dir / "setup.ini", bytes);
    store.Load(dir / "setup.ini");
    return LinesOf(store);
  }

  TempDir dir{"script"};
  TScriptStore store;
};
}  // namespace

// The store takes the text list's lines of the file (every kind of line end, blanks and case
// kept; the rules themselves are TextLines_test's), and a new load replaces the old lines.
TEST_F(ScriptLoading, TheFilesBytesGiveTheLinesAndALoadReplacesWhatWasThere) {
  EXPECT_EQ(LoadBytes(" \\x \r\nG\r\r\n:install\na.txt\r\n"),
            (Lines{" \\x ", "G", "", ":install", "a.txt"}));
  LoadBytes("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
  EXPECT_EQ(LoadBytes("only"), Lines{"only"});
}

TEST_F(ScriptLoading, AMissingScriptNamesTheFileAsGivenAndKeepsTheStore) {
  LoadBytes("kept\r\n");
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
  DeleteFileA("setup.ini");
  std::string message = ThrownMessage<EFOpenError>([&] { store.Load("setup.ini"); });
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(message, "Cannot open file setup.ini");
  EXPECT_EQ(LinesOf(store), Lines{"kept"});
}
