// The vendor's checker: each finding on a script that has just that fault, the exit status, and
// whole product directories on disk, the bundled sample among them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "setupcheck/Check.h"
#include "setupcheck/Report.h"

using setupcheck::CheckOptions;
using setupcheck::CheckProduct;
using setupcheck::CheckScript;
using setupcheck::Diagnostic;
using setupcheck::ExitStatus;
using setupcheck::Finding;
using setupcheck::ProductCheck;
using setupcheck::ProductFiles;

namespace fs = std::filesystem;

namespace {
using Lines = std::vector<std::string>;

const Lines kClean{"\\Widget",    "Widget",     "Widget 2.0", "widget.exe", "widget",
                   ":install",    "WIDGET.EX_", "REMOVE.EX_", "readme.txt", "",
                   ":ini",        "~\\widget.ini", ">",       ":end"};
const ProductFiles kFiles{{"setup.ini", "WIDGET.EX_", "REMOVE.EX_", "readme.txt", "sub\\deep.txt"}};
const setupcore::RunPlaces kPlaces{"D:", "C:\\Dest", "C:\\WINDOWS"};

std::string Bytes(const Lines& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

Lines Edited(Lines lines, int at, const std::string& text) {
  lines[static_cast<size_t>(at)] = text;
  return lines;
}
Lines Inserted(Lines lines, int at, const std::string& text) {
  lines.insert(lines.begin() + at, text);
  return lines;
}
Lines Erased(Lines lines, int at) {
  lines.erase(lines.begin() + at);
  return lines;
}

std::string NameOf(Finding f) {
  static const std::map<Finding, std::string> names{
      {Finding::kNoProductDirectory, "no product directory"},
      {Finding::kNoScript, "no script"},
      {Finding::kTooFewLines, "too few lines"},
      {Finding::kScriptNameCase, "script name case"},
      {Finding::kMissingSource, "missing source"},
      {Finding::kSourceCase, "source case"},
      {Finding::kProgramFileNotInstalled, "program file not installed"},
      {Finding::kNoUninstaller, "no uninstaller"},
      {Finding::kMarkerCase, "marker case"},
      {Finding::kMarkerInsideSection, "marker inside section"},
      {Finding::kSubPathWithoutBackslash, "sub-path without backslash"},
      {Finding::kIniSectionWithoutEnd, "ini section without end"},
      {Finding::kRestoresToNothing, "restores to nothing"},
      {Finding::kPathTooLong, "path too long"},
      {Finding::kNotAnsi, "not ANSI"},
      {Finding::kNotText, "not text"},
  };
  return names.at(f);
}

// Each finding as "what@line", the line counted from 0 as the script's lines are.
Lines Summary(const std::vector<Diagnostic>& found) {
  Lines out;
  for (const Diagnostic& d : found) out.push_back(NameOf(d.finding) + "@" + std::to_string(d.line));
  std::sort(out.begin(), out.end());
  return out;
}

// A directory of its own under the system's temporary folder, removed with what it holds.
class TempProduct {
public:
  TempProduct() {
    std::random_device seed;
    path_ = fs::temp_directory_path() / ("setupcheck-" + std::to_string(seed()));
    fs::create_directories(path_);
  }
  ~TempProduct() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempProduct(const TempProduct&) = delete;
  TempProduct& operator=(const TempProduct&) = delete;

  void Write(const std::string& relative, const std::string& bytes) const {
    const fs::path file = path_ / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
  }
  std::string Path() const { return path_.string(); }

private:
  fs::path path_;
};
}  // namespace

TEST(SetupCheck, ACleanScriptHasNoFindings) {
  const std::vector<Diagnostic> found = CheckScript(Bytes(kClean), kFiles, kPlaces);
  EXPECT_EQ(Summary(found), Lines{});
  EXPECT_EQ(ExitStatus(found), 0);
}

TEST(SetupCheck, EachFaultItsFinding) {
  const std::string longName = std::string(250, 'n') + ".txt";
  ProductFiles withLong = kFiles;
  withLong.paths.push_back(longName);
  std::string utf16 = "\xFF\xFE";
  for (char c : Bytes(kClean)) utf16 += std::string{c, '\0'};

  const struct {
    const char* behaviour;
    std::string bytes;
    Lines found;
    ProductFiles files = kFiles;
  } cases[] = {
      {"a file entry whose source is missing", Bytes(Inserted(kClean, 9, "missing.txt")),
       {"missing source@9"}},
      {"a source there only in another letter case", Bytes(Edited(kClean, 8, "README.TXT")),
       {"source case@8"}},
      {"a sub-path file is found below the directory", Bytes(Inserted(kClean, 9, "sub\\deep.txt")),
       {}},
      {"a program file that no entry installs", Bytes(Edited(kClean, 3, "other.exe")),
       {"program file not installed@3"}},
      {"no remove.exe among the entries", Bytes(Erased(kClean, 7)), {"no uninstaller@-1"}},
      {"a marker in the wrong case",
       Bytes(Inserted(Inserted(Inserted(kClean, 14, ""), 15, ":WIN"), 16, "readme.txt")),
       {"marker case@15"}},
      {"the install marker in the wrong case misses both programs",
       Bytes(Edited(kClean, 5, ":Install")),
       {"marker case@5", "no uninstaller@-1", "program file not installed@3"}},
      {"a marker inside an open section", Bytes(Erased(kClean, 9)), {"marker inside section@9"}},
      {"a sub-path without a leading backslash", Bytes(Edited(kClean, 0, "Widget")),
       {"sub-path without backslash@0"}},
      {"an ini section without its end", Bytes(Erased(kClean, 13)),
       {"ini section without end@10"}},
      {"a name that restores to nothing", Bytes(Inserted(kClean, 9, "_")),
       {"restores to nothing@9"}},
      {"a target path longer than the platform takes", Bytes(Inserted(kClean, 9, longName)),
       {"path too long@9"}, withLong},
      {"a byte the ANSI code page leaves undefined", Bytes(Edited(kClean, 2, "Widget \x81")),
       {"not ANSI@2"}},
      {"a line saved as UTF-8", Bytes(Edited(kClean, 2, "Widget Stra\xC3\x9F" "e")),
       {"not ANSI@2"}},
      {"a UTF-8 byte-order mark", "\xEF\xBB\xBF" + Bytes(kClean),
       {"not ANSI@0", "sub-path without backslash@0"}},
      {"a control byte", Bytes(Edited(kClean, 2, "Widget\x01")), {"not text@2"}},
      {"a zero byte ends the script", Bytes(kClean) + std::string("\0more", 5), {"not text@14"}},
      {"UTF-16 text", utf16,
       {"not text@-1", "sub-path without backslash@0", "too few lines@-1"}},
      {"fewer than five lines", Bytes(Lines(kClean.begin(), kClean.begin() + 4)),
       {"program file not installed@3", "too few lines@-1"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Summary(CheckScript(c.bytes, c.files, kPlaces)), c.found) << c.behaviour;
}

TEST(SetupCheck, TheExitStatusTellsWarningsFromErrors) {
  EXPECT_EQ(ExitStatus(CheckScript(Bytes(kClean), kFiles, kPlaces)), 0);
  EXPECT_EQ(ExitStatus(CheckScript(Bytes(Edited(kClean, 8, "x.txt")), kFiles, kPlaces)), 1);
  EXPECT_EQ(ExitStatus(CheckScript(Bytes({"\\a", "b", "c", "d"}), kFiles, kPlaces)), 2);
}

TEST(SetupCheck, ProductDirectoriesOnDisk) {
  TempProduct product;
  product.Write("SETUP.INI", Bytes(kClean));
  for (const char* name : {"WIDGET.EX_", "REMOVE.EX_", "readme.txt"}) product.Write(name, "x");
  CheckOptions options;
  options.productDir = product.Path();
  ProductCheck check = CheckProduct(options);
  EXPECT_TRUE(check.scriptRead);
  EXPECT_EQ(Summary(check.diagnostics), Lines{"script name case@-1"});
  EXPECT_EQ(check.places.destination, "c:\\program files\\Widget");
  EXPECT_EQ(check.places.windowsDir, "C:\\WINDOWS");

  fs::remove(fs::path(product.Path()) / "SETUP.INI");
  check = CheckProduct(options);
  EXPECT_FALSE(check.scriptRead);
  EXPECT_EQ(Summary(check.diagnostics), Lines{"no script@-1"});
  EXPECT_EQ(ExitStatus(check.diagnostics), 2);

  options.productDir = (fs::path(product.Path()) / "not there").string();
  EXPECT_EQ(Summary(CheckProduct(options).diagnostics), Lines{"no product directory@-1"});
}

TEST(SetupCheck, TheBundledSampleIsClean) {
  const char* src = std::getenv("VELMORA_SRC");
  if (!src) GTEST_SKIP() << "VELMORA_SRC names no source tree";
  CheckOptions options;
  options.productDir = (fs::path(src) / "tools" / "sample").string();
  const ProductCheck check = CheckProduct(options);
  EXPECT_TRUE(check.scriptRead);
  EXPECT_EQ(Summary(check.diagnostics), Lines{});
}

TEST(SetupCheck, TheReportStopsWhereTheInstallerStops) {
  // Four lines: the run writes the uninstall record, then fails on the record name.
  ProductCheck check;
  check.scriptRead = true;
  check.scriptName = "setup.ini";
  check.script = setupcore::Script(Lines{"\\W", "W", "W 1", "w.exe"});
  check.places = kPlaces;
  check.diagnostics = CheckScript(Bytes(check.script.Lines()), kFiles, kPlaces);
  std::ostringstream plan, findings;
  setupcheck::PrintPlan(plan, check);
  setupcheck::PrintDiagnostics(findings, check);
  const std::string text = plan.str();
  const size_t record = text.find("Uninstall record C:\\Dest\\unin.ini:\n    W 1\n");
  const size_t stop = text.find("The installer stops here with \"List index out of bounds\".");
  EXPECT_NE(record, std::string::npos) << text;
  EXPECT_NE(stop, std::string::npos) << text;
  EXPECT_LT(record, stop);
  EXPECT_EQ(text.find("Location record C:"), std::string::npos) << text;
  EXPECT_NE(findings.str().find("setup.ini:4: warning: no file entry installs the program file"),
            std::string::npos)
      << findings.str();
  EXPECT_NE(findings.str().find("setup-check: 1 error, 1 warning\n"), std::string::npos)
      << findings.str();
}
