// The vendor's checker: each finding on a script that has just that fault, the exit status, and
// whole product directories on disk, the bundled sample among them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

// The clean script with `erase` lines from `at` replaced by `insert`, as bytes.
std::string Changed(int at, int erase, const Lines& insert) {
  Lines lines = kClean;
  lines.erase(lines.begin() + at, lines.begin() + at + erase);
  lines.insert(lines.begin() + at, insert.begin(), insert.end());
  return Bytes(lines);
}

// Each finding as "what@line", the line counted from 0 as the script's lines are.
Lines Summary(const std::vector<Diagnostic>& found) {
  static const char* const kNames[] = {  // in the order Finding declares them
      "no product directory", "no script", "too few lines", "destination not full",
      "sub-path ends in backslash", "unsendable name", "bad record name", "unknown marker",
      "target not full", "device name", "bad shortcut name", "bad program file",
      "folder in windows", "script name case", "missing source",
      "source case", "program file not installed", "no uninstaller", "marker case",
      "marker inside section", "sub-path without backslash", "ini section without end",
      "restores to nothing", "path too long", "not ANSI", "not text", "standard ini name",
      "system marker"};
  static_assert(std::size(kNames) == static_cast<size_t>(Finding::kSystemMarker) + 1);
  Lines out;
  for (const Diagnostic& d : found)
    out.push_back(kNames[static_cast<size_t>(d.finding)] + ("@" + std::to_string(d.line)));
  std::sort(out.begin(), out.end());
  return out;
}

// A directory of its own under the system's temporary folder, removed with what it holds.
struct TempProduct {
  const fs::path path =
      fs::temp_directory_path() / ("setupcheck-" + std::to_string(std::random_device()()));
  TempProduct() { fs::create_directories(path); }
  ~TempProduct() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path / name, std::ios::binary) << bytes;
  }
};
}  // namespace

TEST(SetupCheck, EachFaultItsFinding) {
  // C:\Dest\ and the name: 260 characters, one more than the platform takes, and 259.
  const std::string longName = std::string(248, 'n') + ".txt";
  ProductFiles withLong = kFiles;
  withLong.paths.insert(withLong.paths.end(), {longName, longName.substr(1)});
  std::string utf16 = "\xFF\xFE";
  for (char c : Bytes(kClean)) utf16 += std::string{c, '\0'};

  const struct {
    const char* behaviour;
    std::string bytes;
    Lines found;
    ProductFiles files = kFiles;
  } cases[] = {
      {"a clean script", Bytes(kClean), {}},
      {"a file entry whose source is missing", Changed(9, 0, {"missing.txt"}),
       {"missing source@9"}},
      {"a source there only in another letter case", Changed(8, 1, {"README.TXT"}),
       {"source case@8"}},
      {"a sub-path file is found below the directory", Changed(9, 0, {"sub\\deep.txt"}), {}},
      {"a program file that no entry installs", Changed(3, 1, {"other.exe"}),
       {"program file not installed@3"}},
      {"no remove.exe among the entries", Changed(7, 1, {}), {"no uninstaller@-1"}},
      {"a marker in the wrong case", Changed(14, 0, {"", ":WIN", "readme.txt"}),
       {"marker case@15", "unknown marker@15"}},
      {"the install marker in the wrong case misses both programs", Changed(5, 1, {":Install"}),
       {"marker case@5", "no uninstaller@-1", "program file not installed@3", "unknown marker@5"}},
      {"a marker inside an open section", Changed(9, 1, {}), {"marker inside section@9"}},
      {"a sub-path without a leading backslash", Changed(0, 1, {"Widget"}),
       {"sub-path without backslash@0"}},
      {"an ini section without its end", Changed(13, 1, {}), {"ini section without end@10"}},
      {"a name that restores to nothing", Changed(9, 0, {"_"}), {"restores to nothing@9"}},
      {"a target path longer than the platform takes", Changed(9, 0, {longName}),
       {"path too long@9"}, withLong},
      {"a target path of the most the platform takes", Changed(9, 0, {longName.substr(1)}), {}, withLong},
      {"a byte the ANSI code page leaves undefined", Changed(2, 1, {"Widget \x81"}),
       {"not ANSI@2"}},
      {"a line saved as UTF-8", Changed(2, 1, {"Widget Stra\xC3\x9F" "e"}), {"not ANSI@2"}},
      {"a UTF-8 byte-order mark", "\xEF\xBB\xBF" + Bytes(kClean),
       {"not ANSI@0", "sub-path without backslash@0"}},
      {"control bytes, told once a line", Changed(1, 2, {"W\x7F", "Widget\x01\x01"}),
       {"bad shortcut name@2", "not text@1", "not text@2"}},
      {"a tab, overlong UTF-8 and leads past U+10FFFF are ANSI text",
       Changed(1, 2, {"W\t\xC1\xBF", "W \xF5\x80\x80\x80"}), {"bad shortcut name@1"}},
      {"a zero byte ends the script", Bytes(kClean) + std::string("\0more", 5), {"not text@14"}},
      {"UTF-16 text", utf16,
       {"not text@-1", "sub-path ends in backslash@0", "sub-path without backslash@0",
        "too few lines@-1"}},
      {"big-endian UTF-16 text", std::string("\xFE\xFF\0\\\0W", 6),
       {"not text@-1", "sub-path without backslash@0", "too few lines@-1"}},
      {"a sub-path ending in a backslash", Changed(0, 1, {"\\Widget\\"}),
       {"sub-path ends in backslash@0"}},
      {"a group name and a title the program group cannot take",
       Changed(1, 2, {"Wid]get", "Widget \"2\""}), {"unsendable name@1", "unsendable name@2"}},
      {"a group name opening a command", Changed(1, 1, {"W[x"}), {"unsendable name@1"}},
      {"a group and a title the shortcuts would not be named by",
       Changed(1, 2, {"Tools\\..", "Widget 2 "}), {"bad shortcut name@1", "bad shortcut name@2"}},
      {"a group in a folder of its own", Changed(1, 1, {"Tools\\Widget"}), {}},
      {"a program file that would end the group's quoted command",
       Changed(3, 1, {"widget.exe\"][DeleteGroup(Other)][AddItem(\"x"}),
       {"bad program file@3", "program file not installed@3"}},
      {"a program file outside the destination", Changed(3, 1, {"..\\widget.exe"}),
       {"bad program file@3", "program file not installed@3"}},
      {"a record name that leaves the Windows directory",
       Changed(4, 1, {"..\\..\\Program Files\\Other\\unin"}), {"bad record name@4"}},
      {"an empty record name", Changed(4, 1, {""}), {"bad record name@4"}},
      {"a record name that is a device", Changed(4, 1, {"Aux.x"}), {"bad record name@4"}},
      {"a record name of the system's own ini files", Changed(4, 1, {"win"}),
       {"standard ini name@4"}},
      {"an unknown marker, and one in the wrong case, whose files would land relative",
       Changed(14, 0, {"", ":system", "readme.txt", "", ":Win", "readme.txt"}),
       {"marker case@18", "unknown marker@15", "unknown marker@18"}},
      {"a literal marker naming a full directory is kept",
       Changed(14, 0, {"", ":D:\\Shared\\", "readme.txt"}), {}},
      {"entries that would not stay below their section's directory",
       Changed(9, 0, {"..\\..\\readme.txt", "C:\\x", "\\x", "a\\\\b", "a/../x", "data.\\x",
                      "data \\x", "...\\x"}),
       {"target not full@10", "target not full@11", "target not full@12", "target not full@13",
        "target not full@14", "target not full@15", "target not full@16", "target not full@9"}},
      {"entries named like devices",
       Changed(9, 0, {"con.txt", "sub\\AUX.H", "Com1.da_", "con\\x", "COM\xB9.txt", "lpt0"}),
       {"device name@10", "device name@11", "device name@12", "device name@13", "device name@14",
        "device name@9"}},
      {"literal markers that put files into system directories, spelt any way",
       Changed(14, 0, {"", ":c:\\windows\\SysWOW64\\", "readme.txt", "", ":C:\\WINDOWS",
                       "\\readme.txt", "", ":C:\\WINDOWS\\system", "32\\readme.txt"}),
       {"missing source@22", "system marker@15", "system marker@18",
        "system marker@21"}},
      {"a folder in a Windows directory", Changed(14, 0, {"", ":win", "sub\\deep.txt"}),
       {"folder in windows@16"}},
      {"an ini section first", Changed(5, 0, {":ini", "~\\w.ini", ":end", ""}), {}},
      {"the five header lines alone", Changed(5, 9, {}),
       {"no uninstaller@-1", "program file not installed@3"}},
      {"fewer than five lines", Changed(4, 10, {}),
       {"program file not installed@3", "too few lines@-1"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Summary(CheckScript(c.bytes, c.files, kPlaces)), c.found) << c.behaviour;
}

TEST(SetupCheck, TheExitStatusTellsWarningsFromErrors) {
  EXPECT_EQ(ExitStatus(CheckScript(Bytes(kClean), kFiles, kPlaces)), 0);
  EXPECT_EQ(ExitStatus(CheckScript(Changed(8, 1, {"x.txt"}), kFiles, kPlaces)), 1);
  EXPECT_EQ(ExitStatus(CheckScript(Bytes({"\\a", "b", "c", "d"}), kFiles, kPlaces)), 2);
  EXPECT_EQ(ExitStatus(CheckScript(Changed(4, 1, {"con"}), kFiles, kPlaces)), 2);
  EXPECT_EQ(ExitStatus(CheckScript(Changed(14, 0, {"", ":win", "sub\\deep.txt"}), kFiles, kPlaces)), 2);
  const std::string zero = Bytes(kClean) + std::string("\0more", 5);
  EXPECT_NE(CheckScript(zero, kFiles, kPlaces)[0].message.find("ignores the 5 bytes"), std::string::npos);
  for (const char* destination : {"Rel", "C:Rel", "C:\\", "C:\\Dest\\..\\x", "\\\\srv\\share\\x",
                                  "\\\\?\\C:\\x", "\\\\.\\C:\\x", "C:\\Dest.\\x", "C:\\lpt\xB3\\x"}) {
    const std::vector<Diagnostic> found =
        CheckScript(Bytes(kClean), kFiles, setupcore::RunPlaces{"D:", destination, "C:\\WINDOWS"});
    EXPECT_EQ(Summary(found).front(), "destination not full@-1") << destination;
    EXPECT_EQ(ExitStatus(found), 2) << destination;
  }
}

TEST(SetupCheck, ProductDirectoriesOnDisk) {
  TempProduct product;
  product.Write("SETUP.INI", Bytes(kClean));
  for (const char* name : {"WIDGET.EX_", "REMOVE.EX_", "readme.txt"}) product.Write(name, "x");
  CheckOptions options;
  options.productDir = product.path.string();
  ProductCheck check = CheckProduct(options);
  EXPECT_TRUE(check.scriptRead);
  EXPECT_EQ(Summary(check.diagnostics), Lines{"script name case@-1"});
  EXPECT_EQ(check.places.destination, "c:\\program files\\Widget");
  options.destination = "C:\\Apps\\TB\\";
  EXPECT_EQ(CheckProduct(options).places.destination, "C:\\Apps\\TB") << "made full as the run does";
  options.destination.reset();
  EXPECT_EQ(check.places.windowsDir, "C:\\WINDOWS");

  fs::remove(product.path / "SETUP.INI");
  check = CheckProduct(options);
  EXPECT_FALSE(check.scriptRead);
  EXPECT_EQ(Summary(check.diagnostics), Lines{"no script@-1"});
  EXPECT_EQ(ExitStatus(check.diagnostics), 2);

  options.productDir = (product.path / "not there").string();
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

TEST(SetupCheck, TheReportShowsTheTreeTheRunMakes) {
  const Lines script{"\\W", "W", "W 1", "w.exe", "w", ":install", "w.exe", "data\\levels\\ONE.DA_",
                     "docs\\Read Me.txt", "data\\two.dat", "", ":win", "shared.dll"};
  const ProductCheck check{{}, true, "setup.ini", setupcore::Script(script), kPlaces};
  std::ostringstream plan;
  setupcheck::PrintPlan(plan, check);
  EXPECT_NE(plan.str().find("\nTree below C:\\Dest (folders, then files):\n"
                            "    data\\\n    data\\levels\\\n    docs\\\n"
                            "    w.exe\n    data\\levels\\one.da\n    docs\\Read Me.txt\n"
                            "    data\\two.dat\n\nWaits for"),
            std::string::npos) << plan.str();
}

TEST(SetupCheck, TheReportStopsWhereTheInstallerStops) {
  // Four lines: the run writes the uninstall record, then fails on the record name.
  const Lines four{"W", "W", "W 1", "w.exe"};
  const ProductCheck check{CheckScript(Bytes(four), kFiles, kPlaces), true, "setup.ini",
                           setupcore::Script(four), kPlaces};
  std::ostringstream plan, findings;
  setupcheck::PrintPlan(plan, check);
  setupcheck::PrintDiagnostics(findings, check);
  const std::string text = plan.str();
  EXPECT_NE(text.find("The installer stops here with \"List index out of bounds\".",
                      text.find("Uninstall record C:\\Dest\\unin.ini:\n    W 1\n")),
            std::string::npos) << text;
  EXPECT_EQ(text.find("Location record C:"), std::string::npos) << text;
  for (const char* told : {"setup.ini:4: warning: no file entry installs the program file",
                          "setup.ini:1: warning: the destination sub-path", "setup-check: 1 error, 2 warnings\n"})
    EXPECT_NE(findings.str().find(told), std::string::npos) << findings.str();
  std::ostringstream none;
  setupcheck::PrintDiagnostics(none, ProductCheck{{}, true, "setup.ini", setupcore::Script(), kPlaces});
  EXPECT_EQ(none.str(), "setup-check: 0 errors, 0 warnings\n");
  // A script's escape sequence cannot rewrite the vendor's screen.
  EXPECT_EQ(setupcheck::DisplayText("a\x1b[2Jb\t\x7f\x01"), "a\\x1b[2Jb\\t\\x7f\\x01");
#ifndef _WIN32  // shown as UTF-8 where the terminal takes it
  EXPECT_EQ(setupcheck::DisplayText("\x80\x9F"), "\xE2\x82\xAC\xC5\xB8");  // the ends of 0x80-0x9F
#endif
}
