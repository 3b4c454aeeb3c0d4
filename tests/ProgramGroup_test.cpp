// The program-group step: the five commands as the test server receives them, and a run with no
// program-group server at all.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "dde/DdeClientConv.h"
#include "dde/DdeMgr.h"
#include "driver/Driver.h"
#include "engine/ProgramGroup.h"
#include "engine/WindowsDir.h"
#include "support/SetupWindow.h"
#include "support/BoxWatcher.h"
#include "support/Files.h"
#include "support/Program.h"
#include "support/Peer.h"
#include "support/Progman.h"
#include "support/Records.h"
#include "ui/Application.h"
#include "ui/Stream.h"

using namespace std::string_literals;

TEST(ProgramGroup, TheFiveCommandsGoOneExecuteEachWithCommaAndParenthesisNamesQuoted) {
  ProgmanServer server;
  Leftovers left{{StartMenuPrograms() + "\\Tools, Misc"}, {}};
  BoxWatcher boxes;
  InitApplication();
  InitDdeManager();
  auto* conv = new TDdeClientConv(Application);
  LoadComponent(*conv, "object DdeClientConv1: TDdeClientConv\n  ConnectMode = ddeManual\nend\n");
  std::vector<std::string> answers;
  const ProgramGroupOutcome outcome = CreateProgramGroup(
      *conv,
      ProgramGroupTexts{"Tools, Misc", "Widget (2.0)", "\"c:\\w d\\w.exe\"", "Widget (2.0) Uninstaller",
                        "\"c:\\w d\\remove.exe\""},
      false, [&](const std::string& command, const std::string& answer) {
        answers.push_back(command + ": " + answer);
      });
  EXPECT_EQ(conv->ConversationHandle(), nullptr) << "closed right after the last execute";
  ASSERT_TRUE(server.WaitAnswers(5));
  ASSERT_TRUE(WaitUntil([&] { return server.Log().back().kind == "disconnect"; }, 10000));
  DoneApplication();
  EXPECT_TRUE(outcome.Complete()) << "a refused ReplaceItem stops nothing";
  EXPECT_EQ(server.Executes(),
            (std::vector<std::string>{"[CreateGroup(\"Tools, Misc\")]\r\n\0"s,
                                      "[ShowGroup(\"Tools, Misc\",1)]\r\n\0"s,
                                      "[ReplaceItem(\"Widget (2.0)\")]\r\n\0"s,
                                      "[AddItem(\"c:\\w d\\w.exe\",\"Widget (2.0)\")]\r\n\0"s,
                                      "[AddItem(\"c:\\w d\\remove.exe\",\"Widget (2.0) Uninstaller\")]\r\n\0"s}));
  // What a log is given: each command with the server's answer, the missing item's refusal too.
  EXPECT_EQ(answers, (std::vector<std::string>{
                         "[CreateGroup(\"Tools, Misc\")]: accepted",
                         "[ShowGroup(\"Tools, Misc\",1)]: accepted",
                         "[ReplaceItem(\"Widget (2.0)\")]: refused",
                         "[AddItem(\"c:\\w d\\w.exe\",\"Widget (2.0)\")]: accepted",
                         "[AddItem(\"c:\\w d\\remove.exe\",\"Widget (2.0) Uninstaller\")]: accepted"}));
  EXPECT_TRUE(boxes.Seen().empty());
}

// A server that holds a command back: the wait for its answer ends, nothing after it is sent,
// and the conversation is closed all the same.
TEST(ProgramGroup, ACommandLeftUnansweredEndsTheWaitAndTheRest) {
  ProgmanServer server("PROGMAN", true);
  InitApplication();
  InitDdeManager();
  auto* conv = new TDdeClientConv(Application);
  std::vector<std::string> answers;
  const ProgramGroupOutcome outcome = SendToProgramManager(
      *conv, setupcore::GroupSteps({"vtest held", "T", "\"c:\\t.exe\"", "U", "\"c:\\u.exe\""}),
      [&](const std::string& command, const std::string& answer) {
        answers.push_back(command + ": " + answer);
      },
      500);
  EXPECT_EQ(conv->ConversationHandle(), nullptr);
  DoneApplication();
  EXPECT_TRUE(outcome.reached);
  EXPECT_EQ(outcome.failedCommand, "[CreateGroup(vtest held)]");
  EXPECT_FALSE(outcome.answered);
  EXPECT_EQ(answers, (std::vector<std::string>{"[CreateGroup(vtest held)]: no answer"}));
}

namespace {
// Wine's shell answers "PROGMAN" from hidden server-name windows of its desktop process. Closed,
// they take the service with them while the desktop stays; nothing brings them back before
// the Wine server ends, so this is done by the file's last test.
void SilenceTheShellsProgramManager() {
  struct Finder {
    static BOOL CALLBACK Visit(HWND hwnd, LPARAM) {
      char cls[64] = {};
      GetClassNameA(hwnd, cls, sizeof cls);
      if (lstrcmpA(cls, "WineDdeServerName") == 0) PostMessageA(hwnd, WM_CLOSE, 0, 0);
      return TRUE;
    }
  };
  EnumWindows(Finder::Visit, 0);
}

// Asked from another process: a window of this thread would have to answer every program's
// connection broadcast while the test waits without handling messages.
bool ProgramManagerAnswers() {
  Peer peer({"client", "PROGMAN", "PROGMAN", "connect"});
  peer.Finish();
  return !peer.Says("connect: failed 0x400a");
}
}  // namespace

// With no server answering, the conversation's second try starts a server program; a
// progman.exe left beside setup.exe (a download folder) is never the one started.
TEST(ProgramGroup, WithNoProgramManagerTheRunSaysSoOnceStartsNothingPlantedAndStillEnds) {
  SilenceTheShellsProgramManager();
  ASSERT_TRUE(WaitUntil([] { return !ProgramManagerAnswers(); }, 10000))
      << "a program-group server still answers";
  // The conversation's second try starts "PROGMAN"; Wine's own progman.exe would answer it.
  SetEnvironmentVariableA("WINEDLLOVERRIDES", "progman.exe=d");
  const std::string record = "vtest_noserver";
  ProductDir dir("\\Velmora NoServer\r\nNoServer\r\nNoServer 1.0\r\nns.exe\r\n" + record +
                 "\r\n:install\r\nNS.EX_\r\n");
  WriteFileBytes(dir / "NS.EX_", "program");
  ASSERT_TRUE(
      CopyFileA((ExeDirectory() + "\\planted.exe").c_str(), (dir / "progman.exe").c_str(), FALSE));
  TempDir target("noserver");
  const std::string dest = target / "NoServer";
  Leftovers left{{}, {WindowsDirectory() + "\\" + record + ".ini"}};
  std::unique_ptr<RunningProgram> program(dir.Start());
  SetEnvironmentVariableA("WINEDLLOVERRIDES", nullptr);
  HWND w = mainwin::Started(*program, dir.Path());
  drv::SetText(mainwin::At(w, mainwin::kDestination), dest);
  drv::Click(mainwin::At(w, mainwin::kInstall));

  HWND box = drv::WaitDialog("Setup", 30000, program->Id());
  EXPECT_EQ(drv::MessageText(box), "Communication with the Program Manager failed!");
  drv::PressButton(box, "OK");
  HWND installing = drv::WaitWindow("Installing", 20000, program->Id());
  mainwin::WaitText(installing, mainwin::kInstallingMessage, "Click DONE to exit.", 30000);
  EXPECT_THROW(drv::WaitDialog("Setup", 500, program->Id()), drv::Error) << "said once";
  drv::PressButton(installing, "Done");
  EXPECT_TRUE(program->WaitExit(10000));
  EXPECT_FALSE(FileExists(dir / "progman.exe.ran")) << "the planted progman.exe was started";

  const std::string unin = ReadFileBytes(dest + "\\unin.ini");
  EXPECT_EQ(unin.substr(0, 14), "NoServer 1.0\r\n");
  EXPECT_NE(unin.find(dest + "\\ns.exe\r\n"), std::string::npos);
  const std::string locationRecord = WindowsDirectory() + "\\" + record + ".ini";
  EXPECT_EQ(ReadFileBytes(locationRecord), ":run\r\n" + dest + "\r\n");
  // The second try's progman.exe fails to load and may wait with an error box: it is ended.
  for (const ChildProcess& p : ChildProcesses(program->Id())) EndProcess(p.id);
}
