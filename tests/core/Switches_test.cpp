// The switches of unattended runs and the exit codes a calling script reads.
#include <gtest/gtest.h>

#include <string>

#include "setupcore/Switches.h"

using namespace setupcore;

TEST(Switches, SetupReadsEachSwitchInAnyCaseQuotedOrNot) {
  struct Row {
    const char* line;
    Quietness quiet;
    const char* dir;
    const char* group;
    const char* log;
  };
  const Row rows[] = {
      {"setup.exe", Quietness::interactive, "", "", ""},
      {"\"C:\\My Setup\\setup.exe\"  /silent", Quietness::silent, "", "", ""},
      {"setup /VerySilent /SILENT", Quietness::verySilent, "", "", ""},
      {"setup /SILENT /VERYSILENT", Quietness::verySilent, "", "", ""},
      {"setup /DIR=\"C:\\Program Files\\Widget\" /group=Widget /Log=c:\\w.log", Quietness::interactive,
       "C:\\Program Files\\Widget", "Widget", "c:\\w.log"},
      {"setup \"/DIR=C:\\Program Files\\W\" \"/GROUP=Acme, Tools (7)\"", Quietness::interactive,
       "C:\\Program Files\\W", "Acme, Tools (7)", ""},
      {"setup /DIR=\"C:\\\"\t/LOG=\"a b.log\"", Quietness::interactive, "C:\\", "", "a b.log"},
  };
  for (const Row& r : rows) {
    SetupSwitches s;
    std::string error;
    ASSERT_TRUE(ParseSetupSwitches(r.line, s, error)) << r.line << ": " << error;
    EXPECT_EQ(s.quiet, r.quiet) << r.line;
    EXPECT_EQ(s.dir, r.dir) << r.line;
    EXPECT_EQ(s.group, r.group) << r.line;
    EXPECT_EQ(s.log, r.log) << r.line;
    EXPECT_FALSE(s.usage) << r.line;
  }
  SetupSwitches s;
  std::string error;
  ASSERT_TRUE(ParseSetupSwitches("setup /? /SILENT", s, error));
  EXPECT_TRUE(s.usage);
}

TEST(Switches, ABadSwitchIsToldClearlyAndNothingIsTaken) {
  const std::pair<const char*, const char*> rows[] = {
      {"setup /FAST", "The switch \"/FAST\" is not known."},
      {"setup /SIL", "The switch \"/SIL\" is not known."},
      {"setup /SILENTLY", "The switch \"/SILENTLY\" is not known."},
      {"setup /DIR", "The switch /DIR needs a value: /DIR=..."},
      {"setup /dir=", "The switch /DIR needs a value: /DIR=..."},
      {"setup /SILENT=1", "The switch /SILENT takes no value."},
      {"setup /LOG=a /log=b", "The switch /LOG is given twice."},
      {"setup /DIR=C:\\Program Files\\W", "\"Files\\W\" is not a switch: switches begin with /."},
      {"setup /DIR=\"C:\\W", "A double quote on the command line is not closed."},
      {"setup /GROUP=\"a]b\"", "The group name \"a]b\" cannot be used: it holds a double quote or a bracket."},
      {"setup /cleanup 12 a b", "The switch \"/cleanup\" is not known."},
  };
  for (const auto& r : rows) {
    SetupSwitches s;
    s.dir = "kept";
    std::string error;
    EXPECT_FALSE(ParseSetupSwitches(r.first, s, error)) << r.first;
    EXPECT_EQ(error, r.second) << r.first;
    EXPECT_EQ(s.dir, "") << r.first;
  }
  // How to tell the refusal is still read: quietly, into the log asked for.
  SetupSwitches s;
  std::string error;
  EXPECT_FALSE(ParseSetupSwitches("setup /FAST /LOG=c:\\l.txt /DIR=c:\\x /VERYSILENT /LOG=b", s, error));
  EXPECT_EQ(s.quiet, Quietness::verySilent);
  EXPECT_EQ(s.log, "c:\\l.txt");
  EXPECT_EQ(s.dir, "");
  RemoveSwitches r;
  EXPECT_FALSE(ParseRemoveSwitches("remove /SILENT /GROUP=x /LOG=r.log", r, error));
  EXPECT_EQ(r.quiet, Quietness::silent);
  EXPECT_EQ(r.log, "r.log");
}

TEST(Switches, RemoveTakesItsThreeSwitchesAndLeavesItsCleanUpCallWhole) {
  RemoveSwitches s;
  std::string error;
  ASSERT_TRUE(ParseRemoveSwitches("remove.exe /verysilent \"/LOG=C:\\a b\\r.log\"", s, error)) << error;
  EXPECT_EQ(s.quiet, Quietness::verySilent);
  EXPECT_EQ(s.log, "C:\\a b\\r.log");
  EXPECT_FALSE(s.cleanUp);
  ASSERT_TRUE(ParseRemoveSwitches("\"C:\\T\\~r.exe\" /cleanup 1234 \"C:\\D\\remove.exe\" \"C:\\D\"", s, error));
  EXPECT_TRUE(s.cleanUp);
  for (const char* bad : {"remove /DIR=c:\\x", "remove /GROUP=x", "remove /CLEANUP 1 a b"})
    EXPECT_FALSE(ParseRemoveSwitches(bad, s, error)) << bad;
}

TEST(Switches, ExitCodesTellWhatBecameOfTheRun) {
  EXPECT_EQ(SetupExit(true, false), 0);
  EXPECT_EQ(SetupExit(false, false), 1);
  EXPECT_EQ(SetupExit(false, true), 1);
  EXPECT_EQ(SetupExit(true, true), 2);
  EXPECT_EQ(RemoveExit(true, false), 0);
  EXPECT_EQ(RemoveExit(false, false), 1);
  EXPECT_EQ(RemoveExit(false, true), 1);
  EXPECT_EQ(RemoveExit(true, true), 2);
}
