// What remove.exe decides from the records before it touches anything: the kind of every line,
// the lines it leaves alone, the folders it looks at, and the records it writes back when
// something stays; and that it takes back whatever the installer's records name.
#include <gtest/gtest.h>

#include "setupcore/CopyPlan.h"
#include "setupcore/RemovePlan.h"

namespace {
const char kDest[] = "c:\\program files\\Widget";
const char kGroup[] = "C:\\windows\\Start Menu\\Programs\\Widget\\";

TRemovePlaces Places(const std::string& destination = kDest) {
  TRemovePlaces p;
  p.windowsDir = "C:\\windows";
  p.systemDirs = {"C:\\windows\\system32", "C:\\windows\\system"};
  p.destination = destination;
  p.self = destination + "\\remove.exe";
  p.uninstallRecord = destination + "\\unin.ini";
  p.locationRecord = "C:\\windows\\widget.ini";
  return p;
}

// The step planned for the one line of interest, placed among a record like the installer's.
TRemoveStep StepFor(const std::string& line, const TRemovePlaces& places = Places()) {
  TRecords r;
  r.uninstall = {"Widget 2.0", line, std::string("+") + kGroup, ":c:\\program files\\Widget\\"};
  const TRemovePlan plan = PlanRemoval(r, places);
  for (const TRemoveStep& s : plan.steps)
    if (s.record == riUninstall && s.line == 1) return s;
  ADD_FAILURE() << "no step for " << line;
  return TRemoveStep();
}

struct LineCase {
  const char* behaviour;
  const char* line;
  TStepKind kind;
  TRefusal refusal;
};

const LineCase kLines[] = {
    {"a file of the destination goes", "c:\\program files\\Widget\\widget.exe", skFile, rfNone},
    {"the destination matches without regard to case", "C:\\PROGRAM FILES\\WIDGET\\README.TXT", skFile, rfNone},
    {"Western letters fold too", "c:\\program files\\widget\\\xC4rger.txt", skFile, rfNone},
    {"a file deeper in the destination goes", "c:\\program files\\Widget\\sub\\deep.dat", skFile, rfNone},
    {"a file of the installer's system folder is shared", "C:\\windows\\system\\widglib.dll", skShared, rfNone},
    {"a file of the Windows directory is shared", "C:\\windows\\widget.hlp", skShared, rfNone},
    {"an item of the group is a shortcut", "C:\\windows\\Start Menu\\Programs\\Widget\\Widget 2.0.lnk", skShortcut, rfNone},
    {"whatever the case of its extension", "C:\\windows\\Start Menu\\Programs\\Widget\\W.LNK", skShortcut, rfNone},
    {"a group's file that is no shortcut is asked about", "C:\\windows\\Start Menu\\Programs\\Widget\\readme.txt", skShared, rfNone},
    {"and so is one named just .lnk", "C:\\windows\\Start Menu\\Programs\\Widget\\.lnk", skShared, rfNone},
    {"so is a shortcut deeper in the group", "C:\\windows\\Start Menu\\Programs\\Widget\\sub\\x.lnk", skShared, rfNone},
    {"and one of another folder of the programs", "C:\\windows\\Start Menu\\Programs\\StartUp\\y.lnk", skShared, rfNone},
    {"the records go as records, not in the file pass", "c:\\program files\\Widget\\UNIN.INI", skIgnored, rfNone},
    {"the location record goes as a record", "C:\\windows\\widget.ini", skIgnored, rfNone},
    {"a name without drive and directory names nothing, and says so", "ini~\\unin.ini", skPassedOver, rfNoDrive},
    {"so does an ini section's marker behind its relative prefix", "ini:end", skPassedOver, rfNoDrive},
    {"and a climb without a drive", "..\\..\\boot.ini", skPassedOver, rfNoDrive},
    {"a marker copied as a file opens a stream", "c:\\program files\\Widget\\:ini", skRefused, rfNotAFileName},
    {"wildcards name no one file", "c:\\program files\\Widget\\*.*", skRefused, rfNotAFileName},
    {"forward slashes are not the records' separator", "c:/windows/win.ini", skRefused, rfNotAFileName},
    {"a name relative to a drive's current directory", "c:widget.exe", skRefused, rfNotAFileName},
    {"a doubled backslash", "c:\\program files\\Widget\\\\x.txt", skRefused, rfNotAFileName},
    {"a path climbing out of the destination", "c:\\program files\\Widget\\..\\Other\\x.txt", skRefused, rfDotPart},
    {"dots and blanks that the system reads as a climb", "c:\\program files\\Widget\\.. \\x.txt", skRefused, rfDotPart},
    {"a drive root", "C:\\", skRefused, rfDriveRoot},
    {"a drive without a backslash", "d:", skRefused, rfDriveRoot},
    {"the Windows directory", "C:\\windows", skRefused, rfWindowsDir},
    {"the Windows directory with its backslash", "c:\\WINDOWS\\", skRefused, rfWindowsDir},
    {"the system directory", "C:\\windows\\system32", skRefused, rfSystemDir},
    {"a line ending in a backslash names a directory", "c:\\program files\\Widget\\data\\", skRefused, rfDirectory},
    {"the destination itself", "c:\\program files\\Widget", skRefused, rfDirectory},
    {"the group's folder as a file", "C:\\windows\\Start Menu\\Programs\\Widget", skRefused, rfDirectory},
    {"the programs folder", "C:\\windows\\Start Menu\\Programs", skRefused, rfDirectory},
    {"a file of another directory", "c:\\program files\\Other\\x.txt", skRefused, rfOutside},
    {"a directory whose name only begins like the destination", "c:\\program files\\Widgetx\\y.txt", skRefused, rfOutside},
    {"another drive", "d:\\Widget\\x.txt", skRefused, rfOutside},
    {"drive Z is a drive like the others, in either case", "Z:\\WIDGET\\X.TXT", skRefused, rfOutside},
};

class PlanLine : public ::testing::TestWithParam<LineCase> {};
}  // namespace

TEST_P(PlanLine, KindAndRefusal) {
  const LineCase& c = GetParam();
  const TRemoveStep s = StepFor(c.line);
  EXPECT_EQ(s.kind, c.kind) << c.behaviour << ": " << c.line;
  EXPECT_EQ(s.refusal, c.refusal) << c.behaviour << ": " << c.line;
  EXPECT_EQ(s.path, c.line);
}

INSTANTIATE_TEST_SUITE_P(UninstallRecordLines, PlanLine, ::testing::ValuesIn(kLines));

TEST(RemovePlan, TheOrderIsFilesShortcutsTheGroupLocationFilesFoldersAndItself) {
  TRecords r;
  r.uninstall = {"Widget 2.0",
                 "c:\\program files\\Widget\\widget.exe",
                 "c:\\program files\\Widget\\remove.exe",
                 "C:\\windows\\system\\widglib.dll",
                 "C:\\windows\\Start Menu\\Programs\\Widget\\Widget 2.0.lnk",
                 "C:\\windows\\Start Menu\\Programs\\Widget\\Widget 2.0 Uninstaller.lnk",
                 std::string("+") + kGroup,
                 ":C:\\windows\\system\\"};
  // A thing named twice (here widget.exe, in another case) is removed once.
  r.location = {":run", kDest, "c:\\program files\\Widget\\data\\settings.ini", "C:\\windows",
                "C:\\Program Files\\Widget\\WIDGET.EXE"};
  const TRemovePlan plan = PlanRemoval(r, Places());
  EXPECT_EQ(plan.title, "Widget 2.0");
  std::vector<TStepKind> kinds;
  for (const TRemoveStep& s : plan.steps) kinds.push_back(s.kind);
  EXPECT_EQ(kinds, (std::vector<TStepKind>{skFile, skIgnored, skShared, skShortcut, skShortcut,
                                           skGroup, skFile, skPlace, skPassedOver, skFolder, skSelf}));
  EXPECT_EQ(plan.steps[8].refusal, rfRepeat);
  EXPECT_EQ(plan.steps[9].path, "c:\\program files\\Widget\\data");
  EXPECT_EQ(plan.steps[9].place, kDest);
  ASSERT_EQ(plan.self, 10);
  EXPECT_EQ(plan.steps[10].path, "c:\\program files\\Widget\\remove.exe");
  EXPECT_EQ(plan.steps[5].group, "Widget");
}

// Only the folders on the way to a file of the destination that the records name, each once,
// deepest first; never one on the way to a refused line, a shared file or a shortcut.
TEST(RemovePlan, FoldersOnTheWayToTheDestinationsFilesComeDeepestFirst) {
  const std::string d = std::string(kDest) + "\\";
  TRecords r;
  r.uninstall = {"Widget 2.0", d + "a\\b\\c\\x.txt", d + "a\\y.txt", d + "top.txt", d + "A\\B\\z.txt",
                 d + "q\\..\\out.txt", d + "r\\*.txt", "C:\\windows\\system\\sub\\deeper\\shared.dll",
                 std::string("C:\\windows\\Start Menu\\Programs\\Widget\\W.lnk"), d + "remove.exe",
                 std::string("+") + kGroup};
  r.location = {":run", kDest, d + "logs\\run.log"};
  std::vector<std::string> folders;
  for (const TRemoveStep& s : PlanRemoval(r, Places()).steps)
    if (s.kind == skFolder) folders.push_back(s.path);
  EXPECT_EQ(folders, (std::vector<std::string>{d + "a\\b\\c", d + "a\\b", d + "a", d + "logs"}));
}

TEST(RemovePlan, GroupLines) {
  struct Case {
    const char* behaviour;
    const char* dir;
    TStepKind kind;
    TRefusal refusal;
    const char* name;
  } cases[] = {
      {"the installer's group", kGroup, skGroup, rfNone, "Widget"},
      {"a group in a sub-folder keeps its path", "C:\\windows\\Start Menu\\Programs\\Tools\\Widget\\", skGroup, rfNone, "Tools\\Widget"},
      {"the Windows directory", "C:\\windows\\", skRefused, rfWindowsDir, ""},
      {"the programs folder itself", "C:\\windows\\Start Menu\\Programs\\", skRefused, rfOutside, ""},
      {"a climb out of the programs folder", "C:\\windows\\Start Menu\\Programs\\..\\..\\", skRefused, rfDotPart, ""},
      {"a drive root", "C:\\", skRefused, rfDriveRoot, ""},
      {"the destination", "c:\\program files\\Widget\\", skRefused, rfOutside, ""},
  };
  for (const Case& c : cases) {
    TRecords r;
    r.uninstall = {"W", std::string("+") + c.dir};
    const TRemovePlan plan = PlanRemoval(r, Places());
    ASSERT_EQ(plan.steps.size(), 1u) << c.behaviour;
    EXPECT_EQ(plan.steps[0].kind, c.kind) << c.behaviour;
    EXPECT_EQ(plan.steps[0].refusal, c.refusal) << c.behaviour;
    EXPECT_EQ(plan.steps[0].group, c.name) << c.behaviour;
  }
}

TEST(RemovePlan, LocationRecordLines) {
  TRecords r;
  r.location = {":run", kDest, "C:\\WINDOWS", "c:\\program files\\Widget\\settings.ini",
                "c:\\program files\\Widget\\..\\..\\windows\\win.ini", "c:\\program files\\Widget\\"};
  const TRemovePlan plan = PlanRemoval(r, Places());
  ASSERT_EQ(plan.steps.size(), 4u);
  EXPECT_EQ(plan.steps[0].kind, skPlace) << "a \">\" line names the Windows directory as a place";
  EXPECT_EQ(plan.steps[1].kind, skFile);
  EXPECT_EQ(plan.steps[1].record, riLocation);
  EXPECT_EQ(plan.steps[1].line, 3);
  EXPECT_EQ(plan.steps[2].refusal, rfDotPart);
  EXPECT_EQ(plan.steps[3].refusal, rfDirectory) << "\"~\" alone names the destination";
}

TEST(RemovePlan, ADestinationThatIsNoPlaceOfItsOwnGivesItsFilesNoFreePass) {
  // Installed into the Windows directory: its files are shared ones and are asked about.
  EXPECT_EQ(StepFor("C:\\windows\\widget.exe", Places("C:\\windows")).kind, skShared);
  // A times sign is no capital of the division sign: a destination named with one is not the other.
  EXPECT_EQ(StepFor("c:\\a\xF7" "b\\x.txt", Places("c:\\a\xD7" "b")).refusal, rfOutside);
  EXPECT_EQ(StepFor("C:\\\xC0\xDE\\x.txt", Places("c:\\\xE0\xFE")).kind, skFile) << "both ends fold";
  // Installed into a drive root: nothing there belongs to the installation alone.
  EXPECT_EQ(StepFor("C:\\widget.exe", Places("C:\\")).refusal, rfOutside);
  EXPECT_EQ(StepFor("C:\\widget.exe", Places("C:")).refusal, rfOutside);
  // Nor into the system directory, or a folder above the Windows directory.
  EXPECT_EQ(StepFor("C:\\windows\\system\\x.dll", Places("C:\\windows\\system")).kind, skShared);
  TRemovePlaces above = Places("C:\\os");
  above.windowsDir = "C:\\os\\windows";
  EXPECT_EQ(StepFor("C:\\os\\x.txt", above).refusal, rfOutside);
}

TEST(RemovePlan, ATrailingBackslashGoesButADriveRootsAndATrailBytesStay) {
  TCodePage dbcs = WesternCodePage();
  dbcs.lead[0x95] = true;
  EXPECT_EQ(WithoutTrailingBackslash("c:\\a\\", dbcs), "c:\\a");
  EXPECT_EQ(WithoutTrailingBackslash("c:\\a", dbcs), "c:\\a");
  EXPECT_EQ(WithoutTrailingBackslash("C:\\", dbcs), "C:\\");
  EXPECT_EQ(WithoutTrailingBackslash("c:\\\x95\\", dbcs), "c:\\\x95\\");
}

TEST(RemovePlan, TheLocationRecordIsKnownByItsFirstTwoLines) {
  const TCodePage cp = WesternCodePage();
  EXPECT_TRUE(IsLocationRecordFor({":run", kDest}, kDest, cp));
  EXPECT_TRUE(IsLocationRecordFor({":run", "C:\\Program Files\\WIDGET\\", "x"}, kDest, cp));
  EXPECT_FALSE(IsLocationRecordFor({":RUN", kDest}, kDest, cp)) << "the marker is exact";
  EXPECT_FALSE(IsLocationRecordFor({":run", "c:\\program files\\Widget2"}, kDest, cp));
  EXPECT_FALSE(IsLocationRecordFor({":run"}, kDest, cp));
  EXPECT_FALSE(IsLocationRecordFor({"[boot]", kDest}, kDest, cp));
}

// On a code page of two-byte characters (as Japanese Windows has), the second byte of a
// character may be a backslash or an ASCII letter, and single bytes above 0x7F are no letters.
TEST(RemovePlan, PathsAreComparedCharacterByCharacter) {
  TRemovePlaces p = Places();
  p.codePage = TCodePage();
  for (int c = 0; c < 256; ++c) {
    p.codePage.lead[c] = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    p.codePage.lower[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  }
  struct Case {
    const char* behaviour;
    std::string destination, line;
    TStepKind kind;
    TRefusal refusal;
  } cases[] = {
      {"a letter as second byte is not folded: \x83\x41 is not \x83\x61", "c:\\\x83\x61",
       "c:\\\x83\x41\\x.txt", skRefused, rfOutside},
      {"a one-byte character above 0x7F is no capital, and a backslash as second byte parts nothing",
       "c:\\\xC0", "c:\\\xE0\\x.txt", skRefused, rfOutside},
      {"a name ending in a backslash byte is a file, not a directory", "c:\\\x95\\",
       "c:\\\x95\\\\\x95\\", skFile, rfNone},
      {"nor does \"\\x95\\..\" climb", "c:\\d", "c:\\d\\\x95\\..\\x", skFile, rfNone},
      {"a lead byte that lost its second byte names nothing", "c:\\d", "c:\\d\\x\x95", skRefused,
       rfNotAFileName},
  };
  for (const Case& c : cases) {
    TRemovePlaces places = p;
    places.destination = c.destination;
    const TRemoveStep s = StepFor(c.line, places);
    EXPECT_EQ(s.kind, c.kind) << c.behaviour;
    EXPECT_EQ(s.refusal, c.refusal) << c.behaviour;
  }
}

TEST(RemovePlan, AGroupIsDeletedWholeOnlyWhenItHoldsNothingButTheProductsShortcuts) {
  TRecords r;
  const std::string group = kGroup;
  r.uninstall = {"Widget 2.0", group + "Widget 2.0.lnk", group + "Widget 2.0 Uninstaller.lnk", "+" + group};
  const TRemovePlan plan = PlanRemoval(r, Places());
  const TCodePage cp = WesternCodePage();
  using L = std::vector<std::string>;
  EXPECT_TRUE(HoldsOnlyOwnShortcuts(plan, group, L{}, cp));
  EXPECT_TRUE(HoldsOnlyOwnShortcuts(plan, group, L{"WIDGET 2.0.LNK", "Widget 2.0 Uninstaller.lnk"}, cp));
  EXPECT_FALSE(HoldsOnlyOwnShortcuts(plan, group, L{"Widget 2.0.lnk", "Other.lnk"}, cp));
}

namespace {
TRecords InstalledRecords() {
  TRecords r;
  r.uninstall = {"Widget 2.0",
                 "c:\\program files\\Widget\\widget.exe",
                 "c:\\program files\\Widget\\data.bin",
                 "c:\\program files\\Widget\\sub\\deep.dat",
                 "c:\\program files\\Widget\\remove.exe",
                 "ini~\\unin.ini",
                 "C:\\windows\\Start Menu\\Programs\\Widget\\Widget 2.0.lnk",
                 "C:\\windows\\Start Menu\\Programs\\Widget\\Widget 2.0 Uninstaller.lnk",
                 std::string("+") + kGroup,
                 ":c:\\program files\\Widget\\"};
  r.location = {":run", kDest, "c:\\program files\\Widget\\settings.ini", "C:\\windows",
                "c:\\program files\\Widget\\cache.dat"};
  return r;
}

// The flags for a plan with the steps of these paths still there.
std::vector<bool> LeftOf(const TRemovePlan& plan, const std::vector<std::string>& paths) {
  std::vector<bool> left(plan.steps.size(), false);
  for (size_t i = 0; i < plan.steps.size(); ++i)
    for (const std::string& p : paths)
      if (plan.steps[i].path == p && plan.steps[i].kind != skIgnored) left[i] = true;
  return left;
}
}  // namespace

// What the records hold after a run that left some things: nothing when nothing (or remove.exe
// alone, which goes by its clean-up) is left; otherwise the head lines, what is left, remove.exe
// and the last target, and a group while one of its items stays.
TEST(RemainingRecords, HoldWhatIsLeft) {
  const TRecords r = InstalledRecords();
  const TRemovePlan plan = PlanRemoval(r, Places());
  const std::string data = "c:\\program files\\Widget\\data.bin", cache = "c:\\program files\\Widget\\cache.dat";
  const std::string remove = "c:\\program files\\Widget\\remove.exe", last = ":c:\\program files\\Widget\\";
  const std::string item = "C:\\windows\\Start Menu\\Programs\\Widget\\Widget 2.0.lnk";
  using L = std::vector<std::string>;
  struct Row {
    const char* behaviour;
    L left, uninstall, location;
  } rows[] = {
      {"nothing left", {}, {}, {}},
      {"a folder keeps no line", {"c:\\program files\\Widget\\sub"}, {}, {}},
      {"remove.exe alone", {remove}, {}, {}},
      {"two files", {data, cache}, {"Widget 2.0", data, remove, last}, {":run", kDest, "C:\\windows", cache}},
      {"a group item", {item}, {"Widget 2.0", remove, item, std::string("+") + kGroup, last}, {":run", kDest, "C:\\windows"}},
  };
  for (const Row& row : rows) {
    const TRecords rest = RemainingRecords(r, plan, LeftOf(plan, row.left), WesternCodePage());
    EXPECT_EQ(rest.uninstall, row.uninstall) << row.behaviour;
    EXPECT_EQ(rest.location, row.location) << row.behaviour;
    EXPECT_EQ(rest.Empty(), row.uninstall.empty()) << row.behaviour;
  }
}

TEST(CleanUpCall, TheCommandLineReadsBack) {
  TCleanUpArgs a;
  a.process = 1234;
  a.exe = "c:\\program files\\Widget\\remove.exe";
  a.destination = kDest;
  const std::string line = CleanUpCommandLine("C:\\users\\me\\Temp\\rmv1.tmp", a);
  TCleanUpArgs b;
  ASSERT_TRUE(ParseCleanUpCommandLine(line, b)) << line;
  EXPECT_EQ(b.process, 1234u);
  EXPECT_EQ(b.exe, a.exe);
  EXPECT_EQ(b.destination, a.destination);
  for (const char* other : {"\"c:\\w\\remove.exe\"", "remove.exe", "", "\"x\" /cleanup 12 \"a\"",
                            "\"x\" /cleanup x12 \"a\" \"b\"", "\"x\" /clean 12 \"a\" \"b\"",
                            "\"x\" /cleanup 12 \"a\" \"b", "\"x\" /cleanup 12 \"a\"\"b\"",
                            "\"x\" /cleanup 12345678901234567890 \"a\" \"b\""})
    EXPECT_FALSE(ParseCleanUpCommandLine(other, b)) << other;
}

TEST(CleanUpCall, OnlyAProgramDirectlyInARemovableDirectory) {
  const TRemovePlaces p = Places();
  auto safe = [&](const char* exe, const char* dest) {
    TCleanUpArgs a;
    a.exe = exe;
    a.destination = dest;
    return CleanUpIsSafe(a, p);
  };
  EXPECT_TRUE(safe("c:\\program files\\Widget\\remove.exe", kDest));
  EXPECT_TRUE(safe("C:\\PROGRAM FILES\\WIDGET\\REMOVE.EXE", kDest));
  EXPECT_FALSE(safe("c:\\program files\\Widget\\readme.txt", kDest));
  EXPECT_FALSE(safe("c:\\program files\\Widget\\.exe", kDest));
  EXPECT_FALSE(safe("c:\\program files\\Widget\\sub\\remove.exe", kDest));
  EXPECT_FALSE(safe("C:\\windows\\remove.exe", "C:\\windows"));
  EXPECT_FALSE(safe("C:\\remove.exe", "C:\\"));
  EXPECT_FALSE(safe("c:\\program files\\Widget\\..\\remove.exe", "c:\\program files\\Widget\\.."));
}

// The copy is made only where administrators alone write, and only such a copy honours a call.
TEST(CleanUpCall, OnlyTheCopyInTheWindowsTempHonoursIt) {
  const TCodePage cp = WesternCodePage();
  const std::string made = CleanUpCopyPath("C:\\windows", 0x0123456789abcdefull);
  EXPECT_EQ(made, "C:\\windows\\Temp\\rmv0123456789abcdef.tmp");
  EXPECT_TRUE(IsCleanUpCopyPath(made, "C:\\windows", cp));
  EXPECT_TRUE(IsCleanUpCopyPath("c:\\WINDOWS\\temp\\RMV0123456789ABCDEF.TMP", "C:\\windows", cp));
  for (const char* other : {"c:\\program files\\Widget\\remove.exe",
                            "C:\\users\\me\\Temp\\rmv0123456789abcdef.tmp",
                            "C:\\windows\\Temp\\sub\\rmv0123456789abcdef.tmp",
                            "C:\\windows\\rmv0123456789abcdef.tmp", "C:\\windows\\Temp\\rmv0123.tmp",
                            "C:\\windows\\Temp\\rmv0123456789abcdeg.tmp",
                            "C:\\windows\\Temp\\rmv0123456789abcdef.exe"})
    EXPECT_FALSE(IsCleanUpCopyPath(other, "C:\\windows", cp)) << other;
}

// Whatever the installer records, remove.exe takes back: for each script, every line of both
// records the copy plan writes is planned as a thing of the installation (or passed over as the
// ini sections' lines are), and nothing lies outside the destination and the Windows directory.
TEST(RoundTrip, WhatTheInstallerRecordsIsRemovedAndNothingElse) {
  using Lines = std::vector<std::string>;
  const Lines head{"\\Widget", "Widget", "Widget 2.0", "widget.exe", "widget"};
  struct Row {
    const char* behaviour;
    std::string destination;
    Lines body;
    size_t folders;
  } rows[] = {
      {"flat", "c:\\program files\\Widget", {":install", "WIDGET.EX_", "REMOVE.EX_", "readme.txt"}, 0},
      {"the Windows and system directories", "c:\\program files\\Widget",
       {":install", "REMOVE.EX_", "", ":win", "WIDGET.HL_", "", ":win\\system", "WIDGLIB.DL_"}, 0},
      {"an ini section", "D:\\Games\\Widget",
       {":install", "remove.exe", "", ":ini", "~\\widget.ini", ">", "~\\logs\\run.log", ":end"}, 1},
      {"entries in folders", "c:\\program files\\Widget",
       {":install", "REMOVE.EX_", "data\\levels\\1.DA_", "data\\2.dat", "DATA\\LEVELS\\3.dat"}, 2},
  };
  for (const Row& row : rows) {
    Lines lines = head;
    lines.insert(lines.end(), row.body.begin(), row.body.end());
    const setupcore::CopyPlan copy(setupcore::Script(lines), {"D:", row.destination, "C:\\windows"});
    const TRemovePlaces places = Places(row.destination);
    const TRecords records{copy.UninstallRecord(), copy.LocationRecord()};
    const TRemovePlan plan = PlanRemoval(records, places);
    EXPECT_GE(plan.self, 0) << row.behaviour;
    size_t folders = 0;
    for (const TRemoveStep& s : plan.steps) {
      EXPECT_NE(s.kind, skRefused) << row.behaviour << ": " << s.path << ": " << RefusalText(s.refusal);
      EXPECT_TRUE(s.kind != skPassedOver || s.refusal == rfNoDrive) << row.behaviour << ": " << s.path;
      if (s.kind == skFolder) ++folders;
      if (s.kind == skRefused || s.kind == skPassedOver || s.kind == skPlace) continue;
      EXPECT_TRUE(IsBelow(row.destination, s.path, places.codePage) ||
                  IsBelow(places.windowsDir, s.path, places.codePage))
          << row.behaviour << ": " << s.path;
    }
    EXPECT_EQ(folders, row.folders) << row.behaviour;
  }
}
