// The program group as the shell makes it: the group step against Wine's own shell and against
// the test server, and the Start Menu programs folder asked of the shell.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include "dde/DdeClientConv.h"
#include "dde/DdeMgr.h"
#include "engine/EngineText.h"
#include "engine/ProgramGroup.h"
#include "engine/WindowsDir.h"
#include "support/BoxWatcher.h"
#include "support/Files.h"
#include "support/Progman.h"
#include "ui/Application.h"
#include "platform/ShellFolder.h"
#include "setupcore/Places.h"

namespace {
// The installer's program and its uninstaller, which the shell looks for when it makes the items.
struct Installed {
  TempDir dir{"shellgroup"};
  Installed() {
    WriteFileBytes(dir / "widget.exe", "program");
    WriteFileBytes(dir / "remove.exe", "uninstaller");
  }
  ProgramGroupTexts Texts(const std::string& group) const {
    return {group, "Widget (2.0)", "\"" + (dir / "widget.exe") + "\"", "Widget (2.0) Uninstaller",
            "\"" + (dir / "remove.exe") + "\""};
  }
};

struct Conversation {
  TDdeClientConv* conv;
  Conversation() {
    InitApplication();
    InitDdeManager();
    conv = new TDdeClientConv(Application);
  }
  ~Conversation() { DoneApplication(); }
};
}  // namespace

TEST(Shell, TheProgramsFolderIsTheShellsOwnForTheUserAndForEveryone) {
  const std::string user = StartMenuProgramsDirectory();
  EXPECT_EQ(user, ShellFolderPath(CSIDL_PROGRAMS));
  EXPECT_TRUE(DirExists(user)) << user;
  EXPECT_EQ(StartMenuProgramsDirectory(GroupsFor::allUsers), ShellFolderPath(CSIDL_COMMON_PROGRAMS));
  EXPECT_NE(user, StartMenuProgramsDirectory(GroupsFor::allUsers));
  // Not the Windows directory's, where the shell of this system keeps nothing.
  EXPECT_NE(user, setupcore::ProgramsFolder("", WindowsDirectory()));
  EXPECT_EQ(ShellFolderPath(-1), "") << "a kind of folder the shell does not know";
}

// Wine's shell answers "PROGMAN" from its desktop process, which this process's windows keep
// running. It carries out the first command of an execute only, and refuses ShowGroup without
// the group name and ReplaceItem of an item that is not there.
TEST(Shell, WinesShellMakesTheGroupWithBothItems) {
  Installed installed;
  const std::string group = "Velmora Shell, Test";
  const std::string folder = StartMenuProgramsDirectory() + "\\" + group;
  Leftovers left{{folder}, {}};
  BoxWatcher boxes;
  {
    Conversation c;
    for (int run = 0; run < 2; ++run) {  // the second finds the items there and replaces them
      const ProgramGroupOutcome outcome = CreateProgramGroup(*c.conv, installed.Texts(group));
      EXPECT_TRUE(outcome.Complete()) << run << ": " << ProgramGroupProblem(outcome);
      EXPECT_EQ(c.conv->ConversationHandle(), nullptr);
      EXPECT_EQ(FileNames(folder), (std::vector<std::string>{"Widget (2.0) Uninstaller.lnk",
                                                             "Widget (2.0).lnk"}))
          << run;
    }
  }
  CloseShellFolderWindows(group);
  EXPECT_TRUE(boxes.Seen().empty());
}

TEST(Shell, TheTestServerKeepsGroupsWhereTheShellDoesAndRefusesWhatItRefuses) {
  Installed installed;
  ProgmanServer server;
  // The test server keeps its groups where the shell does.
  const std::string folder = StartMenuProgramsDirectory() + "\\Velmora Server";
  Leftovers left{{folder}, {}};
  BoxWatcher boxes;
  {
    Conversation c;
    EXPECT_TRUE(CreateProgramGroup(*c.conv, installed.Texts("Velmora Server")).Complete());
    // A group name the server cannot make: told once, and nothing after CreateGroup is sent.
    const ProgramGroupOutcome bad = CreateProgramGroup(*c.conv, installed.Texts("Bad*Name"));
    EXPECT_EQ(bad.failedCommand, "[CreateGroup(Bad*Name)]");
    EXPECT_TRUE(bad.answered);
  }
  EXPECT_EQ(FileNames(folder),
            (std::vector<std::string>{"Widget (2.0) Uninstaller.lnk", "Widget (2.0).lnk"}));
  std::vector<std::string> answers;
  for (const ProgmanRecord& r : server.Log())
    if (r.kind == "ack" || r.kind == "not processed") answers.push_back(r.kind);
  EXPECT_EQ(answers, (std::vector<std::string>{"ack", "ack", "not processed", "ack", "ack",
                                               "not processed"}))
      << "the item was not there to be replaced; the bad group stopped the rest";
  EXPECT_EQ(server.Executes().at(1), "[ShowGroup(Velmora Server,1)]\r\n" + std::string(1, '\0'));
  const std::vector<SeenBox> seen = boxes.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, EngineText(kGroupCommandRefused, "[CreateGroup(Bad*Name)]"));
}
