// The setup script read from real files; what its lines mean is tested with the core.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "engine/ScriptStore.h"
#include "support/Files.h"
#include "support/Wait.h"
#include "ui/Errors.h"

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

// The store reads the file's bytes with the core's line rules: every kind of line end, blanks and
// case kept, a NUL ending the script, and a new load replacing the old lines.
TEST_F(ScriptLoading, TheFilesBytesGiveTheLinesAndALoadReplacesWhatWasThere) {
  const Lines expected{" \\x ", "G", "", ":install", "a.txt"};
  for (const char* eol : {"\r\n", "\r", "\n"}) {
    const std::string e = eol;
    EXPECT_EQ(LoadBytes(" \\x " + e + "G" + e + e + ":install" + e + "a.txt" + e), expected) << int(eol[0]);
  }
  EXPECT_EQ(LoadBytes("a\n\rb\n\rlast"), (Lines{"a", "", "b", "", "last"}));
  EXPECT_EQ(LoadBytes(std::string("a\r\nb\r\nc\0d\r\ne\r\n", 14)), (Lines{"a", "b", "c"}));
  EXPECT_EQ(LoadBytes(""), Lines{});
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
