// What a run does with a script: the files it copies with what the dialog shows for each, the
// steps that read the header, and the two records, checked line for line.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "setupcore/CopyPlan.h"
#include "setupcore/Errors.h"

using setupcore::CopyEntry;
using setupcore::CopyPlan;
using setupcore::EListError;
using setupcore::RunPlaces;
using setupcore::Script;

namespace {
using Lines = std::vector<std::string>;

const RunPlaces kPlaces{"D:", "c:\\program files\\Widget", "C:\\WINDOWS"};
const std::string kDest = "c:\\program files\\Widget";

// The header every case shares, then the body.
Script WithBody(const Lines& body) {
  Lines lines{"\\Widget", "Widget", "Widget 2.0", "widget.exe", "widget"};
  lines.insert(lines.end(), body.begin(), body.end());
  return Script(lines);
}

// An entry as "line: target", with "(nothing)" for one that is not copied.
Lines Copies(const CopyPlan& plan) {
  Lines out;
  for (const CopyEntry& e : plan.Entries())
    out.push_back(std::to_string(e.line) + ": " + (e.copies ? e.target : "(nothing)"));
  return out;
}

bool ThrowsListError(const std::function<void()>& step) {
  try {
    step();
  } catch (const EListError& e) {
    return std::string(e.what()) == "List index out of bounds";
  }
  return false;
}
}  // namespace

TEST(CopyPlan, TheExampleScriptFromEntryToRecords) {
  const Script script = WithBody({":install", "WIDGET.EX_", "readme.txt", "", ":win\\system",
                                  "WIDGLIB.DL_", "", ":ini", "~\\widget.ini", ">", ":end"});
  const CopyPlan plan(script, kPlaces);

  struct Expected {
    int line;
    const char* source;
    std::string target;
    const char* status;
    int position;
  };
  // Count 16: the bar is the line over 15, truncated.
  const Expected expected[] = {
      {6, "D:\\WIDGET.EX_", kDest + "\\widget.exe", "Copying file: WIDGET.EX_", 40},
      {7, "D:\\readme.txt", kDest + "\\readme.txt", "Copying file: readme.txt", 46},
      {10, "D:\\WIDGLIB.DL_", "C:\\WINDOWS\\system\\widglib.dll", "Copying file: WIDGLIB.DL_", 66},
      {13, "D:\\~\\widget.ini", "ini~\\widget.ini", "Copying file: ~\\widget.ini", 86},
      {14, "D:\\>", "ini>", "Copying file: >", 93},
      {15, "D:\\:end", "ini:end", "Copying file: :end", 100},
  };
  ASSERT_EQ(plan.Entries().size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const CopyEntry& e = plan.Entries()[i];
    EXPECT_EQ(e.line, expected[i].line);
    EXPECT_EQ(e.source, expected[i].source) << e.line;
    EXPECT_EQ(e.target, expected[i].target) << e.line;
    EXPECT_EQ(e.status, expected[i].status) << e.line;
    EXPECT_EQ(e.position, expected[i].position) << e.line;
    EXPECT_TRUE(e.copies) << e.line;
  }

  const std::string group = "C:\\WINDOWS\\Start Menu\\Programs\\Widget\\";
  EXPECT_EQ(plan.Title(), "Widget 2.0");
  EXPECT_EQ(plan.ProgramFilePath(), kDest + "\\widget.exe");
  EXPECT_EQ(plan.UninstallRecordPath(), kDest + "\\unin.ini");
  EXPECT_EQ(plan.UninstallRecord(),
            (Lines{"Widget 2.0", kDest + "\\widget.exe", kDest + "\\readme.txt",
                   "C:\\WINDOWS\\system\\widglib.dll", "ini~\\widget.ini", "ini>", "ini:end",
                   group + "Widget 2.0.lnk", group + "Widget 2.0 Uninstaller.lnk", "+" + group,
                   ":end"}));
  EXPECT_EQ(plan.LocationRecordPath(), "C:\\WINDOWS\\widget.ini");
  EXPECT_EQ(plan.LocationRecord(), (Lines{":run", kDest, kDest + "\\widget.ini", "C:\\WINDOWS"}));

  const setupcore::ProgramGroupTexts texts = plan.GroupTexts();
  EXPECT_EQ(texts.group, "Widget");
  EXPECT_EQ(texts.title, "Widget 2.0");
  EXPECT_EQ(texts.command, "\"" + kDest + "\\widget.exe\"");
  EXPECT_EQ(texts.uninstallerTitle, "Widget 2.0 Uninstaller");
  EXPECT_EQ(texts.uninstallerCommand, "\"" + kDest + "\\remove.exe\"");
}

TEST(CopyPlan, MarkersResolveToTargetPrefixes) {
  const struct {
    const char* marker;
    std::string prefix;
  } cases[] = {
      {":win", "C:\\WINDOWS\\"},
      {":win\\system", "C:\\WINDOWS\\system\\"},
      {":install", kDest + "\\"},
      {":Win", "Win"},                  // compared with case: a literal prefix
      {":INSTALL", "INSTALL"},
      {":ini", "ini"},
      {":C:\\Tools\\", "C:\\Tools\\"},  // any other text is the prefix itself
      {":", ""},
  };
  for (const auto& c : cases) {
    const CopyPlan plan(WithBody({c.marker, "a.txt"}), kPlaces);
    EXPECT_EQ(Copies(plan), Lines{"6: " + c.prefix + "a.txt"}) << c.marker;
    EXPECT_EQ(plan.LastTargetLine(), ":" + c.prefix) << c.marker;
  }
}

TEST(CopyPlan, SectionRules) {
  const struct {
    const char* behaviour;
    Lines body;
    Lines copies;
  } cases[] = {
      {"a marker inside an open section is also a file entry of it",
       {":install", "a.txt", ":win", "b.txt"},
       {"6: " + kDest + "\\a.txt", "7: " + kDest + "\\:win", "8: C:\\WINDOWS\\b.txt"}},
      {"an empty line closes; free text after it is ignored",
       {":install", "a.txt", "", "free text", "here", ":win", "b.txt"},
       {"6: " + kDest + "\\a.txt", "11: C:\\WINDOWS\\b.txt"}},
      {"lines before any marker are ignored", {"no section", "a.txt"}, {}},
      {"a lone _ is shown but not copied", {":install", "_", "b.EX_"},
       {"6: (nothing)", "7: " + kDest + "\\b.exe"}},
      {"blanks are part of the name", {":install", "a.txt "}, {"6: " + kDest + "\\a.txt "}},
      {"a sub-path is kept on both sides", {":install", "sub\\A.DL_"},
       {"6: " + kDest + "\\sub\\a.dll"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Copies(CopyPlan(WithBody(c.body), kPlaces)), c.copies) << c.behaviour;

  const CopyPlan inside(WithBody({":install", "a.txt", ":win", "b.txt"}), kPlaces);
  ASSERT_EQ(inside.Markers().size(), 2u);
  EXPECT_FALSE(inside.Markers()[0].insideSection);
  EXPECT_TRUE(inside.Markers()[1].insideSection);
  ASSERT_EQ(inside.Entries().size(), 3u);
  EXPECT_EQ(inside.Entries()[2].marker, 1);
}

TEST(CopyPlan, TheRecordNameIsVisitedAndMayOpenASection) {
  const CopyPlan plan(Script(Lines{"\\W", "W", "W 1", "w.exe", ":install", "a.txt"}), kPlaces);
  EXPECT_EQ(Copies(plan), Lines{"5: " + kDest + "\\a.txt"});
  EXPECT_EQ(plan.LocationRecordPath(), "C:\\WINDOWS\\:install.ini");
}

TEST(CopyPlan, ADestinationWithATrailingBackslashDoublesIt) {
  const RunPlaces typed{"D:", "C:\\Dest\\", "C:\\WINDOWS"};
  const CopyPlan plan(WithBody({":install", "t.txt"}), typed);
  EXPECT_EQ(Copies(plan), Lines{"6: C:\\Dest\\\\t.txt"});
  EXPECT_EQ(plan.UninstallRecordPath(), "C:\\Dest\\\\unin.ini");
}

TEST(CopyPlan, TheBarCountsLinesAndIsTruncated) {
  const struct {
    const char* behaviour;
    Lines body;
    Lines positions;
  } cases[] = {
      {"Count 11: line 6 sets 60", {":install", "b.txt", "", "free", "text", "here"}, {"60"}},
      {"Count 10: 6 / 9 is 66, not 67", {":install", "b.txt", "", "x", "y"}, {"66"}},
      {"the last line sets 100", {":install", "a", "b"}, {"85", "100"}},
  };
  for (const auto& c : cases) {
    Lines positions;
    const CopyPlan plan(WithBody(c.body), kPlaces);
    for (const CopyEntry& e : plan.Entries())
      positions.push_back(std::to_string(e.position));
    EXPECT_EQ(positions, c.positions) << c.behaviour;
  }
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

TEST(CopyPlan, UninstallRecords) {
  const std::string group = "C:\\WINDOWS\\Start Menu\\Programs\\Widget\\";
  const Lines tail{group + "Widget 2.0.lnk", group + "Widget 2.0 Uninstaller.lnk", "+" + group};
  const struct {
    const char* behaviour;
    Lines body;
    Lines between;  // the record's lines after the title and before the Start Menu lines
    std::string last;
  } cases[] = {
      {"no file entries: five lines, and ':' alone", {}, {}, ":"},
      {"the last marker's prefix, even when it copied nothing", {":install", "a", "", ":win"},
       {kDest + "\\a"}, ":C:\\WINDOWS\\"},
      {"a marker inside a section leaves its whole line", {":install", "m.txt", ":win", "o.txt"},
       {kDest + "\\m.txt", kDest + "\\:win", "C:\\WINDOWS\\o.txt"}, ":C:\\WINDOWS\\"},
      {"a lone _ leaves no line", {":win", "_"}, {}, ":C:\\WINDOWS\\"},
  };
  for (const auto& c : cases) {
    Lines expected{"Widget 2.0"};
    expected.insert(expected.end(), c.between.begin(), c.between.end());
    expected.insert(expected.end(), tail.begin(), tail.end());
    expected.push_back(c.last);
    EXPECT_EQ(CopyPlan(WithBody(c.body), kPlaces).UninstallRecord(), expected) << c.behaviour;
  }
}

TEST(CopyPlan, LocationRecords) {
  const std::string win = "C:\\WINDOWS";
  const struct {
    const char* behaviour;
    Lines body;
    Lines contributions;
  } cases[] = {
      {"no ini section: two lines", {":install", "a"}, {}},
      {"two sections contribute in script order",
       {":ini", "~\\one", ":x", "", ":ini", ">", ":end"}, {kDest + "\\one", win}},
      {"a section without its end ends with the script", {":ini", "~\\a", ">"},
       {kDest + "\\a", win}},
      {"empty lines in a section give nothing", {":ini", "", "~\\b", "", ">", ":end"},
       {kDest + "\\b", win}},
      {"only '>' and '~' lines contribute; the rest of a '>' line is unused",
       {":ini", "plain", ">ignored", "~", ":end", "~\\after"}, {win, kDest}},
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
