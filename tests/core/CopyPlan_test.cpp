// What a run does with a script: the files it copies with what the dialog shows for each, the
// steps that read the header, and the two records, checked line for line.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "setupcore/CopyPlan.h"
#include "setupcore/Errors.h"
#include "tests/support/Thrown.h"

using setupcore::CopyEntry;
using setupcore::CopyPlan;
using setupcore::EListError;
using setupcore::RunPlaces;
using setupcore::Script;

namespace {
using Lines = std::vector<std::string>;

const RunPlaces kPlaces{"D:", "c:\\program files\\Widget", "C:\\WINDOWS"};
const std::string kDest = "c:\\program files\\Widget";
const std::string kWin = "C:\\WINDOWS";
const std::string kGroup = "C:\\WINDOWS\\Start Menu\\Programs\\Widget\\";

// The header every case shares, then the body.
Script WithBody(const Lines& body) {
  Lines lines{"\\Widget", "Widget", "Widget 2.0", "widget.exe", "widget"};
  lines.insert(lines.end(), body.begin(), body.end());
  return Script(lines);
}

// An entry as "line: target", with "(nothing)" for one that is not recorded; with all it also
// shows the bar's position, the status text, the source, and whether a file is copied for it.
Lines Copies(const CopyPlan& plan, bool all = false) {
  Lines out;
  for (const CopyEntry& e : plan.Entries())
    out.push_back(std::to_string(e.line) + ": " +
                  (all ? std::to_string(e.position) + "% [" + e.status + "] " + e.source + " -> "
                       : "") +
                  (e.recorded ? e.target : "(nothing)") + (all && !e.copies ? " (no copy)" : ""));
  return out;
}

bool ThrowsListError(const std::function<void()>& step) {
  return ThrownMessage<EListError>(step) == "List index out of bounds";
}
}  // namespace

TEST(CopyPlan, TheExampleScriptFromEntryToRecords) {
  const CopyPlan plan(WithBody({":install", "WIDGET.EX_", "readme.txt", "_", "", ":win\\system",
                                "WIDGLIB.DL_", "", ":ini", "~\\widget.ini", ">", ":end"}),
                      kPlaces);
  // Count 17: the bar is the line over 16, truncated. The ini section's lines feed the location
  // record: recorded, but no file is copied for them.
  EXPECT_EQ(Copies(plan, true),
            (Lines{"6: 37% [Copying file: WIDGET.EX_] D:\\WIDGET.EX_ -> " + kDest + "\\widget.exe",
                   "7: 43% [Copying file: readme.txt] D:\\readme.txt -> " + kDest + "\\readme.txt",
                   "8: 50% [Copying file: _] D:\\_ -> (nothing) (no copy)",
                   "11: 68% [Copying file: WIDGLIB.DL_] D:\\WIDGLIB.DL_ -> " + kWin +
                       "\\system\\widglib.dll",
                   "14: 87% [Copying file: ~\\widget.ini] D:\\~\\widget.ini -> ini~\\widget.ini "
                   "(no copy)",
                   "15: 93% [Copying file: >] D:\\> -> ini> (no copy)",
                   "16: 100% [Copying file: :end] D:\\:end -> ini:end (no copy)"}));
  // An empty line closes a section; a marker met in an open one is inside it.
  Lines markers;
  for (const auto& m : plan.Markers()) markers.push_back(m.name + (m.insideSection ? " in" : ""));
  EXPECT_EQ(markers, (Lines{"install", "win\\system", "ini", "end in"}));

  EXPECT_EQ(plan.Title(), "Widget 2.0");
  EXPECT_EQ(plan.ProgramFilePath(), kDest + "\\widget.exe");
  EXPECT_EQ(plan.UninstallRecordPath(), kDest + "\\unin.ini");
  EXPECT_EQ(plan.UninstallRecord(),
            (Lines{"Widget 2.0", kDest + "\\widget.exe", kDest + "\\readme.txt",
                   kWin + "\\system\\widglib.dll", "ini~\\widget.ini", "ini>", "ini:end",
                   kGroup + "Widget 2.0.lnk", kGroup + "Widget 2.0 Uninstaller.lnk", "+" + kGroup,
                   ":end"}));
  // What the run refused at the disk is left out; an entry not recorded anyway changes nothing.
  EXPECT_EQ(plan.UninstallRecord({1, 2, 3}),
            (Lines{"Widget 2.0", kDest + "\\widget.exe", "ini~\\widget.ini", "ini>", "ini:end",
                   kGroup + "Widget 2.0.lnk", kGroup + "Widget 2.0 Uninstaller.lnk", "+" + kGroup,
                   ":end"}));
  EXPECT_EQ(plan.LocationRecordPath(), "C:\\WINDOWS\\widget.ini");
  EXPECT_EQ(plan.LocationRecord(), (Lines{":run", kDest, kDest + "\\widget.ini", kWin}));
  const setupcore::ProgramGroupTexts t = plan.GroupTexts();
  EXPECT_EQ((Lines{t.group, t.title, t.command, t.uninstallerTitle, t.uninstallerCommand}),
            (Lines{"Widget", "Widget 2.0", "\"" + kDest + "\\widget.exe\"",
                   "Widget 2.0 Uninstaller", "\"" + kDest + "\\remove.exe\""}));
}

TEST(CopyPlan, MarkersAndSections) {
  const struct {
    const char* behaviour;
    Lines body;
    Lines copies;
  } cases[] = {
      {":win and :win\\system are the Windows directory and its system directory",
       {":win", "a", "", ":win\\system", "b"}, {"6: C:\\WINDOWS\\a", "9: C:\\WINDOWS\\system\\b"}},
      {"markers are compared with case and as a whole; any other text is a literal prefix, and "
       "a file whose target is then no full path is neither copied nor recorded",
       {":Win", "a", "", ":INSTALL", "b", "", ":installer\\", "c", "", ":C:\\T", "d", "", ":", "e"},
       {"6: (nothing)", "9: (nothing)", "12: (nothing)", "15: C:\\Td", "18: (nothing)"}},
      {"a device name in any part of the line or of its restored name, any case, any extension",
       {":install", "con.txt", "sub\\AUX.H", "COM1.DA_", "Lpt9", "nul .x", "console.txt", "com0",
        "con\\x"},
       {"6: (nothing)", "7: (nothing)", "8: (nothing)", "9: (nothing)", "10: (nothing)",
        "11: " + kDest + "\\console.txt", "12: (nothing)", "13: (nothing)"}},
      {"an entry with a '..' or '.' part, a drive, a leading or doubled backslash, or a '/' is "
       "no full path",
       {":install", "..\\..\\evil.dll", "sub\\\\x", ".\\y", "C:\\x", "\\x", "a\\..\\..\\x",
        "a/../../x", "a\\"},
       {"6: (nothing)", "7: (nothing)", "8: (nothing)", "9: (nothing)", "10: (nothing)",
        "11: (nothing)", "12: (nothing)", "13: (nothing)"}},
      {"a marker inside an open section is also a file entry of it, whose ':' past the drive "
       "makes its target no full path",
       {":install", "a.txt", ":win", "b.txt"},
       {"6: " + kDest + "\\a.txt", "7: (nothing)", "8: C:\\WINDOWS\\b.txt"}},
      {"an empty line closes; free text after it is ignored",
       {":install", "a.txt", "", "free text", "here", ":win", "b.txt"},
       {"6: " + kDest + "\\a.txt", "11: C:\\WINDOWS\\b.txt"}},
      {"lines before any marker are ignored", {"no section", "a.txt"}, {}},
      {"a share is no full path: the uninstaller removes from drives alone",
       {":\\\\srv\\share\\", "a"}, {"6: (nothing)"}},
      {"blanks are part of the name", {":install", " a .txt"}, {"6: " + kDest + "\\ a .txt"}},
      {"a part ending in a dot or a blank, which the system drops, is no full path",
       {":install", "a.txt ", "b.", "data.\\c", "sub \\d", "...\\e"},
       {"6: (nothing)", "7: (nothing)", "8: (nothing)", "9: (nothing)", "10: (nothing)"}},
      {"folders are kept on both sides, as written", {":install", "Sub\\A.DL_"},
       {"6: " + kDest + "\\Sub\\a.dll"}},
      {"the Windows directories take no folders", {":win", "sub\\a", "", ":win\\system", "s\\b"},
       {"6: (nothing)", "9: (nothing)"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Copies(CopyPlan(WithBody(c.body), kPlaces)), c.copies) << c.behaviour;
}

TEST(CopyPlan, TheRecordNameIsVisitedAndMayOpenASection) {
  const CopyPlan plan(Script(Lines{"\\W", "W", "W 1", "w.exe", ":install", "a.txt"}), kPlaces);
  EXPECT_EQ(Copies(plan), Lines{"5: " + kDest + "\\a.txt"});
  EXPECT_EQ(plan.LocationRecordPath(), "C:\\WINDOWS\\:install.ini");
}

TEST(CopyPlan, RefusedEntriesSayWhyAndAreNeitherCopiedNorRecorded) {
  const CopyPlan plan(WithBody({":install", "con.txt", "data.\\x", "lpt\xB9.txt", "", ":system",
                                "s.dll", "", ":win", "w\\x", "", ":ini", "~\\a", ":end"}),
                      kPlaces);
  using setupcore::EntryRefusal;
  std::vector<EntryRefusal> why;
  for (const CopyEntry& e : plan.Entries()) why.push_back(e.refusal);
  EXPECT_EQ(why, (std::vector<EntryRefusal>{EntryRefusal::kDevice, EntryRefusal::kNotFullPath,
                                             EntryRefusal::kDevice, EntryRefusal::kNotFullPath,
                                             EntryRefusal::kFolderInWindows, EntryRefusal::kNone,
                                             EntryRefusal::kNone}));
  EXPECT_EQ(plan.UninstallRecord().size(), 1u + 2u + 4u) << "only the ini section's two lines";
}

TEST(CopyPlan, FoldersBelowTheDestinationAreMadeForInstallEntriesAlone) {
  const CopyPlan plan(WithBody({":install", "a.txt", "data\\levels\\1.dat", "docs\\Read Me.txt",
                                "data\\levels\\2.dat", "data\\x.dat", "missing\\_", "", ":D:\\",
                                "lit\\y.txt", "", ":ini", "~\\cfg\\a.ini", ":end"}),
                      kPlaces);
  Lines making;
  for (const CopyEntry& e : plan.Entries())
    if (e.makesFolders) making.push_back(std::to_string(e.line));
  EXPECT_EQ(making, (Lines{"7", "8", "9", "10"})) << "a literal section's folder is used as it is";
  EXPECT_EQ(plan.Folders(), (Lines{kDest + "\\data", kDest + "\\data\\levels", kDest + "\\docs"}));
  EXPECT_TRUE(CopyPlan(WithBody({":install", "a.txt", "b.txt"}), kPlaces).Folders().empty());
  // Code page 932: the second byte of the character 95 5C is no backslash, so "<95 5C>.txt"
  // names no folder.
  RunPlaces japanese = kPlaces;
  for (int c = 0x81; c <= 0xFC; ++c) japanese.codePage.lead[c] = c <= 0x9F || c >= 0xE0;
  const CopyPlan dbcs(WithBody({":install", "\x95\x5C.txt", "\x95\x5C\\a.txt"}), japanese);
  EXPECT_FALSE(dbcs.Entries()[0].makesFolders);
  EXPECT_EQ(dbcs.Folders(), (Lines{kDest + "\\\x95\x5C"}));
}

TEST(CopyPlan, AShortScriptFailsAtTheStepThatReadsTheMissingLine) {
  // The run reads the title at its start, the program file after the copy pass, and the record
  // name when it saves the location record, after the uninstall record.
  const Lines full{"\\W", "W", "W 1", "w.exe", "w"};
  for (int count = 0; count <= 5; ++count) {
    const CopyPlan plan(Script(Lines(full.begin(), full.begin() + count)), kPlaces);
    EXPECT_TRUE(plan.Entries().empty());
    EXPECT_EQ(ThrowsListError([&] { plan.Title(); }), count < 3) << count;
    EXPECT_EQ(ThrowsListError([&] { plan.ProgramFilePath(); }), count < 4) << count;
    EXPECT_EQ(ThrowsListError([&] { plan.GroupTexts(); }), count < 4) << count;
    EXPECT_EQ(ThrowsListError([&] { plan.UninstallRecord(); }), count < 3) << count;
    EXPECT_EQ(ThrowsListError([&] { plan.LocationRecord(); }), false) << count;
    EXPECT_EQ(ThrowsListError([&] { plan.LocationRecordPath(); }), count < 5) << count;
  }
}

TEST(CopyPlan, AGroupChosenStandsInLine1ForEveryStep) {
  RunPlaces chosen = kPlaces;
  chosen.group = "Games\\Widget";
  chosen.programsDir = "C:\\Menu";
  const std::string group = "C:\\Menu\\Games\\Widget\\";
  EXPECT_EQ(CopyPlan(WithBody({}), chosen).UninstallRecord(),
            (Lines{"Widget 2.0", group + "Widget 2.0.lnk", group + "Widget 2.0 Uninstaller.lnk",
                   "+" + group, ":"}));
  EXPECT_EQ(CopyPlan(WithBody({}), chosen).GroupTexts().group, "Games\\Widget");
  // Line 1 proposed as ":ini" opens no section once a group is chosen in its place.
  EXPECT_EQ(CopyPlan(Script(Lines{"\\W", ":ini", "~\\h", ":x", "w"}), chosen).LocationRecord(),
            (Lines{":run", kDest}));
  // A script of one line gets a line 1; one without line 0 has no place for it.
  EXPECT_EQ(CopyPlan(Script(Lines{"\\W"}), chosen).Group(), "Games\\Widget");
  EXPECT_EQ(ThrownMessage<EListError>([&] { CopyPlan(Script(), chosen); }), "Unable to insert a line");
}

TEST(CopyPlan, TheUninstallRecordEndsWithTheLastMarkersPrefix) {
  // Even when that marker copied nothing, and ":" alone when there is none.
  EXPECT_EQ(CopyPlan(WithBody({":install", "a", "", ":win"}), kPlaces).UninstallRecord().back(),
            ":C:\\WINDOWS\\");
  EXPECT_EQ(CopyPlan(WithBody({}), kPlaces).UninstallRecord().back(), ":");
}

TEST(CopyPlan, LocationRecords) {
  const struct {
    const char* behaviour;
    Lines body;
    Lines contributions;
  } cases[] = {
      {"sections contribute in script order; empty lines in them give nothing",
       {":ini", "", "~\\one", ":x", "", ":ini", ">", ":end"}, {kDest + "\\one", kWin}},
      {"a section without its end ends with the script", {":ini", "~\\a", ">"},
       {kDest + "\\a", kWin}},
      {"only '>' and '~' lines contribute; the rest of a '>' line is unused",
       {":ini", "plain", ">ignored", "~", ":end", "~\\after"}, {kWin, kDest}},
      {"':INI' opens no section", {":INI", "~\\no", ":end"}, {}},
  };
  for (const auto& c : cases) {
    Lines expected{":run", kDest};
    expected.insert(expected.end(), c.contributions.begin(), c.contributions.end());
    EXPECT_EQ(CopyPlan(WithBody(c.body), kPlaces).LocationRecord(), expected) << c.behaviour;
  }
  // The scan starts at line 0: a header line that is ":ini" opens a section too.
  const CopyPlan header(Script(Lines{"\\W", ":ini", "~\\h", ":x", "w"}), kPlaces);
  EXPECT_EQ(header.LocationRecord(), (Lines{":run", kDest, kDest + "\\h"}));
}
