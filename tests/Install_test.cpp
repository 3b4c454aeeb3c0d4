// Whole installation runs in temporary directories, the records checked byte for byte.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <set>

#include "dde/DdeMgr.h"
#include "engine/InstallFiles.h"
#include "engine/ScriptStore.h"
#include "engine/Unit3.h"
#include "engine/WindowsDir.h"
#include "support/BoxWatcher.h"
#include "support/Files.h"
#include "support/Progman.h"
#include "support/Program.h"
#include "support/Records.h"
#include "support/Wait.h"
#include "ui/Application.h"
#include "platform/Errors.h"
#include "platform/FileHandle.h"
#include "setupcore/CopyPlan.h"

namespace {
// A file of the system's that a faulty run could replace: put back as it was, whatever happens.
struct KeptFile {
  std::string path, bytes = ReadFileBytes(path);
  bool there = FileExists(path);
  ~KeptFile() {
    if (there && ReadFileBytes(path) != bytes) WriteFileBytes(path, bytes);
  }
};

// A copy of this test program carrying a version resource of the given file version: a library
// as a product ships one, read only as data.
void WriteVersioned(const std::string& path, WORD major, WORD minor) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  ASSERT_TRUE(CopyFileA(self, path.c_str(), FALSE));
  std::string block(40, '\0');  // the block's length, the fixed part's, type; the key; padding
  const std::wstring key = L"VS_VERSION_INFO";
  memcpy(&block[6], key.c_str(), (key.size() + 1) * sizeof(wchar_t));
  VS_FIXEDFILEINFO fixed = {};
  fixed.dwSignature = 0xFEEF04BD;
  fixed.dwStrucVersion = 0x10000;
  fixed.dwFileVersionMS = fixed.dwProductVersionMS = MAKELONG(minor, major);
  block.append(reinterpret_cast<const char*>(&fixed), sizeof fixed);
  const WORD sizes[2] = {static_cast<WORD>(block.size()), static_cast<WORD>(sizeof fixed)};
  memcpy(&block[0], sizes, sizeof sizes);
  HANDLE update = BeginUpdateResourceA(path.c_str(), FALSE);
  ASSERT_NE(update, nullptr);
  ASSERT_TRUE(UpdateResourceA(update, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1),
                              MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &block[0],
                              static_cast<DWORD>(block.size())));
  ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
}

void SetLastWrite(const std::string& path, int daysAgo) {
  HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
  t.QuadPart -= static_cast<unsigned long long>(daysAgo) * 864000000000ULL;
  FILETIME then{t.LowPart, t.HighPart};
  SetFileTime(h, nullptr, nullptr, &then);
  CloseHandle(h);
}
class Install : public ProgmanSuite {
protected:
  void SetUp() override {
    InitApplication();
    InitDdeManager();
    Application->CreateForm(dialog);
    dialog->programsDir = StartMenuPrograms();
    windowsDir = WindowsDirectory();
    if (!snapshotTaken) groupsBefore = Groups();  // a test that sets up again keeps the first
    snapshotTaken = true;
  }
  void TearDown() override {
    DoneApplication();
    // The server made the runs' groups in the folder the main window lists; they go again once
    // it has ended every conversation, and with it every command.
    WaitUntil([] { return server->Count("connect") == server->Count("disconnect"); }, 10000);
    for (const std::string& g : Groups())
      if (!groupsBefore.count(g)) RemoveTree(StartMenuPrograms() + "\\" + g);
    if (!record.empty()) Leftovers{{}, {LocationRecord()}};
  }

  // Runs the installation as Install does, in the folder the script proposes, and closes the
  // dialog once it waits.
  void Run(const std::string& script, const std::string& source, const std::string& dest) {
    WriteFileBytes(work / "setup.ini", script);
    TScriptStore ini;
    ini.Load(work / "setup.ini");
    record = ini.Count() > 4 ? ini.Line(4) : std::string();
    toldBefore = boxes.Seen().size();
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
    dialog->Open(InstallInputs{source, dest, ini, ini.Count() > 1 ? ini.Line(1) : std::string()});
    dialog->OnActivate = run;
  }
  std::set<std::string> Groups() const {
    const std::vector<std::string> names = FolderNames(StartMenuPrograms());
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
  // What the run said, in order.
  std::vector<std::string> Told() {
    std::vector<std::string> texts;
    const std::vector<SeenBox> seen = boxes.Seen();
    for (size_t k = toldBefore; k < seen.size(); ++k) texts.push_back(seen[k].text);
    return texts;
  }

  TempDir work{"install"};
  BoxWatcher boxes;
  size_t toldBefore = 0;
  Tcopyfiles* dialog = nullptr;
  std::string windowsDir, record;
};
}  // namespace

TEST_F(Install, TheExampleScriptCopiesRestoresAndRecords) {
  std::string src = work / "src", dest = work / "dest\\Widget";
  const std::string group = StartMenuPrograms() + "\\Widget\\";
  CreateDirectoryA(src.c_str(), nullptr);
  WriteFileBytes(src + "\\WIDGET.EX_", "program");
  WriteFileBytes(src + "\\readme.txt", "read me");
  record = "vtest_example";
  // The destination as typed, with doubled and trailing backslashes: the run and the records
  // name it made full.
  Run("\\Widget\r\nWidget\r\nWidget 2.0\r\nwidget.exe\r\nvtest_example\r\n:install\r\n"
      "WIDGET.EX_\r\nreadme.txt\r\n\r\n:ini\r\n~\\widget.ini\r\n>\r\n:end\r\n",
      src, work.Path() + "\\\\dest\\\\Widget\\\\");
  EXPECT_EQ(ReadFileBytes(dest + "\\widget.exe"), "program");
  EXPECT_EQ(ReadFileBytes(dest + "\\readme.txt"), "read me");
  EXPECT_EQ(ReadFileBytes(dest + "\\unin.ini"),
            Lines({"Widget 2.0", dest + "\\widget.exe", dest + "\\readme.txt",
                   "ini~\\widget.ini", "ini>", "ini:end", group + "Widget 2.0.lnk",
                   group + "Widget 2.0 Uninstaller.lnk", "+" + group, ":end"}));
  EXPECT_EQ(ReadFileBytes(LocationRecord()),
            Lines({":run", dest, dest + "\\widget.ini", windowsDir}));
  EXPECT_EQ(dialog->Label1->Caption(), "Click DONE to exit.");
  EXPECT_TRUE(dialog->Button1->Visible());
  EXPECT_EQ(SendMessageA(dialog->progress->Handle(), PBM_GETPOS, 0, 0), 100);
  // The ini lines are recorded, but they name no files: nothing failed, so nothing is told.
  EXPECT_EQ(Told(), std::vector<std::string>{});
}

TEST_F(Install, WhatWouldReachBeyondTheInstallationIsRefusedBeforeAnythingIsChanged) {
  std::string src = work / "src";
  // Another product's record, reached from the Windows directory by climbing out of it.
  Make(work.Path(), {"src\\", "src\\t.txt", "other\\"});
  WriteFileBytes(work / "other\\unin.ini", "another product's record\r\n");
  const std::string climb = "..\\" + work.Path().substr(3) + "\\other\\unin";
  const std::string dest = work / "refused";
  Leftovers left{{}, {windowsDir + "\\vtest_refused.ini", windowsDir + "\\vtest_own.ini"}};
  auto script = [](const std::string& group, const std::string& title, const std::string& name) {
    return "\\r\n" + group + "\r\n" + title + "\r\nt.txt\r\n" + name + "\r\n:install\r\nt.txt\r\n";
  };
  const std::string nothing = ". Nothing has been installed.";
  auto badName = [&](const std::string& name, const std::string& why) {
    return "The setup script names the installation record \"" + name + "\", which " + why + nothing;
  };
  const struct {
    const char* what;
    std::string script, dest, told;
  } rows[] = {
      {"win.ini", script("R", "R 1", "win"), dest,
       windowsDir + "\\win.ini is already there and is not this product's installation record; it is "
       "not replaced" + nothing},
      {"another product's record", script("R", "R 1", climb), dest,
       badName(climb, "holds one of \\ / : * ? \" < > |")},
      {"an empty name", script("R", "R 1", ""), dest, badName("", "is empty")},
      {"a device", script("R", "R 1", "Nul.x"), dest, badName("Nul.x", "is the name of a device")},
      {"the directory above", script("R", "R 1", ".."), dest,
       badName("..", "names the directory above")},
      {"a title with a bracket", script("R", "R]1[", "vtest_refused"), dest,
       "The product title \"R]1[\" holds a double quote or a bracket, which the program group "
       "cannot take" + nothing},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    KeptFile win{windowsDir + "\\win.ini"}, system{windowsDir + "\\system.ini"};
    Run(row.script, src, row.dest);
    record.clear();  // never the test's to remove
    EXPECT_EQ(Told(), std::vector<std::string>{row.told});
    EXPECT_FALSE(DirExists(dest));
    EXPECT_FALSE(FileExists(windowsDir + "\\vtest_refused.ini"));
    EXPECT_EQ(ReadFileBytes(win.path), win.bytes);
    EXPECT_EQ(ReadFileBytes(system.path), system.bytes);
    EXPECT_EQ(ReadFileBytes(work / "other\\unin.ini"), "another product's record\r\n");
  }
  // This product's own earlier record, its destination typed then with a backslash, is replaced.
  WriteFileBytes(windowsDir + "\\vtest_own.ini", ":run\r\n" + dest + "\\\r\n");
  Run(script("R", "R 1", "vtest_own"), src, dest);
  EXPECT_EQ(Told(), std::vector<std::string>{});
  EXPECT_EQ(ReadFileBytes(LocationRecord()), Lines({":run", dest}));
}

TEST_F(Install, EntriesThatWouldLeaveTheirPlaceAreListedAndNothingIsWrittenThroughThem) {
  std::string src = work / "src", dest = work / "dest", outside = work / "outside";
  Make(work.Path(), {"src\\", "dest\\", "outside\\", "src\\lnk\\"});
  // No file can be named like a device, so the product cannot hold nul.txt or Com9.dat either.
  for (const char* name : {"lnk\\a.txt", "own.txt", "s.dll", "ro.txt", "ro2.txt", "plain.txt"})
    WriteFileBytes(src + "\\" + name, name);
  SetFileAttributesA((src + "\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA((src + "\\ro2.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  WriteFileBytes(dest + "\\ro2.txt", "old");
  UnixLink lnk(dest + "\\lnk", outside), own(dest + "\\own.txt", outside);
  // Wine reads a link to a file as the file: the copy must neither write through it nor take it.
  WriteFileBytes(work / "victim.txt", "the user's");
  UnixLink toFile(dest + "\\plain.txt", work / "victim.txt");
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  Leftovers left{{}, {std::string(current) + "\\systems.dll"}};
  Run("\\e\nE\nE 1\nplain.txt\nvtest_escape\n:install\nlnk\\a.txt\nown.txt\nnul.txt\nCom9.dat\n"
      "ro.txt\nro2.txt\nplain.txt\n\n:system\ns.dll\n",
      src, dest);
  for (const std::string& path : {src + "\\ro.txt", src + "\\ro2.txt"})
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  const std::string link = "passes through a link.";
  EXPECT_EQ(Told(), std::vector<std::string>{
                        "5 of the files could not be copied:\n"
                        "lnk\\a.txt to " + dest + "\\lnk\\a.txt: " + link + "\n"
                        "own.txt to " + dest + "\\own.txt: " + link + "\n"
                        "nul.txt to " + dest + "\\nul.txt: names a device.\n"
                        "Com9.dat to " + dest + "\\Com9.dat: names a device.\n"
                        "s.dll to systems.dll: is not a full path."});
  EXPECT_EQ(TreeListing(outside), std::vector<std::string>{}) << "nothing through the links";
  EXPECT_FALSE(FileExists(std::string(current) + "\\systems.dll"));
  EXPECT_EQ(RecordedFiles(dest + "\\unin.ini"),
            (std::vector<std::string>{dest + "\\ro.txt", dest + "\\ro2.txt", dest + "\\plain.txt"}));
  EXPECT_EQ(ReadFileBytes(work / "victim.txt"), "the user's") << "nothing through the link to a file";
  for (const char* name : {"ro.txt", "ro2.txt", "plain.txt"}) {
    EXPECT_EQ(ReadFileBytes(dest + "\\" + name), name);
    EXPECT_EQ(GetFileAttributesA((dest + "\\" + name).c_str()) & FILE_ATTRIBUTE_READONLY, 0u)
        << name << " would stay for good";
  }
}

TEST_F(Install, EntriesWithFoldersThatCannotBeMadeAreToldAndLeaveNoFolderBehind) {
  // The destination's name is longer than the source's, so a folder can fit below the one and
  // be over the system's limit below the other.
  std::string src = work / "s", dest = work / std::string(80, 'D'), outside = work / "outside";
  for (const std::string& dir : {src, dest, outside, dest + "\\keep"})
    CreateDirectoryA(dir.c_str(), nullptr);
  const std::string tooLong = "made1\\" + std::string(240 - src.size() - 7, 'f');
  for (const std::string& dir : std::vector<std::string>{"lnk", "lnk\\new", "keep", "keep\\blocked",
                                                        "made1", tooLong, "made2", "made2\\sub"})
    CreateDirectoryA((src + "\\" + dir).c_str(), nullptr);
  for (const std::string& name : std::vector<std::string>{"p.txt", "lnk\\new\\b.txt",
                                                         "keep\\blocked\\b.txt", tooLong + "\\c.txt"})
    WriteFileBytes(src + "\\" + name, "x");
  ASSERT_TRUE(FileExists(src + "\\" + tooLong + "\\c.txt"));
  WriteFileBytes(dest + "\\keep\\blocked", "in the way");
  UnixLink lnk(dest + "\\lnk", outside);
  Leftovers left{{windowsDir + "\\w"}, {}};
  Run("\\f\nF\nF 1\np.txt\nvtest_folders\n:install\np.txt\n..\\x\nC:\\x\n\\x\na\\\\b\ncon\\x\n"
      "lnk\\new\\b.txt\nkeep\\blocked\\b.txt\n" + tooLong + "\\c.txt\nmade2\\sub\n\n:win\nw\\x.dll\n",
      src, dest);
  const std::vector<std::string> told = Told();
  ASSERT_EQ(told.size(), 1u);
  const std::string notFull = ": is not a full path.\n";
  const std::string expected =
      "10 of the files could not be copied:\n"
      "..\\x to " + dest + "\\..\\x" + notFull + "C:\\x to " + dest + "\\C:\\x" + notFull +
      "\\x to " + dest + "\\\\x" + notFull + "a\\\\b to " + dest + "\\a\\\\b" + notFull +
      "con\\x to " + dest + "\\con\\x: names a device.\n"
      "lnk\\new\\b.txt to " + dest + "\\lnk\\new\\b.txt: passes through a link.\n"
      "keep\\blocked\\b.txt to " + dest + "\\keep\\blocked\\b.txt: the folder " + dest +
      "\\keep\\blocked cannot be created: a file of that name is there.\n" +
      tooLong + "\\c.txt to " + dest + "\\" + tooLong + "\\c.txt: the folder " + dest + "\\" +
      tooLong + " cannot be created: ";
  EXPECT_EQ(told[0].substr(0, expected.size()), expected);
  EXPECT_NE(told[0].find("\nmade2\\sub to " + dest + "\\made2\\sub: "), std::string::npos) << told[0];
  EXPECT_NE(told[0].find("\nw\\x.dll to " + windowsDir + "\\w\\x.dll: names a folder, and the "
                         "Windows directories take files only."), std::string::npos) << told[0];
  // The folders made for entries that got no file are gone again; the user's are as they were.
  std::vector<std::string> there = TreeListing(dest);
  there.erase(std::remove_if(there.begin(), there.end(),
                             [](const std::string& l) { return l.rfind("\\unin.ini ", 0) == 0; }),
              there.end());
  EXPECT_EQ(there, (std::vector<std::string>{"\\keep\\", "\\keep\\blocked 10", "\\lnk\\",
                                             "\\p.txt 1"}));
  EXPECT_EQ(TreeListing(outside), std::vector<std::string>{}) << "nothing through the link";
  EXPECT_FALSE(DirExists(windowsDir + "\\w"));
  EXPECT_EQ(ReadFileBytes(dest + "\\p.txt"), "x");
}

TEST_F(Install, NewerFilesOfTheWindowsDirectoriesAreKeptAndNamedAndOthersReplaced) {
  std::string src = work / "src", dest = work / "dest";
  Make(work.Path(), {"src\\", "dest\\"});
  const std::string sys = windowsDir + "\\system\\";
  // The 32-bit system directory, spelled as a script may: kept newer files as the others.
  std::string wow = windowsDir + "\\SysWOW64\\";
  CharUpperA(&wow[0]);
  ASSERT_TRUE(DirExists(wow));
  Leftovers left{{}, {sys + "vtest_newer.dll", sys + "vtest_older.dll", sys + "vtest_newer.txt",
                      sys + "vtest_older.txt", wow + "vtest_newer64.txt"}};
  WriteVersioned(src + "\\vtest_newer.dll", 1, 0);
  WriteVersioned(sys + "vtest_newer.dll", 2, 0);
  WriteVersioned(src + "\\vtest_older.dll", 2, 0);
  WriteVersioned(sys + "vtest_older.dll", 1, 5);
  // Without versions the last write decides.
  for (const char* name : {"vtest_newer.txt", "vtest_older.txt"}) {
    WriteFileBytes(src + "\\" + name, "brought");
    WriteFileBytes(sys + name, "there");
  }
  WriteFileBytes(src + "\\vtest_newer64.txt", "brought");
  WriteFileBytes(wow + "vtest_newer64.txt", "there");
  SetLastWrite(src + "\\vtest_newer64.txt", 10);
  SetLastWrite(src + "\\vtest_newer.txt", 10);
  SetLastWrite(sys + "vtest_older.txt", 10);
  WriteFileBytes(src + "\\d.txt", "brought");
  WriteFileBytes(dest + "\\d.txt", "there, and longer");
  WriteFileBytes(dest + "\\unin.ini", std::string(5000, 'x'));
  SetLastWrite(src + "\\d.txt", 10);
  // Files larger than the system's copy takes at a call go in blocks, one new and one replacing
  // a file there: each whole, past the end of a block, with the source's last write and attributes.
  std::string large((1 << 20) + 70000, '\0');
  for (size_t k = 0; k < large.size(); ++k) large[k] = static_cast<char>(k * 7 + k / 4099);
  for (const char* name : {"\\new.dat", "\\old.dat"}) {
    WriteFileBytes(src + name, large);
    SetLastWrite(src + name, 20);
    ASSERT_TRUE(SetFileAttributesA((src + name).c_str(), FILE_ATTRIBUTE_HIDDEN));
  }
  WriteFileBytes(dest + "\\old.dat", "there");
  const std::string newerThere = ReadFileBytes(sys + "vtest_newer.dll");
  Run("\\v\nV\nV 1\nd.txt\nvtest_versions\n:install\nd.txt\nnew.dat\nold.dat\n\n"
      ":win\\system\nvtest_newer.dll\nvtest_older.dll\nvtest_newer.txt\nvtest_older.txt\n\n:" +
          wow + "\nvtest_newer64.txt\n",
      src, dest);
  for (const char* name : {"\\new.dat", "\\old.dat"}) {
    WIN32_FILE_ATTRIBUTE_DATA from, to;
    ASSERT_TRUE(GetFileAttributesExA((src + name).c_str(), GetFileExInfoStandard, &from));
    ASSERT_TRUE(GetFileAttributesExA((dest + name).c_str(), GetFileExInfoStandard, &to));
    EXPECT_TRUE(ReadFileBytes(dest + name) == large) << name;
    EXPECT_EQ(CompareFileTime(&to.ftLastWriteTime, &from.ftLastWriteTime), 0) << name;
    EXPECT_EQ(to.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN, from.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)
        << name;
  }
  EXPECT_EQ(Told(), std::vector<std::string>{
                        "3 of the files were kept, because the file already there is newer:\n" +
                        sys + "vtest_newer.dll\n" + sys + "vtest_newer.txt\n" + wow +
                        "vtest_newer64.txt"});
  EXPECT_EQ(ReadFileBytes(sys + "vtest_newer.dll"), newerThere);
  EXPECT_EQ(ReadFileBytes(sys + "vtest_older.dll"), ReadFileBytes(src + "\\vtest_older.dll"));
  EXPECT_EQ(ReadFileBytes(sys + "vtest_newer.txt"), "there");
  EXPECT_EQ(ReadFileBytes(sys + "vtest_older.txt"), "brought");
  EXPECT_EQ(ReadFileBytes(dest + "\\d.txt"), "brought") << "elsewhere a file is replaced as ever";
  EXPECT_EQ(ReadFileBytes(wow + "vtest_newer64.txt"), "there");
  EXPECT_EQ(RecordedFiles(dest + "\\unin.ini").size(), 8u) << "an earlier, longer record is replaced whole";
}

TEST_F(Install, TheFoldersOnTheWayAreHeldWhileTheInstallerWorks) {
  // A folder that cannot be renamed cannot be swapped for a link after it was looked at.
  const std::string src = work / "src", dest = work / "dest";
  Make(work.Path(), {"src\\", "src\\sub\\", "dest\\"});
  WriteFileBytes(src + "\\sub\\a.txt", "a");
  WriteFileBytes(src + "\\b.txt", "b");
  setupcore::RunPlaces places;
  places.source = src;
  places.destination = dest;
  places.windowsDir = windowsDir;
  const setupcore::CopyPlan plan(
      setupcore::Script({"\\h", "H", "H 1", "a.txt", "vtest_held", ":install", "sub\\a.txt", "b.txt"}),
      places);
  SpaceShortage shortage;
  std::vector<SourceFile> sources;
  ASSERT_FALSE(FindSpaceShortage(plan, shortage, sources));
  {
    FileInstaller installer(plan);
    EXPECT_EQ(installer.Install(plan.Entries()[0], sources[0]).outcome, CopyResult::kCopied);
    for (const std::string& held : {dest + "\\sub", dest})
      EXPECT_FALSE(MoveFileA(held.c_str(), (work / "moved").c_str())) << held;
  }
  EXPECT_TRUE(MoveFileA((dest + "\\sub").c_str(), (work / "moved").c_str())) << "let go with it";
  EXPECT_EQ(ReadFileBytes(work / "moved\\a.txt"), "a");
  // One that someone else holds so that it cannot be held could be swapped once they let go.
  FileHandle other(CreateFileA(dest.c_str(), FILE_LIST_DIRECTORY, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  ASSERT_TRUE(other.Valid());
  EXPECT_EQ(FileInstaller(plan).Install(plan.Entries().back(), sources.back()).outcome,
            CopyResult::kFailed);
  other.Reset();
  EXPECT_FALSE(FileExists(dest + "\\b.txt"));
}

TEST_F(Install, ADestinationPastTheSystemsTemporaryNamesInstallsAndIsRecorded) {
  // 247 characters: the system's temporary names take at most 246 for the directory.
  const std::string src = work / "src", dest = work / std::string(246 - work.Path().size(), 'L');
  ASSERT_EQ(dest.size(), 247u);
  Make(work.Path(), {"src\\"});
  for (const char* name : {"n.txt", "r.txt"}) WriteFileBytes(src + "\\" + name, name);
  MakeDestination(dest);
  WriteFileBytes(dest + "\\r.txt", "there");
  Run("\\l\nL\nL 1\nn.txt\nvtest_long\n:install\nn.txt\nr.txt\n", src, dest);
  EXPECT_EQ(Told(), std::vector<std::string>{});
  EXPECT_EQ(ReadFileBytes(dest + "\\n.txt"), "n.txt");
  EXPECT_EQ(ReadFileBytes(dest + "\\r.txt"), "r.txt");
  EXPECT_EQ(RecordedFiles(dest + "\\unin.ini"),
            (std::vector<std::string>{dest + "\\n.txt", dest + "\\r.txt"}));
  EXPECT_EQ(ReadFileBytes(LocationRecord()), Lines({":run", dest}));
}

TEST_F(Install, ARecordWithASecondNameIsNotReplaced) {
  const std::string src = work / "src", dest = work / "dest";
  Make(work.Path(), {"src\\", "dest\\"});
  WriteFileBytes(src + "\\t.txt", "t");
  WriteFileBytes(work / "other.ini", "another file's bytes");
  ASSERT_TRUE(CreateHardLinkA((dest + "\\unin.ini").c_str(), (work / "other.ini").c_str(), nullptr));
  Run("\\t\nT\nT 1\nt.txt\nvtest_twice\n:install\nt.txt\n", src, dest);
  EXPECT_EQ(Told(), std::vector<std::string>{
                        "The installation record " + dest + "\\unin.ini cannot be written: it or "
                        "its folder is a link, or the file there has another name as well, and it "
                        "is not replaced. No program group has been made."});
  EXPECT_EQ(ReadFileBytes(dest + "\\unin.ini"), "another file's bytes");
  EXPECT_EQ(ReadFileBytes(work / "other.ini"), "another file's bytes");
  EXPECT_FALSE(FileExists(windowsDir + "\\vtest_twice.ini"));
}

TEST_F(Install, TheStatusShowsAnAmpersandAsItself) {
  dialog->Label1->SetCaption("ab");
  const int plain = dialog->Label1->Width();
  dialog->Label1->SetCaption("a&b");
  EXPECT_GT(dialog->Label1->Width(), plain);
}
