// Whole installation runs in temporary directories, the records checked byte for byte.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <set>

#include "dde/DdeMgr.h"
#include "engine/ScriptStore.h"
#include "engine/Unit3.h"
#include "engine/WindowsDir.h"
#include "support/BoxWatcher.h"
#include "support/Files.h"
#include "support/Progman.h"
#include "support/Records.h"
#include "ui/Application.h"
#include "ui/FileHandle.h"

namespace {
class Install : public ::testing::Test {
protected:
  // One program-group server of our own for the suite: Wine's shell would open a folder window
  // for every group, and those windows take the activation from later tests.
  static void SetUpTestSuite() { server = new ProgmanServer; }
  static void TearDownTestSuite() {
    delete server;
    server = nullptr;
  }
  static ProgmanServer* server;

  void SetUp() override {
    InitApplication();
    InitDdeManager();
    host = new TForm(Application, TFormDef{"host", 100, 100});
    s = new TEdit(host);
    s->Define(host, "s", 0, 0, 100, 20);
    d = new TEdit(host);
    d->Define(host, "d", 0, 30, 100, 20);
    Application->CreateForm(dialog);
    dialog->ini = &ini;
    dialog->s = s;
    dialog->d = d;
    windowsDir = WindowsDirectory();
    if (!snapshotTaken) groupsBefore = Groups();  // a test that sets up again keeps the first
    snapshotTaken = true;
  }
  void TearDown() override {
    DoneApplication();
    // The server made the runs' groups in the folder the main window lists; they go again once
    // it has ended every conversation, and with it every command.
    WaitUntil(
        [] {
          int open = 0;
          for (const ProgmanRecord& r : server->Log())
            open += r.kind == "connect" ? 1 : r.kind == "disconnect" ? -1 : 0;
          return open == 0;
        },
        10000);
    for (const std::string& g : Groups())
      if (!groupsBefore.count(g)) RemoveTree(windowsDir + "\\Start Menu\\Programs\\" + g);
    if (!record.empty()) DeleteFileA(LocationRecord().c_str());
  }

  // Runs the installation as Install does and closes the dialog once it waits.
  void Run(const std::string& script, const std::string& source, const std::string& dest) {
    WriteFileBytes(work / "setup.ini", script);
    ini.Load(work / "setup.ini");
    record = ini.Count() > 4 ? ini.Line(4) : std::string();
    toldBefore = boxes.Seen().size();
    s->SetText(source);
    d->SetText(dest);
    // The dialog is closed once its activation, the run, has ended, however it ended: a close
    // asked for earlier would be taken by the loop of a message box shown during the run.
    auto run = dialog->OnActivate;
    dialog->OnActivate = [this, run](TComponent& sender) {
      struct CloseAfter {
        HWND hwnd;
        ~CloseAfter() { PostMessageA(hwnd, WM_CLOSE, 0, 0); }
      } closer{dialog->Handle()};
      // An error ends the run with the error box, as it does in the program; it is shown here
      // so that the close comes after the box rather than being taken by the box's loop.
      try {
        run(sender);
      } catch (const std::exception& e) {
        Application->HandleException(e);
      }
    };
    dialog->ShowModal();
    dialog->OnActivate = run;
  }
  std::set<std::string> Groups() const {
    const std::vector<std::string> names = FolderNames(windowsDir + "\\Start Menu\\Programs");
    return std::set<std::string>(names.begin(), names.end());
  }
  std::set<std::string> groupsBefore;
  bool snapshotTaken = false;
  std::string LocationRecord() const { return windowsDir + "\\" + record + ".ini"; }
  std::string Lines(std::initializer_list<std::string> lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
  }
  std::string Group(const std::string& name) {
    return windowsDir + "\\Start Menu\\Programs\\" + name + "\\";
  }
  // What the run said, in order.
  std::vector<std::string> Told() {
    std::vector<std::string> texts;
    const std::vector<SeenBox> seen = boxes.Seen();
    for (size_t k = toldBefore; k < seen.size(); ++k) texts.push_back(seen[k].text);
    return texts;
  }
  // The conversations the program-group server had so far; a run that made no group adds none.
  size_t Connects() const {
    size_t n = 0;
    for (const ProgmanRecord& r : server->Log()) n += r.kind == "connect" ? 1 : 0;
    return n;
  }
  // The run is over and the group step, when it came, has been answered.
  bool GroupMade(const std::string& name, size_t answersBefore) {
    return server->WaitAnswers(answersBefore + 1) && DirExists(Group(name));
  }
  size_t Answers() const {
    size_t n = 0;
    for (const ProgmanRecord& r : server->Log()) n += r.kind == "ack" || r.kind == "not processed";
    return n;
  }
  int Progress() {
    return static_cast<int>(SendMessageA(dialog->progress->Handle(), PBM_GETPOS, 0, 0));
  }

  TempDir work{"install"};
  BoxWatcher boxes;
  size_t toldBefore = 0;
  TScriptStore ini;
  TForm* host = nullptr;
  TEdit* s = nullptr;
  TEdit* d = nullptr;
  Tcopyfiles* dialog = nullptr;
  std::string windowsDir, record;
};
ProgmanServer* Install::server = nullptr;
}  // namespace

TEST_F(Install, TheExampleScriptCopiesRestoresAndRecords) {
  std::string src = work / "src", dest = work / "dest\\Widget";
  CreateDirectoryA(src.c_str(), nullptr);
  WriteFileBytes(src + "\\WIDGET.EX_", "program");
  WriteFileBytes(src + "\\readme.txt", "read me");
  record = "vtest_example";
  Run("\\Widget\r\nWidget\r\nWidget 2.0\r\nwidget.exe\r\nvtest_example\r\n:install\r\n"
      "WIDGET.EX_\r\nreadme.txt\r\n\r\n:ini\r\n~\\widget.ini\r\n>\r\n:end\r\n",
      src, dest);
  EXPECT_EQ(ReadFileBytes(dest + "\\widget.exe"), "program");
  EXPECT_EQ(ReadFileBytes(dest + "\\readme.txt"), "read me");
  EXPECT_EQ(ReadFileBytes(dest + "\\unin.ini"),
            Lines({"Widget 2.0", dest + "\\widget.exe", dest + "\\readme.txt",
                   "ini~\\widget.ini", "ini>", "ini:end", Group("Widget") + "Widget 2.0.lnk",
                   Group("Widget") + "Widget 2.0 Uninstaller.lnk", "+" + Group("Widget"), ":end"}));
  EXPECT_EQ(ReadFileBytes(LocationRecord()),
            Lines({":run", dest, dest + "\\widget.ini", windowsDir}));
  EXPECT_EQ(dialog->Label1->Caption(), "Click DONE to exit.");
  EXPECT_TRUE(dialog->Button1->Visible());
  EXPECT_EQ(Progress(), 100);
  // The ini lines are recorded, but they name no files: nothing failed, so nothing is told.
  EXPECT_EQ(Told(), std::vector<std::string>{});
}

TEST_F(Install, EveryLineFromTheRecordNameOnIsAnEntryOrAMarkerOfTheCopyPass) {
  // The sources are missing (or the script names none), so the records show the pass alone.
  struct Row {
    const char* what;
    std::string script;
    const char* lastTarget;              // nullptr: the uninstall record is not compared
    std::vector<std::string> entries;    // of the uninstall record, after the title
    std::vector<std::string> location;   // after ":run" and the destination
  };
  const std::string dest = work / "pass";
  CreateDirectoryA(dest.c_str(), nullptr);
  const std::string win = windowsDir + "\\";
  const Row rows[] = {
      {"a five-line script copies nothing", "\\p\nP\nP 1\np.exe\nvtest_pass", "", {}, {}},
      {"a marker inside a section is also a file entry; missing sources are recorded",
       "\\p\nP\nP 1\np.exe\nvtest_pass\n:install\nmissing.txt\n:win\nother.txt\n", win.c_str(),
       {dest + "\\missing.txt", dest + "\\:win", win + "other.txt"},
       {}},
      {"two ini sections add their lines in order; an open section ends with the script",
       "\\p\nP\nP 1\np.exe\nvtest_pass\n:ini\n~\\one\n:x\n\n:ini\n>\n\n~\\two", nullptr,
       {},
       {dest + "\\one", windowsDir, dest + "\\two"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    WriteFileBytes(dest + "\\p.exe", "already there");  // no wait for the program file
    Run(row.script, work.Path(), dest);
    if (row.lastTarget) {
      std::vector<std::string> uninstall = {"P 1"};
      uninstall.insert(uninstall.end(), row.entries.begin(), row.entries.end());
      for (const std::string& l : {Group("P") + "P 1.lnk", Group("P") + "P 1 Uninstaller.lnk",
                                   "+" + Group("P"), ":" + std::string(row.lastTarget)})
        uninstall.push_back(l);
      EXPECT_EQ(RecordLines(dest + "\\unin.ini"), uninstall);
    }
    std::vector<std::string> location = {":run", dest};
    location.insert(location.end(), row.location.begin(), row.location.end());
    EXPECT_EQ(RecordLines(LocationRecord()), location);
    DoneApplication();
    SetUp();
  }
}

TEST_F(Install, LineEndsOfAnyKindGiveTheSameRun) {
  std::string src = work / "src";
  CreateDirectoryA(src.c_str(), nullptr);
  WriteFileBytes(src + "\\a.txt", "A");
  std::string expected;
  int round = 0;
  for (const char* eol : {"\r\n", "\r", "\n"}) {
    std::string dest = work / ("dest" + std::to_string(++round));
    std::string script = std::string("\\x") + eol + "G" + eol + "T" + eol + "a.txt" + eol +
                         "vtest_eol" + eol + ":install" + eol + "a.txt" + eol;
    Run(script, src, dest);
    std::string unin = ReadFileBytes(dest + "\\unin.ini");
    std::string normalised = unin;
    size_t at;
    while ((at = normalised.find(dest)) != std::string::npos) normalised.replace(at, dest.size(), "D");
    if (expected.empty()) expected = normalised;
    EXPECT_EQ(normalised, expected) << "line ends " << static_cast<int>(eol[0]);
    EXPECT_EQ(ReadFileBytes(dest + "\\a.txt"), "A");
    DoneApplication();
    SetUp();
  }
}

TEST_F(Install, EachMarkerNamesItsTargetDirectoryAndOnlyAnExactNameIsKnown) {
  // The sources are missing, so nothing is copied anywhere; the records show where each would go.
  std::string dest = work / "targets";
  CreateDirectoryA(dest.c_str(), nullptr);
  WriteFileBytes(dest + "\\t.exe", "");  // the program file is there: no wait for it
  struct Row {
    const char* marker;
    std::string target;
  };
  for (const Row& row : {Row{"install", dest + "\\"}, Row{"win", windowsDir + "\\"},
                         Row{"win\\system", windowsDir + "\\system\\"},
                         Row{"installed", "installed"}, Row{"Win", "Win"},
                         Row{"win\\system32", "win\\system32"}}) {
    Run(std::string("\\t\nT\nT 1\nt.exe\nvtest_targets\n:") + row.marker + "\nabsent.txt\n",
        work.Path(), dest);
    EXPECT_EQ(ReadFileBytes(dest + "\\unin.ini"),
              Lines({"T 1", row.target + "absent.txt", Group("T") + "T 1.lnk",
                     Group("T") + "T 1 Uninstaller.lnk", "+" + Group("T"), ":" + row.target}))
        << row.marker;
    DoneApplication();
    SetUp();
  }
}

TEST_F(Install, ARecordNameThatIsAMarkerOpensItsSection) {
  // The copy pass starts at the record name: its files follow it at once. Whether the system
  // takes ":install" as a file name for the record does not matter here.
  std::string src = work / "src", dest = work / "named";
  CreateDirectoryA(src.c_str(), nullptr);
  WriteFileBytes(src + "\\n.txt", "n");
  Run("\\n\nN\nN 1\nn.txt\n:install\nn.txt\n", src, dest);
  EXPECT_EQ(ReadFileBytes(dest + "\\n.txt"), "n");
  const std::string head = Lines({"N 1", dest + "\\n.txt"});
  EXPECT_EQ(ReadFileBytes(dest + "\\unin.ini").substr(0, head.size()), head);
}

TEST_F(Install, ExistingTargetsAndRecordsAreReplaced) {
  std::string src = work / "src", dest = work / "rep";
  CreateDirectoryA(src.c_str(), nullptr);
  CreateDirectoryA(dest.c_str(), nullptr);
  WriteFileBytes(src + "\\r.txt", "new");
  WriteFileBytes(dest + "\\r.txt", "old and longer");
  WriteFileBytes(dest + "\\unin.ini", std::string(5000, 'x'));
  Run("\\r\nR\nR 1\nr.txt\nvtest_rep\n:install\nr.txt\n", src, dest);
  EXPECT_EQ(ReadFileBytes(dest + "\\r.txt"), "new");
  EXPECT_EQ(ReadFileBytes(dest + "\\unin.ini").substr(0, 5), "R 1\r\n");
  EXPECT_LT(ReadFileBytes(dest + "\\unin.ini").size(), 5000u);
}

TEST_F(Install, ADestinationWithATrailingBackslashDoublesIt) {
  std::string src = work / "src", dest = work / "slash\\";
  CreateDirectoryA(src.c_str(), nullptr);
  WriteFileBytes(src + "\\t.txt", "t");
  Run("\\t\nT\nT 1\nt.txt\nvtest_slash\n:install\nt.txt\n", src, dest);
  std::string unin = ReadFileBytes(dest + "\\unin.ini");
  EXPECT_NE(unin.find(dest + "\\t.txt"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(work / "slash\\t.txt"), "t");
}

TEST_F(Install, ADestinationThatCannotBeMadeIsToldAndNothingIsLeft) {
  WriteFileBytes(work / "file", "a file, not a directory");
  struct Row {
    const char* what;
    std::string dest;
    DWORD error;
  } rows[] = {
      {"a file stands in the way", work / "file\\dest", ERROR_ALREADY_EXISTS},
      // Five levels can be made; the sixth is longer than the platform allows.
      {"the sixth level is too long", work / ("l1\\l2\\l3\\l4\\l5\\" + std::string(300, 'n')),
       ERROR_FILENAME_EXCED_RANGE},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const size_t connects = Connects();
    Run("\\b\nB\nB 1\nb.txt\nvtest_bad\n:install\nb.txt\n", work.Path(), row.dest);
    EXPECT_EQ(Told(), std::vector<std::string>{"The destination directory " + row.dest +
                                               " cannot be created: " + SystemText(row.error) +
                                               ". Nothing has been installed."});
    EXPECT_FALSE(dialog->Button1->Visible());
    EXPECT_EQ(Progress(), 0) << "nothing was copied";
    EXPECT_FALSE(DirExists(work / "l1")) << "the levels made are removed";
    EXPECT_FALSE(FileExists(LocationRecord()));
    EXPECT_EQ(Connects(), connects) << "no program group";
    DoneApplication();
    SetUp();
  }
}

TEST_F(Install, AScriptOfFewerThanFiveLinesStopsBeforeAnythingIsMade) {
  const size_t connects = Connects();
  Run("\\a\nA\nA 1\na.exe\n", work.Path(), work / "short");
  EXPECT_EQ(Told(), std::vector<std::string>{"List index out of bounds."});
  EXPECT_FALSE(dialog->Button1->Visible());
  EXPECT_FALSE(DirExists(work / "short"));
  EXPECT_EQ(Connects(), connects);
}

TEST_F(Install, FilesThatCannotBeCopiedAreToldOnceAndStillRecorded) {
  std::string src = work / "src", dest = work / "told";
  CreateDirectoryA(src.c_str(), nullptr);
  WriteFileBytes(src + "\\here.txt", "here");
  std::string script = "\\t\nT\nT 1\nhere.txt\nvtest_told\n:install\nhere.txt\n";
  for (int k = 1; k <= 12; ++k) script += "gone" + std::to_string(k) + ".tx_\n";
  const size_t answers = Answers();
  Run(script, src, dest);

  std::string listed = "12 of the files could not be copied:";
  for (int k = 1; k <= 10; ++k)
    listed += "\ngone" + std::to_string(k) + ".tx_ to " + dest + "\\gone" + std::to_string(k) +
              ".txe: " + SystemText(ERROR_FILE_NOT_FOUND) + ".";
  listed += "\n... and 2 more.";
  EXPECT_EQ(Told(), std::vector<std::string>{listed});
  EXPECT_EQ(dialog->Label1->Caption(), "Click DONE to exit.");
  EXPECT_TRUE(dialog->Button1->Visible());
  // Every entry keeps its line: the uninstaller goes by them.
  std::vector<std::string> files{dest + "\\here.txt"};
  for (int k = 1; k <= 12; ++k) files.push_back(dest + "\\gone" + std::to_string(k) + ".txe");
  EXPECT_EQ(RecordedFiles(dest + "\\unin.ini"), files);
  EXPECT_EQ(ReadFileBytes(dest + "\\here.txt"), "here");
  EXPECT_FALSE(FileExists(dest + "\\gone1.txe"));
  EXPECT_TRUE(GroupMade("T", answers));
}

TEST_F(Install, MoreThanTheFreeSpaceIsRefusedBeforeAnythingIsMade) {
  std::string src = work / "src", dest = work / "huge";
  CreateDirectoryA(src.c_str(), nullptr);
  // A sparse file: as large as a disk to the space check, nothing on the disk itself. It stays
  // open and unshared, so that a run that did not check could not copy a byte of it either.
  FileHandle huge(CreateFileA((src + "\\HUGE.DA_").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(huge.Valid());
  LARGE_INTEGER size;
  size.QuadPart = 1LL << 40;
  ASSERT_TRUE(SetFilePointerEx(huge.Get(), size, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(huge.Get()));
  char root[MAX_PATH + 1] = {};
  ASSERT_TRUE(GetVolumePathNameA(work.Path().c_str(), root, sizeof root));
  ULARGE_INTEGER free;
  ASSERT_TRUE(GetDiskFreeSpaceExA(work.Path().c_str(), &free, nullptr, nullptr));
  const size_t connects = Connects();
  Run("\\h\nH\nH 1\nhuge.da\nvtest_huge\n:install\nHUGE.DA_\n", src, dest);
  const std::vector<std::string> told = Told();
  ASSERT_EQ(told.size(), 1u);
  const std::string start = "There is not enough space on " + std::string(root) +
                            " for the installation: it needs 1073741824 KB there, and ";
  EXPECT_EQ(told[0].substr(0, start.size()), start) << told[0];
  EXPECT_NE(told[0].find(" KB are free. Nothing has been installed."), std::string::npos);
  EXPECT_FALSE(DirExists(dest));
  EXPECT_FALSE(FileExists(LocationRecord()));
  EXPECT_FALSE(dialog->Button1->Visible());
  EXPECT_EQ(Connects(), connects);
}

TEST_F(Install, ARecordThatCannotBeWrittenIsToldTheEarlierOneKeptAndNoGroupMade) {
  std::string dest = work / "kept";
  CreateDirectoryA(dest.c_str(), nullptr);
  WriteFileBytes(dest + "\\unin.ini", "an earlier installation\r\n");
  const size_t connects = Connects();
  {
    // Another holder keeps the record open and lets no one replace it.
    FileHandle holder(CreateFileA((dest + "\\unin.ini").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.Valid());
    Run("\\k\nK\nK 1\nk.exe\nvtest_kept\n", work.Path(), dest);
  }
  const std::vector<std::string> told = Told();
  ASSERT_EQ(told.size(), 2u) << "the missing program file, then the record";
  const std::string record = dest + "\\unin.ini";
  const std::string start = "The installation record " + record + " cannot be written: ";
  EXPECT_EQ(told[1].substr(0, start.size()), start) << told[1];
  EXPECT_NE(told[1].find(": " + SystemText(ERROR_ACCESS_DENIED) + ". ") , std::string::npos)
      << told[1];
  EXPECT_NE(told[1].find(". " + record + " still holds the record of an earlier installation, "
                         "which does not describe this one. No program group has been made."),
            std::string::npos)
      << told[1];
  EXPECT_EQ(ReadFileBytes(record), "an earlier installation\r\n");
  EXPECT_FALSE(FileExists(LocationRecord())) << "the second record is not begun";
  EXPECT_EQ(FolderNames(dest), std::vector<std::string>{}) << "nothing of the attempt is left";
  EXPECT_FALSE(dialog->Button1->Visible());
  EXPECT_EQ(Connects(), connects);
}

TEST_F(Install, TheBarFollowsTheScriptLineOfEachEntry) {
  // The run stops at its location record, which cannot be written, so the bar shows where the
  // copy pass left it: the entry on the last line sets 100, with Count = 11 one on line 6 sets 60.
  struct Row {
    const char* script;
    int position;
  } rows[] = {
      {"\\c\nC\nC 1\nc.txt\nvtest_no_dir\\c\n:install\nc.txt\n", 100},
      {"\\c\nC\nC 1\nc.txt\nvtest_no_dir\\c\n:install\nc.txt\n\nfree\ntext\nhere", 60},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.position);
    std::string dest = work / ("bar" + std::to_string(row.position));
    const size_t connects = Connects();
    Run(row.script, work.Path(), dest);
    EXPECT_EQ(Progress(), row.position);
    const std::vector<std::string> told = Told();
    ASSERT_EQ(told.size(), 2u) << "the failed copy, then the record";
    EXPECT_EQ(told[1], "The installation record " + windowsDir + "\\vtest_no_dir\\c.ini cannot be "
                       "written: " + SystemText(ERROR_PATH_NOT_FOUND) +
                       ". No program group has been made.");
    EXPECT_TRUE(FileExists(dest + "\\unin.ini")) << "the first record is whole";
    EXPECT_EQ(Connects(), connects);
    DoneApplication();
    SetUp();
  }
}
