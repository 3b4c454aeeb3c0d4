#include "setupcheck/Check.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <utility>

#include "setupcore/Errors.h"
#include "setupcore/GroupCommands.h"
#include "setupcore/InstallRules.h"
#include "setupcore/Places.h"
#include "setupcore/RemovePlan.h"

namespace setupcheck {

namespace {
using setupcore::CopyEntry;
using setupcore::CopyPlan;
using setupcore::RunPlaces;
using setupcore::Script;
using setupcore::SectionMarker;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Hex(unsigned char byte) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "0x%02X", byte);
  return buffer;
}

// Bytes that Windows-1252, the ANSI code page the program reads its texts in, leaves undefined.
bool UndefinedInAnsi(unsigned char byte) {
  return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

// Control bytes have no place in a script; tab is taken as the blank it shows as.
bool ControlByte(unsigned char byte) { return (byte < 0x20 && byte != '\t') || byte == 0x7F; }

// True when the text holds bytes above 0x7F and all of them form UTF-8 sequences: text saved
// as UTF-8, which the installer would read as one character a byte.
bool LooksLikeUtf8(const std::string& text) {
  bool multibyte = false;
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t follow = 0;
    if (lead >= 0x80) {
      if (lead >= 0xC2 && lead <= 0xDF) follow = 1;
      else if (lead >= 0xE0 && lead <= 0xEF) follow = 2;
      else if (lead >= 0xF0 && lead <= 0xF4) follow = 3;
      else return false;
    }
    if (follow > text.size() - i - 1) return false;
    for (size_t k = 1; k <= follow; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    multibyte = multibyte || follow > 0;
    i += follow + 1;
  }
  return multibyte;
}

bool IsUtf16(const std::string& bytes) {
  if (bytes.size() >= 2) {
    const unsigned char b0 = static_cast<unsigned char>(bytes[0]);
    const unsigned char b1 = static_cast<unsigned char>(bytes[1]);
    if ((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF)) return true;
    if (b0 != 0 && b1 == 0) return true;
  }
  return false;
}

class Checker {
public:
  Checker(const std::string& bytes, const ProductFiles& files, const RunPlaces& places)
      : bytes_(bytes), files_(files), script_(Script::FromBytes(bytes)), plan_(script_, places),
        cp_(places.codePage) {}

  std::vector<Diagnostic> Run() {
    CheckBytes();
    CheckHeader();
    CheckMarkers();
    CheckEntries();
    CheckIniSections();
    std::stable_sort(found_.begin(), found_.end(),
                     [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
    return found_;
  }

private:
  void Add(Finding finding, int line, const std::string& message) {
    found_.push_back(Diagnostic{finding, line, message});
  }

  // What the bytes are, before they are lines: the text rules the installer's loading follows.
  void CheckBytes() {
    if (IsUtf16(bytes_)) {
      Add(Finding::kNotText, -1,
          "the script is UTF-16 text; the installer reads one byte a character (ANSI) and stops "
          "at the first zero byte");
      return;
    }
    const size_t nul = bytes_.find('\0');
    const size_t end = std::min(nul, bytes_.size());
    std::set<int> controlLines;
    int line = 0;
    for (size_t i = 0; i < end; ++i) {
      const unsigned char c = static_cast<unsigned char>(bytes_[i]);
      if (c == '\r') {
        if (i + 1 < end && bytes_[i + 1] == '\n') ++i;
        ++line;
      } else if (c == '\n') {
        ++line;
      } else if (ControlByte(c) && controlLines.insert(line).second) {
        Add(Finding::kNotText, line,
            "control byte " + Hex(c) + ": the script is not plain text here");
      }
    }
    if (nul != std::string::npos)
      Add(Finding::kNotText, line,
          "a zero byte ends the script here: the installer ignores the " +
              std::to_string(bytes_.size() - nul) + " bytes from it on");

    const std::vector<std::string>& lines = script_.Lines();
    const std::string kUtf8Mark = "\xEF\xBB\xBF";
    for (size_t i = 0; i < lines.size(); ++i) {
      std::string text = lines[i];
      const int index = static_cast<int>(i);
      if (i == 0 && text.compare(0, kUtf8Mark.size(), kUtf8Mark) == 0) {
        Add(Finding::kNotAnsi, 0,
            "the script begins with a UTF-8 byte-order mark, which the installer takes as the "
            "first characters of the destination sub-path");
        text.erase(0, kUtf8Mark.size());
      }
      if (LooksLikeUtf8(text)) {
        Add(Finding::kNotAnsi, index,
            "the line looks like UTF-8; the installer reads it in the ANSI code page "
            "(Windows-1252) as " + Quoted(lines[i]));
        continue;
      }
      for (char c : text) {
        if (UndefinedInAnsi(static_cast<unsigned char>(c))) {
          Add(Finding::kNotAnsi, index,
              "byte " + Hex(static_cast<unsigned char>(c)) +
                  " is no character of the ANSI code page (Windows-1252)");
          break;
        }
      }
    }
  }

  void CheckHeader() {
    const int count = script_.Count();
    if (count < 5) {
      Add(Finding::kTooFewLines, -1,
          "the script has " + std::to_string(count) +
              " lines; the installer reads the five header lines and stops with \"" +
              setupcore::kListIndexError + "\"");
    }
    if (count >= 1) {
      const std::string subPath = script_.Line(0);
      if (subPath.empty() || subPath[0] != '\\')
        Add(Finding::kSubPathWithoutBackslash, 0,
            "the destination sub-path " + Quoted(subPath) +
                " does not begin with a backslash: the proposed destination is " +
                Quoted(setupcore::ProposedDestination(subPath)));
      if (!subPath.empty() && subPath.back() == '\\')
        Add(Finding::kSubPathEndsInBackslash, 0,
            "the destination sub-path " + Quoted(subPath) +
                " ends in a backslash; the installer drops it, and a browsed destination gets it "
                "doubled");
    }
    std::string full;
    const std::string destination = plan_.Places().destination;
    if (!setupcore::FullDestination(destination, full, cp_)) {
      const bool proposed = count >= 1 && destination == ProposedDestination(script_);
      Add(Finding::kDestinationNotFull, proposed ? 0 : -1,
          "the destination " + Quoted(destination) +
              (setupcore::IsShareForm(destination)
                   ? " is a network share or a device path, where the installation could not be "
                     "removed again; the installer refuses it"
                   : " is no full path with a directory below a drive's root, whose folder names "
                     "neither end in a dot or a blank nor name a device; the installer refuses "
                     "it"));
    }
    const char* const kWhat[] = {"", "group name", "product title"};
    for (int i = 1; i <= 2 && i < count; ++i) {
      const std::string name = script_.Line(i);
      if (!setupcore::IsSendableName(name)) {
        Add(Finding::kUnsendableName, i,
            "the " + std::string(kWhat[i]) + " " + Quoted(name) +
                " holds a double quote or a bracket, which the program group cannot take; the "
                "installer refuses it");
        continue;
      }
      static const char* const kWhy[] = {
          "", "is empty or has an empty part between backslashes",
          "holds one of / : * ? \" < > | or a control character",
          "begins or ends with a blank or ends with a dot, which would be dropped",
          "is the name of a device"};
      const setupcore::ShortcutNameFault fault =
          i == 1 ? setupcore::CheckGroupName(name, cp_) : setupcore::CheckTitle(name, cp_);
      if (fault != setupcore::ShortcutNameFault::kNone)
        Add(Finding::kBadShortcutName, i,
            "the " + std::string(kWhat[i]) + " " + Quoted(name) + " " +
                (i == 2 && fault == setupcore::ShortcutNameFault::kReservedCharacter
                     ? "holds one of \\ / : * ? \" < > | or a control character"
                     : kWhy[static_cast<int>(fault)]) +
                ", so the program group's shortcuts would not have that name; the installer "
                "refuses it");
    }
    if (count >= 4) CheckProgramFile(script_.Line(3));
    if (count >= 5) CheckRecordName(script_.Line(4));
    if (count >= 4) {
      const std::string program = plan_.ProgramFilePath();
      if (!Installs(program))
        Add(Finding::kProgramFileNotInstalled, 3,
            "no file entry installs the program file " + Quoted(script_.Line(3)) + " as " +
                Quoted(program) + "; the installer waits for it before it makes the program "
                "group, and its item would start nothing");
    }
    if (count >= 5) {
      const std::string remover = plan_.Places().destination + "\\remove.exe";
      if (!Installs(remover))
        Add(Finding::kNoUninstaller, -1,
            "no file entry installs remove.exe as " + Quoted(remover) +
                ", which the uninstaller item of the program group starts");
    }
  }

  void CheckProgramFile(const std::string& line) {
    static const char* const kWhy[] = {
        "", "holds a double quote or a bracket, which would end the program group's quoted command",
        "is no file path below the destination (empty, a drive, a ':', a leading backslash, one "
        "of / * ? \" < > |, or a part that is \".\", \"..\" or ends in a dot or a blank)",
        "names a device"};
    const setupcore::ProgramFileFault fault = setupcore::CheckProgramFile(line, cp_);
    if (fault != setupcore::ProgramFileFault::kNone)
      Add(Finding::kBadProgramFile, 3,
          "the program file " + Quoted(line) + " " + kWhy[static_cast<int>(fault)] +
              "; the installer refuses it");
  }

  void CheckRecordName(const std::string& name) {
    static const char* const kWhy[] = {
        "", "is empty", "holds one of \\ / : * ? \" < > |, so it names another file or none",
        "is \"..\", which names the directory above", "is the name of a device"};
    const setupcore::RecordNameFault fault = setupcore::CheckRecordName(name);
    if (fault != setupcore::RecordNameFault::kNone)
      Add(Finding::kBadRecordName, 4,
          "the location record's name " + Quoted(name) + " " + kWhy[static_cast<int>(fault)] +
              "; the installer refuses it");
    else if (setupcore::IsStandardIniName(name))
      Add(Finding::kStandardIniName, 4,
          "the location record " + Quoted(name + ".ini") +
              " has the name of one of the Windows directory's own files; the installer refuses "
              "to replace such a file where it is there");
  }

  bool Installs(const std::string& path) const {
    for (const CopyEntry& entry : plan_.Entries())
      if (entry.copies && SameNameIgnoringCase(entry.target, path)) return true;
    return false;
  }

  // The directories whose files the system and other programs share, compared as paths.
  bool NamesSharedDirectory(const std::string& dir) const {
    const std::string windows = plan_.Places().windowsDir;
    for (const char* below : {"", "\\system", "\\system32", "\\syswow64", "\\sysnative"})
      if (SamePath(dir, windows + below, cp_)) return true;
    return false;
  }

  std::string DirectoryOf(const std::string& path) const {
    const std::vector<std::string> parts = Parts(path, cp_);
    return path.substr(0, path.size() - parts.back().size());
  }

  bool InIniSection(int marker) const {
    return marker >= 0 && plan_.Markers()[static_cast<size_t>(marker)].name == "ini";
  }

  void CheckMarkers() {
    static const char* const kKnown[] = {"win", "win\\system", "install", "ini"};
    const std::vector<SectionMarker>& markers = plan_.Markers();
    for (size_t m = 0; m < markers.size(); ++m) {
      const SectionMarker& marker = markers[m];
      for (const char* known : kKnown) {
        if (marker.name != known && SameNameIgnoringCase(marker.name, known)) {
          Add(Finding::kMarkerCase, marker.line,
              Quoted(":" + marker.name) + " is not the marker " + Quoted(std::string(":") + known) +
                  " (markers are compared with case): its files go to the literal prefix " +
                  Quoted(marker.prefix));
        }
      }
      const bool known = marker.name == "win" || marker.name == "win\\system" ||
                         marker.name == "install" || marker.name == "ini";
      // A closing line such as ":end" opens a section too; only one that gets files is a fault.
      bool hasFiles = false;
      for (const CopyEntry& entry : plan_.Entries())
        hasFiles = hasFiles || entry.marker == static_cast<int>(m);
      if (!known && hasFiles && !setupcore::IsFullPath(marker.prefix, cp_, true))
        Add(Finding::kUnknownMarker, marker.line,
            Quoted(":" + marker.name) + " is none of the markers :install, :win, :win\\system, "
            ":ini, and its prefix is no full directory path: the installer refuses its files");
      // Compared where its files land, since a prefix without its trailing backslash runs
      // into the entry's name (":C:\WINDOWS\system" and "32\x.dll").
      bool shared = false;
      for (const CopyEntry& entry : plan_.Entries())
        shared = shared || (!known && entry.marker == static_cast<int>(m) && entry.copies &&
                            NamesSharedDirectory(DirectoryOf(entry.target)));
      if (shared)
        Add(Finding::kSystemMarker, marker.line,
            Quoted(":" + marker.name) + " puts files into the Windows directory or a system "
            "directory; the installer treats them as shared files there and keeps a newer file "
            "that is there (:win and :win\\system say so plainly)");
      // An ini section is meant to be closed by the next marker; any other section by an
      // empty line.
      if (marker.insideSection && !InIniSection(static_cast<int>(m) - 1)) {
        const SectionMarker& open = markers[m - 1];
        Add(Finding::kMarkerInsideSection, marker.line,
            "the marker comes while the section of line " + std::to_string(open.line + 1) +
                " is open, so the installer also takes it as the file " +
                Quoted(open.prefix + setupcore::RestoredName(script_.Line(marker.line))) +
                ", which it refuses (a ':' past the drive); an empty line before it closes that "
                "section");
      }
    }
  }

  void CheckEntries() {
    for (const CopyEntry& entry : plan_.Entries()) {
      const std::string line = script_.Line(entry.line);
      if (entry.refusal == setupcore::EntryRefusal::kDevice) {
        Add(Finding::kDeviceName, entry.line,
            Quoted(line) + " is named like a device (CON, PRN, AUX, NUL, COM0-9, LPT0-9, also "
            "with a superscript 1-3, CLOCK$): the installer refuses it");
        continue;
      }
      if (entry.refusal == setupcore::EntryRefusal::kNotFullPath) {
        const SectionMarker& marker = plan_.Markers()[static_cast<size_t>(entry.marker)];
        // A prefix that is at fault is reported once, at its marker.
        if (setupcore::IsFullPath(marker.prefix, cp_, true) && line[0] != ':')
          Add(Finding::kTargetNotFull, entry.line,
              "the target " + Quoted(entry.target) +
                  " is no full path (an empty part, one that is \".\" or \"..\" or ends in a dot "
                  "or a blank, a ':' past the drive, or one of / * ? \" < > |): the installer "
                  "refuses it");
        continue;
      }
      if (entry.refusal == setupcore::EntryRefusal::kFolderInWindows) {
        Add(Finding::kFolderInWindows, entry.line,
            Quoted(line) + " names a folder; the installer makes folders only below the "
            "destination, puts files directly into the Windows directories, and refuses it");
        continue;
      }
      if (!entry.recorded) {
        Add(Finding::kRestoresToNothing, entry.line,
            Quoted(line) + " restores to an empty name: the installer shows it but copies and "
                           "records nothing");
        continue;
      }
      if (entry.target.size() > kMaxPathLength)
        Add(Finding::kPathTooLong, entry.line,
            "the target path is " + std::to_string(entry.target.size()) +
                " characters long; Windows takes at most " + std::to_string(kMaxPathLength));
      // Lines of an ini section and markers met in a section name no product file.
      if (InIniSection(entry.marker) || line[0] == ':') continue;
      const FileLookup lookup = FindProductFile(files_, line);
      if (lookup.exact) continue;
      if (!lookup.otherCase.empty())
        Add(Finding::kSourceCase, entry.line,
            "the product directory has " + Quoted(lookup.otherCase) + " but not " + Quoted(line) +
                ": the names differ in letter case");
      else
        Add(Finding::kMissingSource, entry.line,
            "the product directory has no file " + Quoted(line));
    }
  }

  void CheckIniSections() {
    for (const setupcore::IniSection& section : plan_.IniSections())
      if (section.end < 0)
        Add(Finding::kIniSectionWithoutEnd, section.line,
            "the ini section has no closing line beginning with \":\"; it ends with the script");
  }

  const std::string& bytes_;
  const ProductFiles& files_;
  Script script_;
  CopyPlan plan_;
  const TCodePage cp_;
  std::vector<Diagnostic> found_;
};
}  // namespace

bool IsError(Finding finding) {
  return finding <= Finding::kFolderInWindows;
}

std::string ProposedDestination(const Script& script) {
  return setupcore::ProposedDestination(script.Count() > 0 ? script.Line(0) : std::string());
}

std::vector<Diagnostic> CheckScript(const std::string& bytes, const ProductFiles& files,
                                    const RunPlaces& places) {
  return Checker(bytes, files, places).Run();
}

ProductCheck CheckProduct(const CheckOptions& options) {
  ProductCheck check;
  ProductFiles files;
  if (!ListProductFiles(options.productDir, files)) {
    check.diagnostics.push_back(Diagnostic{Finding::kNoProductDirectory, -1,
                                           "there is no directory " + Quoted(options.productDir)});
    return check;
  }
  // The installer opens "setup.ini" in the directory it starts in, on a file system that
  // ignores letter case.
  const std::string kScriptName = "setup.ini";
  const FileLookup lookup = FindProductFile(files, kScriptName);
  check.scriptName = lookup.exact ? kScriptName : lookup.otherCase;
  std::string bytes;
  std::ifstream in;
  if (!check.scriptName.empty())
    in.open(options.productDir + "/" + check.scriptName, std::ios::binary);
  if (!in.is_open()) {
    check.diagnostics.push_back(Diagnostic{Finding::kNoScript, -1,
                                           "the product directory has no readable setup.ini"});
    return check;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  check.scriptRead = true;
  check.script = Script::FromBytes(bytes);
  check.places.source = options.productDir;
  check.places.destination = options.destination ? *options.destination
                                                 : ProposedDestination(check.script);
  // The installer makes the destination a full path once, before it plans; one it cannot make
  // so is reported by the check as it stands.
  std::string full;
  if (setupcore::FullDestination(check.places.destination, full, check.places.codePage))
    check.places.destination = full;
  check.places.windowsDir = options.windowsDir;
  check.diagnostics = CheckScript(bytes, files, check.places);
  if (!lookup.exact)
    check.diagnostics.insert(
        check.diagnostics.begin(),
        Diagnostic{Finding::kScriptNameCase, -1,
                   "the script is named " + Quoted(check.scriptName) +
                       ", not \"setup.ini\": the names differ in letter case"});
  return check;
}

int ExitStatus(const std::vector<Diagnostic>& diagnostics) {
  int status = 0;
  for (const Diagnostic& d : diagnostics) status = std::max(status, IsError(d.finding) ? 2 : 1);
  return status;
}

}  // namespace setupcheck
