#include "setupcheck/Report.h"

#include <cstdio>
#include <exception>

#include "setupcore/CopyPlan.h"
#include "setupcore/Errors.h"

namespace setupcheck {

namespace {
using setupcore::CopyEntry;
using setupcore::CopyPlan;

#ifndef _WIN32
// Windows-1252 from 0x80 to 0x9F; the rest of the upper half is Latin-1. 0 where it has none.
const unsigned short kAnsiHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}
#endif

std::string Show(const std::string& ansi) { return DisplayText(ansi); }

void PrintLines(std::ostream& out, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) out << "    " << Show(line) << "\n";
}

void PrintStop(std::ostream& out, const std::exception& error) {
  out << "  The installer stops here with \"" << Show(error.what()) << "\".\n";
}

void PrintCopyPass(std::ostream& out, const ProductCheck& check, const CopyPlan& plan) {
  out << "Copy pass (" << Show(check.scriptName) << " line, progress bar, file entry -> target):\n";
  if (plan.Entries().empty()) out << "    (no file entries)\n";
  for (const CopyEntry& entry : plan.Entries()) {
    const std::string line = check.script.Line(entry.line);
    const std::string& section = plan.Markers()[static_cast<size_t>(entry.marker)].name;
    char head[32];
    std::snprintf(head, sizeof head, "  %5d %4d%%  ", entry.line + 1, entry.position);
    out << head << Show(line) << " -> ";
    if (entry.refusal == setupcore::EntryRefusal::kDevice)
      out << "(refused, named like a device)";
    else if (entry.refusal == setupcore::EntryRefusal::kNotFullPath)
      out << "(refused, " << Show(entry.target) << " is no full path)";
    else if (entry.refusal == setupcore::EntryRefusal::kFolderInWindows)
      out << "(refused, names a folder of a Windows directory)";
    else if (!entry.recorded)
      out << "(shown, nothing copied or recorded)";
    else
      out << Show(entry.target);
    if (section == "ini") out << "   [ini section line: recorded, not copied]";
    out << "\n";
  }
}
// What the destination will hold when the product names folders: the folders the run makes,
// each after the one it is in, then every file copied there, as paths below the destination.
void PrintTree(std::ostream& out, const CopyPlan& plan) {
  const std::vector<std::string> folders = plan.Folders();
  if (folders.empty()) return;
  const std::string below = plan.Places().destination + "\\";
  out << "\nTree below " << Show(plan.Places().destination) << " (folders, then files):\n";
  for (const std::string& folder : folders) out << "    " << Show(folder.substr(below.size())) << "\\\n";
  for (const CopyEntry& entry : plan.Entries())
    if (entry.copies && entry.target.compare(0, below.size(), below) == 0)
      out << "    " << Show(entry.target.substr(below.size())) << "\n";
}
}  // namespace

std::string DisplayText(const std::string& ansi) {
  std::string out;
  for (char c : ansi) {
    const unsigned char byte = static_cast<unsigned char>(c);
    // A script line may hold a terminal's escape sequence, which could erase or rewrite the
    // findings on the vendor's screen and would stay in a saved log: control bytes are shown.
    if (byte < 0x20 || byte == 0x7F) {
      if (byte >= 0x07 && byte <= 0x0D) {
        out += '\\';
        out += "abtnvfr"[byte - 0x07];
      } else {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\x%02x", byte);
        out += escape;
      }
      continue;
    }
#ifdef _WIN32
    out += c;
#else
    unsigned code = byte;
    if (byte >= 0x80 && byte <= 0x9F) code = kAnsiHighControls[byte - 0x80];
    AppendUtf8(out, code ? code : 0xFFFD);
#endif
  }
  return out;
}

void PrintPlan(std::ostream& out, const ProductCheck& check) {
  const CopyPlan plan(check.script, check.places);
  out << "Product directory  " << Show(check.places.source) << "\n"
      << "Destination        " << Show(check.places.destination) << "\n"
      << "Windows directory  " << Show(check.places.windowsDir) << "\n\n";
  try {
    plan.Title();  // the run's first step reads the title
    PrintCopyPass(out, check, plan);
    PrintTree(out, plan);
    out << "\nWaits for the program file " << Show(plan.ProgramFilePath()) << "\n";
    out << "\nProgram group commands (one execute to PROGMAN):\n";
    PrintLines(out, setupcore::GroupCommands(plan.GroupTexts()));
    out << "\nUninstall record " << Show(plan.UninstallRecordPath()) << ":\n";
    PrintLines(out, plan.UninstallRecord());
    // The record's lines are made before its name is read; a script without the name stops
    // the run there, after the uninstall record.
    const std::vector<std::string> location = plan.LocationRecord();
    const std::string locationPath = plan.LocationRecordPath();
    out << "\nLocation record " << Show(locationPath) << ":\n";
    PrintLines(out, location);
  } catch (const setupcore::EListError& error) {
    out << "\n";
    PrintStop(out, error);
  }
}

void PrintDiagnostics(std::ostream& out, const ProductCheck& check) {
  int errors = 0, warnings = 0;
  const std::string name = check.scriptName.empty() ? "setup.ini" : check.scriptName;
  for (const Diagnostic& d : check.diagnostics) {
    const bool error = IsError(d.finding);
    (error ? errors : warnings) += 1;
    out << Show(name);
    if (d.line >= 0) out << ":" << d.line + 1;
    out << ": " << (error ? "error" : "warning") << ": " << Show(d.message) << "\n";
  }
  out << "setup-check: " << errors << (errors == 1 ? " error, " : " errors, ") << warnings
      << (warnings == 1 ? " warning" : " warnings") << "\n";
}

}  // namespace setupcheck
