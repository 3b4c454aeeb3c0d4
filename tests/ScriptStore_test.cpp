// The setup script store and the restored names of file entries.
#include <gtest/gtest.h>

#include "engine/ScriptStore.h"
#include "support/Files.h"
#include "ui/Errors.h"

TEST(ScriptStore, LoadsAFiveLineScriptAndHandsOutItsLines) {
  TempDir dir;
  WriteFileBytes(dir / "setup.ini", "\\Widget\r\nWidget\r\nWidget 2.0\rwidget.exe\nwidget");
  TScriptStore ini;
  ini.Load(dir / "setup.ini");
  ASSERT_EQ(ini.Count(), 5);
  EXPECT_EQ(ini.Line(0), "\\Widget");
  EXPECT_EQ(ini.Line(4), "widget");
  EXPECT_THROW(ini.Line(5), EListError);
  EXPECT_THROW(ini.Line(-1), EListError);
}

TEST(ScriptStore, InstallReplacesLineOneInMemoryOnly) {
  TempDir dir;
  WriteFileBytes(dir / "setup.ini", "a\nb\nc\n");
  TScriptStore ini;
  ini.Load(dir / "setup.ini");
  ini.Delete(1);
  ini.Insert(1, "Tools");
  EXPECT_EQ(ini.Line(1), "Tools");
  EXPECT_EQ(ini.Count(), 3);
  EXPECT_EQ(ReadFileBytes(dir / "setup.ini"), "a\nb\nc\n");
}

TEST(ScriptStore, AnEmptyStoreRefusesLineOne) {
  TScriptStore ini;
  ini.Delete(1);  // a missing line: nothing happens
  try {
    ini.Insert(1, "Tools");
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "Unable to insert a line");
  }
  ini.Insert(0, "only");
  ini.Insert(1, "Tools");
  EXPECT_EQ(ini.Line(1), "Tools");
}

TEST(ScriptStore, ALongLineIsHandedOutThroughTheLineBuffer) {
  TempDir dir;
  WriteFileBytes(dir / "setup.ini", std::string(5000, 'x') + "\n");
  TScriptStore ini;
  ini.Load(dir / "setup.ini");
  EXPECT_EQ(ini.Line(0).size(), 4095u);
}

TEST(RestoredName, FollowsTheUnderscoreRule) {
  EXPECT_EQ(RestoredName("SETUP.EX_"), "setup.exe");
  EXPECT_EQ(RestoredName("WIDGLIB.DL_"), "widglib.dll");
  EXPECT_EQ(RestoredName("Notes.tx_"), "notes.txe");
  EXPECT_EQ(RestoredName("HELP.HL_"), "help.hll");
  EXPECT_EQ(RestoredName("DATA.DA_"), "data.da");
  EXPECT_EQ(RestoredName("ReadMe.Txt"), "ReadMe.Txt");
  EXPECT_EQ(RestoredName("SUB\\\xC4PFEL.EX_"), "sub\\\xC4pfel.exe") << "only ASCII letters change";
  EXPECT_EQ(RestoredName("_"), "");
  EXPECT_EQ(RestoredName("a.txt "), "a.txt ") << "a trailing blank names another file";
}
