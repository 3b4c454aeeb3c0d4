// The real installer meeting real faults, worked from outside as a person would: what the user is
// told, what the disk and the two records hold afterwards, that a program group exists only with
// its records, and that the program can still be closed.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>

#include "driver/Driver.h"
#include "engine/WindowsDir.h"
#include "support/SetupWindow.h"
#include "support/Wait.h"
#include "support/Files.h"
#include "support/Listing.h"
#include "support/Progman.h"
#include "support/Program.h"
#include "support/Records.h"
#include "platform/Errors.h"
#include "platform/FileHandle.h"
#include "platform/Strings.h"

namespace {
using mainwin::kCaption;
const char kNotPrepared[] =
    "The installation cannot start, because the installer could not get ready when it started: ";

std::string LocationRecord(const std::string& name) { return WindowsDirectory() + "\\" + name + ".ini"; }

class Failures : public ProgmanSuite {
protected:
  HWND Start(ProductDir& dir) {
    program.reset(dir.Start());
    return mainwin::Started(*program, dir.Path());
  }

  // Waits for the next message box, notes its text and presses OK.
  std::string Answer() {
    HWND box = drv::WaitDialog("Setup", 60000, program->Id());
    const std::string text = drv::MessageText(box);
    drv::PressButton(box, "OK");
    WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 10000);
    return text;
  }

  // Types the destination, presses Install and answers `messages` boxes. Then the program is
  // ended with Done when the run is to end with it (`done`), or with the dialog's close box
  // otherwise; either way the program must end.
  std::vector<std::string> Install(ProductDir& dir, const std::string& dest, size_t messages, bool done) {
    Ending ending{program};
    HWND w = Start(dir);
    drv::SetText(mainwin::At(w, mainwin::kDestination), dest);
    drv::Click(mainwin::ButtonWhenMade(w, "Install"));
    std::vector<std::string> told;
    for (size_t k = 0; k < messages; ++k) told.push_back(Answer());
    HWND installing = drv::WaitWindow("Installing", 20000, program->Id());
    if (done) mainwin::WaitText(installing, mainwin::kInstallingMessage, "Click DONE to exit.", 60000);
    const bool doneShown = IsWindowVisible(drv::FindButton(installing, "Done")) != FALSE;
    EXPECT_EQ(doneShown, done) << "Done is offered only when the run got to its end";
    if (doneShown) drv::PressButton(installing, "Done");
    else drv::Close(installing);
    EXPECT_TRUE(program->WaitExit(10000)) << "closing the dialog ends the program";
    return told;
  }

  // A program group only with its uninstall record: with the record the group is there once the
  // server has answered; without it no conversation was even begun.
  static void ExpectGroupOnlyWithRecord(const std::string& group, const std::string& record,
                                        size_t connectsBefore) {
    const std::string folder = StartMenuPrograms() + "\\" + group;
    if (FileExists(record)) {
      EXPECT_TRUE(WaitUntil([&] { return DirExists(folder); }, 10000)) << "the group of " << record;
    } else {
      EXPECT_EQ(server->Count("connect"), connectsBefore) << "no record, yet the group step ran";
      EXPECT_FALSE(DirExists(folder));
    }
  }

  // Ends the program, if it still runs, before its product directory is removed: the directory
  // of a running program cannot go.
  struct Ending {
    std::unique_ptr<RunningProgram>& program;
    ~Ending() { program.reset(); }
  };

  std::unique_ptr<RunningProgram> program;
};

// The file lines of the uninstall record that name files on the disk.
std::vector<std::string> OnDisk(const std::vector<std::string>& files) {
  std::vector<std::string> there;
  for (const std::string& f : files)
    if (FileExists(f)) there.push_back(f);
  return there;
}

std::string RandomBytes(unsigned seed, size_t count) {
  std::mt19937 random(seed);
  std::string bytes;
  while (bytes.size() < count) bytes += static_cast<char>(random() & 0xFF);
  return bytes;
}
}  // namespace

TEST_F(Failures, ATargetHeldOpenByAnotherProgramIsToldAndKeepsWhatItHeld) {
  ProductDir dir("\\Held\r\nHeld\r\nHeld 1.0\r\nheld.exe\r\nvtest_held\r\n:install\r\nHELD.EX_\r\n"
                 "held.txt\r\n");
  WriteFileBytes(dir / "HELD.EX_", "program");
  WriteFileBytes(dir / "held.txt", "new");
  TempDir target("held");
  const std::string dest = target / "Held";
  Leftovers left{{StartMenuPrograms() + "\\Held"}, {LocationRecord("vtest_held")}};
  CreateDirectoryA(dest.c_str(), nullptr);
  WriteFileBytes(dest + "\\held.txt", "old");
  const size_t connects = server->Count("connect");
  std::vector<std::string> told;
  {
    // This process holds the file open and shares it with no one, as a running program does.
    FileHandle holder(CreateFileA((dest + "\\held.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.Valid());
    told = Install(dir, dest, 1, true);
  }
  ASSERT_EQ(told.size(), 1u);
  const std::string line = "held.txt to " + dest + "\\held.txt: ";
  EXPECT_TRUE(told[0] == "1 of the files could not be copied:\n" + line +
                               SystemErrorText(ERROR_ACCESS_DENIED) + "." ||
              told[0] == "1 of the files could not be copied:\n" + line +
                               SystemErrorText(ERROR_SHARING_VIOLATION) + ".")
      << told[0];
  EXPECT_EQ(ReadFileBytes(dest + "\\held.txt"), "old");
  EXPECT_EQ(ReadFileBytes(dest + "\\held.exe"), "program");
  EXPECT_EQ(RecordedFiles(dest + "\\unin.ini"),
            (std::vector<std::string>{dest + "\\held.exe", dest + "\\held.txt"}));
  EXPECT_EQ(FileNames(dest).size(), 3u) << "the two files and the record, nothing half-copied";
  ExpectGroupOnlyWithRecord("Held", dest + "\\unin.ini", connects);
}

TEST_F(Failures, AFiftyThousandLineScriptWhoseSourcesAreMostlyMissingListsTenAndCountsTheRest) {
  std::string script = "\\Many\r\nMany\r\nMany 1.0\r\nfile1.da\r\nvtest_many\r\n:install\r\n";
  for (int k = 1; k <= 10; ++k) script += "FILE" + std::to_string(k) + ".DA_\r\n";
  const int missing = 50000 - 6 - 10;
  for (int k = 1; k <= missing; ++k) script += "gone" + std::to_string(k) + ".dat\r\n";
  ProductDir dir(script);
  for (int k = 1; k <= 10; ++k) WriteFileBytes(dir / ("FILE" + std::to_string(k) + ".DA_"), "data");
  TempDir target("many");
  const std::string dest = target / "Many";
  Leftovers left{{StartMenuPrograms() + "\\Many"}, {LocationRecord("vtest_many")}};
  const size_t connects = server->Count("connect");
  const std::vector<std::string> told = Install(dir, dest, 1, true);

  std::string listed = std::to_string(missing) + " of the files could not be copied:";
  for (int k = 1; k <= 10; ++k)
    listed += "\ngone" + std::to_string(k) + ".dat to " + dest + "\\gone" + std::to_string(k) +
              ".dat: " + SystemErrorText(ERROR_FILE_NOT_FOUND) + ".";
  listed += "\n... and " + std::to_string(missing - 10) + " more.";
  EXPECT_EQ(told, std::vector<std::string>{listed});
  // Every entry has its line for the uninstaller; those on the disk are the ten that were there.
  const std::vector<std::string> files = RecordedFiles(dest + "\\unin.ini");
  EXPECT_EQ(files.size(), static_cast<size_t>(10 + missing));
  std::vector<std::string> copied;
  for (int k = 1; k <= 10; ++k) copied.push_back(dest + "\\file" + std::to_string(k) + ".da");
  EXPECT_EQ(OnDisk(files), copied);
  EXPECT_EQ(FileNames(dest).size(), 11u);
  ExpectGroupOnlyWithRecord("Many", dest + "\\unin.ini", connects);
}

// What stops the run before the copy: a destination that cannot be made, or a script cut short by
// a NUL. It is told at once, and nothing is made.
TEST_F(Failures, ADestinationThatCannotBeMadeOrAScriptCutShortIsToldAtOnceAndLeavesNothing) {
  using namespace std::string_literals;
  const char freeLetter = MissingDrive();
  ASSERT_NE(freeLetter, 0);
  TempDir target("nodest");
  const std::string noDrive = std::string(1, freeLetter) + ":\\Velmora\\Product";
  // The platform's own answer for the first level on a drive that is not there.
  CreateDirectoryA(noDrive.substr(0, noDrive.rfind('\\')).c_str(), nullptr);
  const DWORD noDriveError = GetLastError();
  // Six levels of fifty characters: the first ones fit, the whole does not.
  std::string tooLong = target.Path();
  for (int k = 1; k <= 6; ++k) tooLong += "\\" + std::to_string(k) + std::string(49, 'x');
  WriteFileBytes(target / "file", "a file, not a directory");
  auto cannot = [](const std::string& dest, DWORD error) {
    return "The destination directory " + dest + " cannot be created: " + SystemErrorText(error) +
           ". Nothing has been installed.";
  };
  const std::string script =
      "\\Nowhere\r\nNowhere\r\nNowhere 1.0\r\nnw.exe\r\nvtest_nowhere\r\n:install\r\nNW.EX_\r\n";
  struct Row {
    const char* what;
    std::string script, dest, told;
  } rows[] = {
      {"no such drive", script, noDrive, cannot(noDrive, noDriveError)},
      {"a file stands in the way", script, target / "file\\dest",
       cannot(target / "file\\dest", ERROR_ALREADY_EXISTS)},
      {"longer than the platform allows", script, tooLong, cannot(tooLong, ERROR_FILENAME_EXCED_RANGE)},
      {"a script cut short by a NUL",
       "\\Nowhere\r\nNowhere\r\nNowhere 1.0\0nw.exe\r\nvtest_nowhere\r\n:install\r\nNW.EX_\r\n"s, target / "CutShort",
       "List index out of bounds."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ProductDir dir(row.script);
    WriteFileBytes(dir / "NW.EX_", "program");
    Leftovers left{{StartMenuPrograms() + "\\Nowhere"}, {LocationRecord("vtest_nowhere")}};
    const size_t connects = server->Count("connect");
    EXPECT_EQ(Install(dir, row.dest, 1, false), std::vector<std::string>{row.told});
    EXPECT_EQ(FolderNames(target.Path()), std::vector<std::string>{}) << "no level is left";
    EXPECT_FALSE(FileExists(LocationRecord("vtest_nowhere")));
    ExpectGroupOnlyWithRecord("Nowhere", row.dest + "\\unin.ini", connects);
  }
}

TEST_F(Failures, InstallOnAWindowTheStartUpCouldNotFillSaysWhyAndInstallsNothing) {
  const std::string script = "\\Unfilled\r\nUnfilled\r\nUnfilled 1.0\r\nu.exe\r\nvtest_unfilled\r\n";
  struct Row {
    const char* what;
    std::function<void(ProductDir&)> prepare;
    const char* startError;
  } rows[] = {
      {"a directory named setup.ini",
       [](ProductDir& d) { CreateDirectoryA((d / "setup.ini").c_str(), nullptr); },
       "Cannot open file setup.ini."},
      {"a title picture that is no bitmap",
       [&](ProductDir& d) {
         WriteFileBytes(d / "setup.ini", script);
         WriteFileBytes(d / "title.bmp", RandomBytes(7, 3000));
       },
       "Bitmap image is not valid."},
      {"a script of random bytes cut by a NUL before its third line",
       [](ProductDir& d) { WriteFileBytes(d / "setup.ini", RandomBytes(3, 4096)); },
       "List index out of bounds."},
  };
  {
    TStringList lines;
    lines.SetText(RandomBytes(3, 4096));
    ASSERT_LT(lines.Count(), 3) << "the random script of the third row";
  }
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ProductDir dir("", false);
    row.prepare(dir);
    Leftovers left{{StartMenuPrograms() + "\\Unfilled"}, {LocationRecord("vtest_unfilled")}};
    const size_t connects = server->Count("connect");
    Ending ending{program};
    program.reset(dir.Start());
    EXPECT_EQ(Answer(), row.startError);
    HWND w = drv::WaitWindow(kCaption, 10000, program->Id());
    drv::Click(mainwin::ButtonWhenMade(w, "Install"));
    EXPECT_EQ(mainwin::TextAt(w, mainwin::kSource), "s") << "nothing was filled in after the failure";
    const std::string startError = row.startError;
    EXPECT_EQ(Answer(), kNotPrepared + startError);
    EXPECT_EQ(drv::FindWindowByCaption("Installing", program->Id()), nullptr);
    // Until it was filled the destination box held its design text "d": nothing may go there.
    EXPECT_FALSE(DirExists(dir / "d"));
    EXPECT_FALSE(FileExists(LocationRecord("vtest_unfilled")));
    drv::Click(mainwin::ButtonWhenMade(w, "Exit"));
    EXPECT_TRUE(program->WaitExit(10000)) << "Exit ends the program";
    EXPECT_EQ(server->Count("connect"), connects);
  }
}

TEST_F(Failures, InstallRefusesTypedTextsItCannotUseAndTheUserCanChangeThem) {
  TempDir target("typed");
  const std::string dest = target / "Typed";
  const struct {
    const char* what;
    std::string dest, folder, told;
  } rows[] = {
      {"no destination", "", "Typed", "Please enter a destination directory."},
      {"a relative destination", "Typed", "Typed",
       "The destination directory Typed is not a full path: give a drive and a directory, such as "
       "C:\\Apps\\Widget, whose folder names neither end in a dot or a blank nor are names of "
       "devices. Nothing has been installed."},
      {"a folder the program group cannot take", dest, "Typed]x[",
       "The Start Menu folder \"Typed]x[\" holds a double quote or a bracket, which the program "
       "group cannot take. Nothing has been installed."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ProductDir dir("\\Typed\r\nTyped\r\nTyped 1.0\r\ntyped.exe\r\nvtest_typed\r\n:install\r\n"
                   "TYPED.EX_\r\n");
    WriteFileBytes(dir / "TYPED.EX_", "program");
    Leftovers left{{StartMenuPrograms() + "\\Typed"}, {LocationRecord("vtest_typed")}};
    Ending ending{program};
    HWND w = Start(dir);
    drv::SetText(mainwin::At(w, mainwin::kDestination), row.dest);
    drv::SetText(mainwin::At(w, mainwin::kFolder), row.folder);
    drv::Click(mainwin::ButtonWhenMade(w, "Install"));
    EXPECT_EQ(Answer(), row.told);
    EXPECT_EQ(drv::FindWindowByCaption("Installing", program->Id()), nullptr);
    EXPECT_FALSE(DirExists(dest));
    EXPECT_FALSE(DirExists(dir / "Typed"));
    EXPECT_FALSE(FileExists(LocationRecord("vtest_typed")));
    EXPECT_TRUE(IsWindowVisible(w)) << "the main window stays for the user to change the text";
    drv::Click(mainwin::ButtonWhenMade(w, "Exit"));
    EXPECT_TRUE(program->WaitExit(10000));
  }
}

namespace {
// Drives that FailureDrives_test.sh prepares in a prefix of its own: two letters for one 1 MiB
// tmpfs (VELMORA_FULL_DRIVES, e.g. "tu").
std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

class FailureDrives : public Failures {
protected:
  static void SetUpTestSuite() {
    if (Prepared()) Failures::SetUpTestSuite();
  }
  static void TearDownTestSuite() { Failures::TearDownTestSuite(); }
  static bool Prepared() { return Env("VELMORA_FULL_DRIVES").size() == 2; }
  void SetUp() override {
    if (!Prepared()) GTEST_SKIP() << "needs the drives of FailureDrives_test.sh";
    // The system names a drive's root with the letter in upper case.
    auto drive = [](char letter) { return std::string(1, static_cast<char>(toupper(letter))) + ":"; };
    full = drive(Env("VELMORA_FULL_DRIVES")[0]);
    other = drive(Env("VELMORA_FULL_DRIVES")[1]);
  }
  static unsigned long long FreeBytes(const std::string& dir) {
    ULARGE_INTEGER free;
    return GetDiskFreeSpaceExA(dir.c_str(), &free, nullptr, nullptr) ? free.QuadPart : 0;
  }
  static void WriteSize(const std::string& path, size_t size) {
    WriteFileBytes(path, std::string(size, 'v'));
  }
  std::string full, other;
};
}  // namespace

TEST_F(FailureDrives, FilesMoreThanTheDriveHoldsAreRefusedBeforeAnythingIsMade) {
  ProductDir dir("\\Big\r\nBig\r\nBig 1.0\r\nbig.da\r\nvtest_big\r\n:install\r\nBIG.DA_\r\n"
                 "one.txt\r\ntwo.txt\r\n");
  WriteSize(dir / "BIG.DA_", 3 << 20);
  WriteFileBytes(dir / "one.txt", "1");
  WriteFileBytes(dir / "two.txt", "2");
  const std::string dest = full + "\\Big";
  Leftovers left{{dest, StartMenuPrograms() + "\\Big"}, {LocationRecord("vtest_big")}};
  const unsigned long long free = FreeBytes(full + "\\");
  const size_t connects = server->Count("connect");
  const std::vector<std::string> told = Install(dir, dest, 1, false);
  // Each file takes whole clusters of 4 KB: 3072 KB and two of 4 KB.
  EXPECT_EQ(told, std::vector<std::string>{"There is not enough space on " + full +
                                             "\\ for the installation: it needs 3080 KB there, "
                                             "and " + std::to_string((free + 1023) / 1024) +
                                             " KB are free. Nothing has been installed."});
  EXPECT_EQ(FolderNames(full + "\\"), std::vector<std::string>{});
  EXPECT_EQ(FileNames(full + "\\"), std::vector<std::string>{});
  ExpectGroupOnlyWithRecord("Big", dest + "\\unin.ini", connects);
}

TEST_F(FailureDrives, TheDiskFillingDuringTheCopyIsToldAndTheCutFileRemoved) {
  // The second section reaches the same directory through the other letter of the same disk:
  // each letter's part fits on its own, both together do not.
  ProductDir dir("\\Split\r\nSplit\r\nSplit 1.0\r\npart1.da\r\nvtest_split\r\n:install\r\n"
                 "PART1.DA_\r\n\r\n:" + other + "\\Split\\\r\nPART2.DA_\r\nsmall.txt\r\n");
  WriteSize(dir / "PART1.DA_", 600 << 10);
  WriteSize(dir / "PART2.DA_", 600 << 10);
  WriteFileBytes(dir / "small.txt", "small");
  const std::string dest = full + "\\Split";
  Leftovers left{{dest, StartMenuPrograms() + "\\Split"}, {LocationRecord("vtest_split")}};
  const size_t connects = server->Count("connect");
  const std::vector<std::string> told = Install(dir, dest, 1, true);
  EXPECT_EQ(told, std::vector<std::string>{"1 of the files could not be copied:\nPART2.DA_ to " +
                                             other + "\\Split\\part2.da: " +
                                             SystemErrorText(ERROR_DISK_FULL) + "."});
  EXPECT_EQ(RecordedFiles(dest + "\\unin.ini"),
            (std::vector<std::string>{dest + "\\part1.da", other + "\\Split\\part2.da",
                                      other + "\\Split\\small.txt"}));
  EXPECT_EQ(ReadFileBytes(dest + "\\small.txt"), "small");
  EXPECT_EQ(ReadFileBytes(dest + "\\part1.da").size(), 600u << 10);
  EXPECT_FALSE(FileExists(dest + "\\part2.da"));
  EXPECT_EQ(FileNames(dest).size(), 3u) << "part1.da, small.txt and the record; no part of part2.da";
  ExpectGroupOnlyWithRecord("Split", dest + "\\unin.ini", connects);
}

TEST_F(FailureDrives, TheDiskFullBeforeTheRecordIsToldTheEarlierRecordKeptAndNoGroupMade) {
  const std::string dest = full + "\\Rec";
  Leftovers left{{dest, StartMenuPrograms() + "\\Rec"}, {LocationRecord("vtest_rec")}};
  ASSERT_TRUE(CreateDirectoryA(dest.c_str(), nullptr));
  WriteFileBytes(dest + "\\unin.ini", "an earlier installation\r\n");
  // The file takes exactly what is left, so the files fit and the record does not.
  ProductDir dir("\\Rec\r\nRec\r\nRec 1.0\r\nfill.da\r\nvtest_rec\r\n:install\r\nFILL.DA_\r\n");
  WriteSize(dir / "FILL.DA_", static_cast<size_t>(FreeBytes(dest)));
  const size_t connects = server->Count("connect");
  const std::vector<std::string> told = Install(dir, dest, 1, false);
  const std::string record = dest + "\\unin.ini";
  EXPECT_EQ(told, std::vector<std::string>{
                        "The installation record " + record + " cannot be written: " +
                        SystemErrorText(ERROR_DISK_FULL) + ". " + record +
                        " still holds the record of an earlier installation, which does not "
                        "describe this one. No program group has been made."});
  EXPECT_EQ(ReadFileBytes(record), "an earlier installation\r\n");
  std::vector<std::string> names = FileNames(dest);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"fill.da", "unin.ini"}))
      << "nothing of the new record is left";
  EXPECT_FALSE(FileExists(LocationRecord("vtest_rec")));
  EXPECT_EQ(server->Count("connect"), connects) << "no group for a record that was not written";
  EXPECT_FALSE(DirExists(StartMenuPrograms() + "\\Rec"));
}
