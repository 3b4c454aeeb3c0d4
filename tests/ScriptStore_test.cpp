// The setup script in memory: loading real files, the line rules, and restored names.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "engine/ScriptStore.h"
#include "support/Files.h"
#include "ui/Errors.h"

namespace {
using Lines = std::vector<std::string>;

Lines LinesOf(const TScriptStore& store) {
  Lines out;
  for (int i = 0; i < store.Count(); ++i) out.push_back(store.Line(i));
  return out;
}

template <class E, class Fn>
std::string MessageOf(Fn fn) {
  try {
    fn();
  } catch (const E& e) {
    return e.Message();
  }
  return "(nothing thrown)";
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
  std::string message = MessageOf<EFOpenError>([&] { store.Load("setup.ini"); });
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(message, "Cannot open file setup.ini");
  EXPECT_EQ(LinesOf(store), Lines{"kept"});
}

TEST_F(ScriptLoading, ALineIsHandedOutThroughA4096ByteBuffer) {
  const std::string longLine(5000, 'L');
  LoadBytes("short\r\n" + longLine + "\r\n" + std::string(4095, 'k'));
  EXPECT_EQ(store.Line(1), std::string(4095, 'L'));
  EXPECT_EQ(store.Line(2), std::string(4095, 'k'));
  EXPECT_EQ(store.Lines().Strings(1), longLine);  // the store itself keeps the whole line
}

TEST(ScriptLines, ReadingBeyondTheScriptIsAListError) {
  TScriptStore store;
  EXPECT_EQ(MessageOf<EListError>([&] { store.Line(0); }), "List index out of bounds");
  store.Insert(0, "line 0");
  EXPECT_EQ(store.Line(0), "line 0");
  EXPECT_EQ(MessageOf<EListError>([&] { store.Line(1); }), "List index out of bounds");
  EXPECT_EQ(MessageOf<EListError>([&] { store.Line(-1); }), "List index out of bounds");
}

TEST(ScriptLines, InstallReplacesLineOne) {
  TScriptStore store;
  for (const char* l : {"\\Widget", "Widget", "Widget 2.0", "widget.exe", "widget"})
    store.Insert(store.Count(), l);
  store.Delete(1);
  store.Insert(1, "My Folder");
  EXPECT_EQ(LinesOf(store), (Lines{"\\Widget", "My Folder", "Widget 2.0", "widget.exe", "widget"}));
}

TEST(ScriptLines, AnEmptyStoreIgnoresTheDeleteAndRefusesTheInsert) {
  TScriptStore store;
  store.Delete(1);
  EXPECT_EQ(MessageOf<EListError>([&] { store.Insert(1, "Folder"); }), "Unable to insert a line");
  EXPECT_EQ(store.Count(), 0);
}

TEST(ScriptLines, AOneLineStoreGetsTheFolderAsLineOne) {
  TScriptStore store;
  store.Insert(0, "\\Only");
  store.Delete(1);
  store.Delete(-1);
  store.Insert(1, "Folder");
  EXPECT_EQ(LinesOf(store), (Lines{"\\Only", "Folder"}));
}

TEST(RestoredNames, TheExamplesOfTheFormat) {
  EXPECT_EQ(RestoredName("SETUP.EX_"), "setup.exe");
  EXPECT_EQ(RestoredName("WIDGLIB.DL_"), "widglib.dll");
  EXPECT_EQ(RestoredName("Notes.tx_"), "notes.txe");
  EXPECT_EQ(RestoredName("HELP.HL_"), "help.hll");
  EXPECT_EQ(RestoredName("DATA.DA_"), "data.da");
  EXPECT_EQ(RestoredName("ReadMe.Txt"), "ReadMe.Txt");
}

TEST(RestoredNames, OnlyAFinalUnderscoreCounts) {
  EXPECT_EQ(RestoredName("A_B.TXT"), "A_B.TXT");
  EXPECT_EQ(RestoredName("A.EX_ "), "A.EX_ ");  // a trailing blank: the name stays as written
  EXPECT_EQ(RestoredName("MY_LIB.DL__"), "my_lib.dl_");
}

TEST(RestoredNames, OnlyAsciiLettersAreLowered) {
  EXPECT_EQ(RestoredName("SUB\\\xC4RGER.TX_"), "sub\\\xC4rger.txe");
  EXPECT_EQ(RestoredName("X_"), "xe");
  EXPECT_EQ(RestoredName("L_"), "ll");
}

TEST(RestoredNames, ALoneUnderscoreGivesTheEmptyName) {
  EXPECT_EQ(RestoredName("_"), "");
  EXPECT_EQ(RestoredName(""), "");
}
