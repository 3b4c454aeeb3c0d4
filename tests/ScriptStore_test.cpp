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

TEST_F(ScriptLoading, AFiveLineScriptGivesItsHeaderInOrder) {
  EXPECT_EQ(LoadBytes("\\Widget\r\nWidget\r\nWidget 2.0\r\nwidget.exe\r\nwidget\r\n"),
            (Lines{"\\Widget", "Widget", "Widget 2.0", "widget.exe", "widget"}));
  EXPECT_EQ(store.Count(), 5);
}

TEST_F(ScriptLoading, CrLfCrAndLfGiveTheSameLines) {
  const Lines expected{"\\x", "G", "", ":install", "a.txt"};
  EXPECT_EQ(LoadBytes("\\x\r\nG\r\n\r\n:install\r\na.txt\r\n"), expected);
  EXPECT_EQ(LoadBytes("\\x\rG\r\r:install\ra.txt\r"), expected);
  EXPECT_EQ(LoadBytes("\\x\nG\n\n:install\na.txt\n"), expected);
}

TEST_F(ScriptLoading, LfCrGivesAnExtraEmptyLine) {
  EXPECT_EQ(LoadBytes("a\n\rb\n\r"), (Lines{"a", "", "b", ""}));
}

TEST_F(ScriptLoading, TheLastLineNeedsNoLineEndAndAFinalOneAddsNoLine) {
  EXPECT_EQ(LoadBytes("a\r\nlast"), (Lines{"a", "last"}));
  EXPECT_EQ(LoadBytes("a\r\nlast\r\n"), (Lines{"a", "last"}));
}

TEST_F(ScriptLoading, ANulByteEndsTheScript) {
  EXPECT_EQ(LoadBytes(std::string("a\r\nb\r\nc\0d\r\ne\r\n", 14)), (Lines{"a", "b", "c"}));
}

TEST_F(ScriptLoading, BlanksAndCaseAreKept) {
  EXPECT_EQ(LoadBytes(" \\Dir \r\nREADME.TXT \r\n\t\r\n"), (Lines{" \\Dir ", "README.TXT ", "\t"}));
}

TEST_F(ScriptLoading, AnEmptyFileGivesAnEmptyStore) {
  EXPECT_EQ(LoadBytes(""), Lines{});
}

TEST_F(ScriptLoading, LoadingReplacesWhatWasThere) {
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
