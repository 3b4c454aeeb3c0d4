// Unattended runs of the shipped setup.exe and remove.exe: their switches, exit codes and logs,
// and what is on the disk, with Wine's own shell making the program group and Wine's own list of
// installed programs reading the product's entry.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <memory>

#include "driver/Driver.h"
#include "engine/EngineText.h"
#include "engine/WindowsDir.h"
#include "setupcore/Switches.h"
#include "setupcore/UninstallEntry.h"
#include "support/Files.h"
#include "support/Program.h"
#include "support/Progman.h"
#include "support/Records.h"
#include "support/Wait.h"
#include "ui/Application.h"
#include "platform/Registry.h"

namespace {
const char kGroup[] = "Velmora Quiet";
const char kRecord[] = "vtest_quiet";
const std::string kScript = std::string("\\Velmora Quiet\r\nVelmora Quiet\r\nVelmora Quiet 1.0\r\n"
                                        "quiet.exe\r\n") + kRecord + "\r\n:install\r\nQUIET.EX_\r\nREMOVE.EX_\r\n";

// A product directory with the script's two files, and what an installation from it leaves
// outside its temporary directories.
struct Product {
  explicit Product(const std::string& script = kScript, bool withScript = true)
      : dir(script, withScript) {
    WriteFileBytes(dir / "QUIET.EX_", "program");
    CopyFileA(ProductExe("remove").c_str(), (dir / "REMOVE.EX_").c_str(), FALSE);
  }
  ProductDir dir;
  TempDir target{"quiet"};
  const std::string dest = target / "Quiet Dest";
  const std::string group = StartMenuPrograms() + "\\" + kGroup;
  const std::string log = target / "run.log";
  Leftovers left{{group}, {WindowsDirectory() + "\\" + kRecord + ".ini"}};
};

// Runs a program to its end and returns its exit code. This thread's messages are handled
// meanwhile: its window keeps Wine's shell running, and must answer DDE's connection broadcast.
DWORD RunToEnd(const std::string& exe, const std::string& args, const std::string& workDir) {
  RunningProgram program(exe, args, workDir);
  if (!WaitUntil([&] { return program.WaitExit(0); }, 120000)) return STILL_ACTIVE;
  return program.ExitCode();
}

// Whether the log has the line, after its time stamp.
bool Logged(const std::string& log, const std::string& line) {
  return ReadFileBytes(log).find(" " + line + "\r\n") != std::string::npos;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

struct WithWindow {
  WithWindow() { InitApplication(); }
  ~WithWindow() { DoneApplication(); }
};
}  // namespace

TEST(Unattended, AVerySilentRunInstallsWithTheShellsGroupAndAVerySilentRemovalTakesItAllAway) {
  WithWindow window;
  // The group asked for is not the one the script proposes: the run takes it in line 1's place.
  // The ini section's lines name no file: the removal passes them over, and they leave nothing.
  Product p("\\Velmora Quiet\r\nVelmora Proposed" +
            kScript.substr(kScript.find("\r\nVelmora Quiet 1.0")) + "\r\n:ini\r\n~\\unin.ini\r\n>\r\n:end\r\n");
  // Started in another folder (as a scheduled task or a deployment tool may start it), the run
  // installs what lies beside setup.exe, never the script and files of that folder.
  TempDir elsewhere("elsewhere");
  WriteFileBytes(elsewhere / "setup.ini", kScript + "DECOY.TXT\r\n");
  WriteFileBytes(elsewhere / "QUIET.EX_", "decoy");
  WriteFileBytes(elsewhere / "DECOY.TXT", "decoy");
  CopyFileA(ProductExe("remove").c_str(), (elsewhere / "REMOVE.EX_").c_str(), FALSE);
  const std::string args = "/VERYSILENT " + Quoted("/DIR=" + p.dest) + " " +
                           Quoted(std::string("/GROUP=") + kGroup) + " /LOG=" + Quoted(p.log);
  ASSERT_EQ(RunToEnd(p.dir / "SETUP.EXE", args, elsewhere.Path()), 0u) << ReadFileBytes(p.log);
  CloseShellFolderWindows(kGroup);
  EXPECT_EQ(ReadFileBytes(p.dest + "\\quiet.exe"), "program");
  EXPECT_FALSE(FileExists(p.dest + "\\DECOY.TXT"));

  // The group where the shell keeps it, and the records naming it there.
  EXPECT_EQ(FileNames(p.group),
            (std::vector<std::string>{"Velmora Quiet 1.0 Uninstaller.lnk", "Velmora Quiet 1.0.lnk"}));
  const std::vector<std::string> unin = RecordLines(p.dest + "\\unin.ini");
  ASSERT_GE(unin.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(unin.end() - 4, unin.end() - 1),
            (std::vector<std::string>{p.group + "\\Velmora Quiet 1.0.lnk",
                                      p.group + "\\Velmora Quiet 1.0 Uninstaller.lnk",
                                      "+" + p.group + "\\"}));
  // The entry in the list of installed programs, for this remove.exe.
  const std::string key = setupcore::UninstallKey(kRecord);
  std::string uninstall;
  auto entry = [&](std::string& value) {
    return ReadRegText(HKEY_LOCAL_MACHINE, key, "UninstallString", value) ||
           ReadRegText(HKEY_LOCAL_MACHINE, Wow32Key(key), "UninstallString", value);
  };
  EXPECT_TRUE(entry(uninstall));
  EXPECT_EQ(uninstall, Quoted(p.dest + "\\remove.exe"));
  EXPECT_NE(InstalledProgramsList().find(std::string(kRecord) + "|||Velmora Quiet 1.0"), std::string::npos);
  // One line a step.
  for (const std::string& line :
       {EngineText(kLogValues, p.dir.Path(), p.dest, kGroup),
        EngineText(kLogCopied, "QUIET.EX_", p.dest + "\\quiet.exe", "7"),
        EngineText(kLogRecordWritten, p.dest + "\\unin.ini"),
        EngineText(kLogRecordWritten, WindowsDirectory() + "\\" + kRecord + ".ini"),
        EngineText(kLogRegistered, "HKEY_LOCAL_MACHINE", key),
        EngineText(kLogGroupCommand, "[CreateGroup(Velmora Quiet)]", "accepted"),
        EngineText(kLogInstalled)})
    EXPECT_TRUE(Logged(p.log, line)) << line << "\n" << ReadFileBytes(p.log);

  const std::string removeLog = p.target / "remove.log";
  const std::vector<std::string> copies = CleanUpCopies();
  EXPECT_EQ(RunToEnd(p.dest + "\\remove.exe", "/VERYSILENT /LOG=" + Quoted(removeLog), p.dest), 0u)
      << ReadFileBytes(removeLog);
  // remove.exe itself goes last, by a copy of it that ends after it, and leaves itself.
  EXPECT_TRUE(WaitUntil([&] { return !DirExists(p.dest); }, 30000));
  EXPECT_TRUE(WaitUntil([&] { return CleanUpCopies() == copies; }, 30000));
  EXPECT_FALSE(DirExists(p.group));
  EXPECT_FALSE(FileExists(WindowsDirectory() + "\\" + kRecord + ".ini"));
  EXPECT_FALSE(entry(uninstall));
  EXPECT_EQ(InstalledProgramsList().find(kRecord), std::string::npos);
  EXPECT_TRUE(Logged(removeLog, "Exit code 0: all removed")) << ReadFileBytes(removeLog);
}

// What stops a quiet run before anything is changed: exit code 1, the reason in the log, no
// window, and no destination.
TEST(Unattended, ARefusedQuietRunChangesNothingAndSaysWhyInItsLog) {
  struct Row {
    const char* switches;
    std::string script;
    std::string told;
  };
  const std::string badRecord = "\\Q\r\nQ\r\nQ 1.0\r\nq.exe\r\na*b\r\n:install\r\nQUIET.EX_\r\n";
  // The quote would close the AddItem's quoted command, and the server would carry out the
  // rest: another product's group deleted with its shortcuts.
  const std::string injected = "quiet.exe\"][DeleteGroup(Other)][AddItem(\"x";
  std::string badProgram = kScript;
  badProgram.replace(badProgram.find("quiet.exe"), 9, injected);
  const Row rows[] = {
      {"/VERYSILENT /FAST", kScript, "The switch \"/FAST\" is not known."},
      {"/SILENT", "", "Cannot open file setup.ini."},
      {"/VERYSILENT /DIR=relative\\dest", kScript,
       EngineText(kNotFullDestination, "relative\\dest") + "."},
      {"/SILENT", badRecord,
       EngineText(kBadRecordName, "a*b", EngineText(kRecordNameCharacter)) + "."},
      {"/VERYSILENT", badProgram,
       EngineText(kBadProgramFile, injected, EngineText(kProgramFileUnsendable)) + "."},
      {"/VERYSILENT /DIR=\\\\server\\share\\dest", kScript,
       EngineText(kShareDestination, "\\\\server\\share\\dest") + "."},
      {"/VERYSILENT /GROUP=Tools.", kScript,
       EngineText(kBadShortcutName, EngineText(kGroupNameWord), "Tools.",
                  EngineText(kShortcutNameEdge)) + "."},
  };
  // Whatever a refused run was given, no command reaches the program-group server.
  ProgmanServer server;
  for (const Row& r : rows) {
    Product p(r.script, !r.script.empty());
    const std::string dirSwitch = std::string(r.switches).find("/DIR") == std::string::npos
                                      ? " " + Quoted("/DIR=" + p.dest) : "";
    EXPECT_EQ(RunToEnd(p.dir / "SETUP.EXE", std::string(r.switches) + dirSwitch + " /LOG=" + Quoted(p.log),
                       p.dir.Path()),
              1u)
        << r.switches;
    EXPECT_TRUE(Logged(p.log, r.told)) << r.told << "\n" << ReadFileBytes(p.log);
    EXPECT_TRUE(Logged(p.log, EngineText(kLogNothingChanged))) << r.switches;
    EXPECT_FALSE(DirExists(p.dest)) << r.switches;
  }
  EXPECT_EQ(server.Executes(), std::vector<std::string>{});
}

TEST(Unattended, ASilentRunThatMissesAFileInstallsTheRestAndEndsWithTwo) {
  WithWindow window;
  Product p(kScript + "MISSING.TXT\r\n");
  // Started in a folder without a script: the one beside setup.exe is read.
  TempDir elsewhere("elsewhere");
  ASSERT_EQ(RunToEnd(p.dir / "SETUP.EXE", "/SILENT " + Quoted("/DIR=" + p.dest) + " /LOG=" + Quoted(p.log),
                     elsewhere.Path()),
            2u);
  CloseShellFolderWindows(kGroup);
  EXPECT_TRUE(FileExists(p.dest + "\\quiet.exe"));
  EXPECT_TRUE(FileExists(p.group + "\\Velmora Quiet 1.0.lnk"));
  const std::string text = ReadFileBytes(p.log);
  EXPECT_NE(text.find(" Not copied: MISSING.TXT to " + p.dest + "\\MISSING.TXT: "), std::string::npos) << text;
  EXPECT_TRUE(Logged(p.log, EngineText(kLogInstalledWithFailures))) << text;
}

// What ends a quiet run of either program at its start: a log that cannot be written or is
// refused (a relative path, a device, the "\\.\" form), before anything else and with nothing
// written (no box, not even the usage's; exit code 1), and for remove.exe too a switch it does
// not know, told after what the log file already held.
TEST(Unattended, AQuietRunThatCannotStartEndsWithOne) {
  Product p;
  const std::string remove = p.dir / "remove.exe";
  CopyFileA(ProductExe("remove").c_str(), remove.c_str(), FALSE);
  const std::string badLogs[] = {p.target / "missing\\run.log", "run.log",
                                 "\\\\.\\" + p.target / "dot.log", p.target / "CON.log"};
  for (const std::string& log : badLogs) {
    const std::string noLog = "/VERYSILENT /? /LOG=" + Quoted(log);
    EXPECT_EQ(RunToEnd(p.dir / "SETUP.EXE", noLog, p.dir.Path()), 1u) << log;
    EXPECT_EQ(RunToEnd(remove, noLog, p.dir.Path()), 1u) << log;
  }
  EXPECT_EQ(FileNames(p.target.Path()), std::vector<std::string>{});
  EXPECT_FALSE(FileExists(p.dir / "run.log"));
  WriteFileBytes(p.log, "an earlier run\r\n");
  EXPECT_EQ(RunToEnd(remove, "/SILENT /FAST /LOG=" + Quoted(p.log), p.dir.Path()), 1u);
  const std::string text = ReadFileBytes(p.log);
  EXPECT_EQ(text.substr(0, 16), "an earlier run\r\n") << text;
  EXPECT_TRUE(Logged(p.log, "The switch \"/FAST\" is not known.")) << text;
  EXPECT_TRUE(Logged(p.log, "Exit code 1: nothing was removed")) << text;
}

// Without /SILENT or /VERYSILENT a bad switch and /? are told in a box, by either program.
TEST(Unattended, ByHandTheUsageIsShownInABox) {
  struct Row {
    const char* exe;
    const char* title;
    const char* switches;
    DWORD code;
    const char* usage;
  };
  const Row rows[] = {{"SETUP.EXE", "Setup", "/?", 0, "Usage: setup [/SILENT | /VERYSILENT]"},
                      {"SETUP.EXE", "Setup", "/DIR", 1, "Usage: setup [/SILENT | /VERYSILENT]"},
                      {"remove.exe", "remove", "/?", 0, "Usage: remove [/SILENT | /VERYSILENT]"}};
  for (const Row& r : rows) {
    Product p;
    CopyFileA(ProductExe("remove").c_str(), (p.dir / "remove.exe").c_str(), FALSE);
    RunningProgram program(p.dir / r.exe, r.switches, p.dir.Path());
    HWND box = drv::WaitDialog(r.title, 20000, program.Id());
    const std::string text = drv::MessageText(box);
    EXPECT_NE(text.find(r.usage), std::string::npos) << text;
    EXPECT_EQ(text.find("needs a value") != std::string::npos, r.code == 1) << text;
    drv::PressButton(box, "OK");
    ASSERT_TRUE(program.WaitExit(10000));
    EXPECT_EQ(program.ExitCode(), r.code);
    EXPECT_FALSE(DirExists(p.dest));
  }
}

// remove.exe started through another drive letter for the destination's folder (as a mapped or
// substituted drive has it) finds the location record that names the folder as the installer
// wrote it, and removes the product. Run by tests/RemoveDrives_test.sh, which maps the letter in
// VELMORA_ALIAS_DRIVE to C:\\vtest_alias in a prefix of its own.
TEST(UnattendedDrives, ARemovalThroughAnotherDriveLetterForTheFolderRemovesTheProduct) {
  const char* letter = getenv("VELMORA_ALIAS_DRIVE");
  if (!letter || !*letter) GTEST_SKIP() << "no drive prepared (tests/RemoveDrives_test.sh)";
  WithWindow window;
  Product p;
  const std::string dest = "C:\\vtest_alias\\Alias Dest", alias = std::string(letter) + ":\\Alias Dest";
  Leftovers installed{{dest}, {}};
  ASSERT_EQ(RunToEnd(p.dir / "SETUP.EXE", "/VERYSILENT " + Quoted("/DIR=" + dest) + " /LOG=" + Quoted(p.log),
                     p.dir.Path()), 0u) << ReadFileBytes(p.log);
  CloseShellFolderWindows(kGroup);
  ASSERT_TRUE(FileExists(alias + "\\quiet.exe")) << "the letter names the destination's folder";
  const std::string removeLog = p.target / "remove.log";
  EXPECT_EQ(RunToEnd(alias + "\\remove.exe", "/VERYSILENT /LOG=" + Quoted(removeLog), alias), 0u)
      << ReadFileBytes(removeLog);
  EXPECT_TRUE(WaitUntil([&] { return !DirExists(dest); }, 30000)) << ReadFileBytes(removeLog);
  EXPECT_FALSE(DirExists(p.group));
  EXPECT_FALSE(FileExists(WindowsDirectory() + "\\" + kRecord + ".ini"));
  TakePendingDeletions();
}
