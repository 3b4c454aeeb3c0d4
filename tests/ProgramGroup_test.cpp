// The program-group step: the five commands as the test server receives them, and the sample
// installation leaving the group its uninstall record names.
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
#include "ui/Application.h"
#include "ui/Stream.h"

using namespace std::string_literals;

namespace {
std::string SourceDir() {
  char buf[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableA("VELMORA_SRC", buf, MAX_PATH);
  std::string dir(buf, n < MAX_PATH ? n : 0);
  // ctest hands the Unix path; Wine maps the Unix root to drive Z.
  if (!dir.empty() && dir[0] == '/') {
    for (char& c : dir)
      if (c == '/') c = '\\';
    dir = "Z:" + dir;
  }
  return dir;
}

std::vector<std::string> Lines(const std::string& text) {
  TStringList l;
  l.SetText(text);
  return l.Lines();
}
}  // namespace

TEST(ProgramGroup, TheFiveCommandsGoAsTheyAreInOneExecute) {
  ProgmanServer server;
  BoxWatcher boxes;
  Leftovers left{{StartMenuPrograms() + "\\Tools"}, {}};
  InitApplication();
  InitDdeManager();
  auto* conv = new TDdeClientConv(Application);
  LoadComponent(*conv, "object DdeClientConv1: TDdeClientConv\n  ConnectMode = ddeManual\nend\n");
  CreateProgramGroup(*conv, ProgramGroupTexts{"Tools, Misc", "Widget (2.0)", "\"c:\\w d\\w.exe\"",
                                              "Widget (2.0) Uninstaller", "\"c:\\w d\\remove.exe\""});
  EXPECT_EQ(conv->ConversationHandle(), nullptr) << "closed right after the execute";
  ASSERT_TRUE(server.WaitAnswers(1));
  ASSERT_TRUE(WaitUntil([&] { return server.Log().back().kind == "disconnect"; }, 10000));
  DoneApplication();
  EXPECT_EQ(server.Executes(),
            std::vector<std::string>{
                "[CreateGroup(Tools, Misc)]\r\n"
                "[ShowGroup(1)]\r\n"
                "[ReplaceItem(Widget (2.0))]\r\n"
                "[AddItem(\"c:\\w d\\w.exe\",Widget (2.0))]\r\n"
                "[AddItem(\"c:\\w d\\remove.exe\",Widget (2.0) Uninstaller)]\r\n\0"s});
  EXPECT_EQ(server.Log().size(), 4u) << "connect, one execute, its answer, disconnect";
  EXPECT_TRUE(boxes.Seen().empty());
}

TEST(ProgramGroup, TheSampleInstallationLeavesTheGroupAndBothShortcutsItRecords) {
  ProgmanServer server;
  const std::string sample = SourceDir() + "\\tools\\sample";
  ProductDir dir(ReadFileBytes(sample + "\\setup.ini"));
  for (const char* f : {"readme.txt", "LICENSE.TXT"})
    ASSERT_TRUE(CopyFileA((sample + "\\" + f).c_str(), (dir / f).c_str(), FALSE));
  // Stand-ins for the product's program and its uninstaller.
  for (const char* f : {"SAMPLE.EX_", "REMOVE.EX_"})
    ASSERT_TRUE(CopyFileA(ToolExe("driver").c_str(), (dir / f).c_str(), FALSE));
  TempDir target("sample");
  const std::string dest = target / "Velmora Sample";
  const std::string group = StartMenuPrograms() + "\\Velmora Sample";
  const std::string record = WindowsDirectory() + "\\velsample.ini";
  Leftovers left{{group}, {record}};

  std::unique_ptr<RunningProgram> program(dir.Start());
  mainwin::StartInstall(mainwin::Started(*program, dir.Path()), dest);
  EXPECT_TRUE(mainwin::FinishInstall(*program));

  std::vector<std::string> shortcuts, groups;
  for (const std::string& line : Lines(ReadFileBytes(dest + "\\unin.ini"))) {
    if (line.size() > 4 && line.substr(line.size() - 4) == ".lnk") shortcuts.push_back(line);
    if (!line.empty() && line[0] == '+') groups.push_back(line.substr(1));
  }
  ASSERT_EQ(shortcuts.size(), 2u);
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_TRUE(DirExists(groups[0]));
  for (const std::string& s : shortcuts) {
    EXPECT_TRUE(FileExists(s)) << s;
    EXPECT_EQ(ReadFileBytes(s).substr(0, 4), "L\0\0\0"s) << s << " is a shell link";
  }
  std::vector<std::string> answers;
  for (const ProgmanRecord& r : server.Log())
    if (r.kind == "ack" || r.kind == "not processed") answers.push_back(r.kind);
  EXPECT_EQ(answers, std::vector<std::string>{"ack"});
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

TEST(ProgramGroup, WithNoProgramManagerTheRunSaysSoOnceAndStillEnds) {
  SilenceTheShellsProgramManager();
  ASSERT_TRUE(WaitUntil([] { return !ProgramManagerAnswers(); }, 10000))
      << "a program-group server still answers";
  // The conversation's second try starts "PROGMAN"; Wine's own progman.exe would answer it.
  SetEnvironmentVariableA("WINEDLLOVERRIDES", "progman.exe=d");
  const std::string record = "vtest_noserver";
  ProductDir dir("\\Velmora NoServer\r\nNoServer\r\nNoServer 1.0\r\nns.exe\r\n" + record +
                 "\r\n:install\r\nNS.EX_\r\n");
  WriteFileBytes(dir / "NS.EX_", "program");
  TempDir target("noserver");
  const std::string dest = target / "NoServer";
  Leftovers left{{}, {WindowsDirectory() + "\\" + record + ".ini"}};
  std::unique_ptr<RunningProgram> program(dir.Start());
  SetEnvironmentVariableA("WINEDLLOVERRIDES", nullptr);
  mainwin::StartInstall(mainwin::Started(*program, dir.Path()), dest);

  HWND box = drv::WaitDialog("Setup", 30000, program->Id());
  EXPECT_EQ(drv::MessageText(box), "Communication with the Program Manager failed!");
  drv::PressButton(box, "OK");
  HWND installing = drv::WaitWindow("Installing", 20000, program->Id());
  mainwin::WaitText(installing, mainwin::kInstallingMessage, "Click DONE to exit.", 30000);
  EXPECT_THROW(drv::WaitDialog("Setup", 500, program->Id()), drv::Error) << "said once";
  drv::PressButton(installing, "Done");
  EXPECT_TRUE(program->WaitExit(10000));

  const std::string unin = ReadFileBytes(dest + "\\unin.ini");
  EXPECT_EQ(unin.substr(0, 14), "NoServer 1.0\r\n");
  EXPECT_NE(unin.find(dest + "\\ns.exe\r\n"), std::string::npos);
  const std::string locationRecord = WindowsDirectory() + "\\" + record + ".ini";
  EXPECT_EQ(ReadFileBytes(locationRecord), ":run\r\n" + dest + "\r\n");
  // The second try's progman.exe fails to load and may wait with an error box: it is ended.
  for (const ChildProcess& p : ChildProcesses(program->Id())) EndProcess(p.id);
}
