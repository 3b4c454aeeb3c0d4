#include "setupcore/CopyPlan.h"

#include <set>

#include "setupcore/InstallRules.h"
#include "setupcore/Places.h"
#include "setupcore/RecordLines.h"

namespace setupcore {

namespace {
const int kFirstCopyLine = 4;

// The bar counts script lines, not files, and is truncated, not rounded: the file entry on the
// last line sets exactly 100.
int ProgressAt(int line, int count) {
  return static_cast<int>(static_cast<double>(line) / static_cast<double>(count - 1) * 100.0);
}

// Each test sees the result of the one before it, as the markers were always resolved.
std::string TargetPrefix(const std::string& name, const RunPlaces& places) {
  std::string prefix = name;
  if (prefix == "win") prefix = places.windowsDir + "\\";
  if (prefix == "win\\system") prefix = places.windowsDir + "\\system\\";
  if (prefix == "install") prefix = places.destination + "\\";
  return prefix;
}
}  // namespace

CopyPlan::CopyPlan(const Script& script, const RunPlaces& places)
    : script_(script), places_(places) {
  // Where the group has always been read from, whether by the copy pass, the ini sections or
  // the group's texts.
  if (!places_.group.empty()) {
    script_.Delete(1);
    script_.Insert(1, places_.group);
  }
  std::string sourcePrefix;
  bool sectionOpen = false;
  // The run makes the destination a full path before it plans; below anything else, the target
  // of an entry could be a share's name or the root of a drive, never a folder to make.
  const TCodePage& cp = places_.codePage;
  const bool fullDestination = IsFullPath(places_.destination, cp);
  for (int i = kFirstCopyLine; i <= script_.Count() - 1; ++i) {
    const std::string line = script_.Line(i);
    if (line.empty()) {
      sectionOpen = false;
      continue;
    }
    if (sectionOpen) {
      CopyEntry entry;
      entry.line = i;
      entry.marker = static_cast<int>(markers_.size()) - 1;
      entry.source = sourcePrefix + line;
      const std::string restored = RestoredName(line);
      entry.target = lastTargetPrefix_ + restored;
      entry.status = "Copying file: " + line;
      entry.position = ProgressAt(i, script_.Count());
      const std::string& section = markers_.back().name;
      const bool iniLine = section == "ini";
      const bool folders = Parts(line, cp).size() > 1;
      // The lines of an ini section are recorded and never copied, so they may stay relative.
      if (!restored.empty() && !iniLine) {
        if (NamesDevice(line, cp) || NamesDevice(entry.target, cp)) entry.refusal = EntryRefusal::kDevice;
        else if (!IsFullPath(entry.target, cp)) entry.refusal = EntryRefusal::kNotFullPath;
        // The shared directories are the system's: the product makes no folders of its own there.
        else if (folders && (section == "win" || section == "win\\system"))
          entry.refusal = EntryRefusal::kFolderInWindows;
      }
      entry.recorded = !restored.empty() && entry.refusal == EntryRefusal::kNone;
      entry.copies = entry.recorded && !iniLine;
      entry.makesFolders = entry.copies && folders && section == "install" && fullDestination;
      entries_.push_back(entry);
    }
    // A marker does not close the open section: it has just been copied as one of its files.
    if (line[0] == ':') {
      SectionMarker marker;
      marker.line = i;
      marker.name = line.substr(1);
      marker.prefix = TargetPrefix(marker.name, places_);
      marker.insideSection = sectionOpen;
      sourcePrefix = places_.source + "\\";
      lastTargetPrefix_ = marker.prefix;
      markers_.push_back(marker);
      sectionOpen = true;
    }
  }

  for (int k = 0; k <= script_.Count() - 1; ++k) {
    if (script_.Line(k) != ":ini") continue;
    IniSection section;
    section.line = k;
    for (int j = k + 1; j <= script_.Count() - 1; ++j) {
      const std::string line = script_.Line(j);
      if (!line.empty() && line[0] == ':') {
        section.end = j;
        break;
      }
    }
    iniSections_.push_back(section);
  }
}

std::vector<std::string> CopyPlan::Folders() const {
  std::vector<std::string> folders;
  std::set<std::string> known;
  for (const CopyEntry& entry : entries_) {
    if (!entry.makesFolders) continue;
    const std::vector<std::string> parts =
        Parts(entry.target.substr(places_.destination.size() + 1), places_.codePage);
    std::string folder = places_.destination;
    for (size_t k = 0; k + 1 < parts.size(); ++k) {
      folder += "\\" + parts[k];
      if (known.insert(folder).second) folders.push_back(folder);
    }
  }
  return folders;
}

std::string CopyPlan::Group() const { return script_.Line(1); }

std::string CopyPlan::Title() const { return script_.Line(2); }

std::string CopyPlan::ProgramFilePath() const {
  return places_.destination + "\\" + script_.Line(3);
}

std::string CopyPlan::UninstallerPath() const { return places_.destination + "\\remove.exe"; }

ProgramGroupTexts CopyPlan::GroupTexts() const {
  const std::string quote = "\"";
  ProgramGroupTexts texts;
  texts.group = Group();
  texts.title = script_.Line(2);
  texts.command = quote + places_.destination + "\\" + script_.Line(3) + quote;
  texts.uninstallerTitle = script_.Line(2) + " Uninstaller";
  texts.uninstallerCommand = quote + UninstallerPath() + quote;
  return texts;
}

std::string RunPlaces::ProgramsDir() const { return ProgramsFolder(programsDir, windowsDir); }

std::vector<std::string> CopyPlan::StartMenuLines() const {
  // Where the program-group server keeps the group and its items; written whether or not the
  // group was made.
  const std::string group = places_.ProgramsDir() + "\\" + Group() + "\\";
  const std::string title = script_.Line(2);
  return {group + title + ".lnk", group + title + " Uninstaller" + ".lnk", GroupRecordLine(group)};
}

std::string CopyPlan::LastTargetLine() const { return LastTargetRecordLine(lastTargetPrefix_); }

std::string CopyPlan::UninstallRecordPath() const { return places_.destination + "\\unin.ini"; }

std::vector<std::string> CopyPlan::UninstallRecord(const std::vector<size_t>& leftOut) const {
  std::vector<std::string> record{Title()};
  size_t next = 0;
  for (size_t k = 0; k < entries_.size(); ++k) {
    const bool left = next < leftOut.size() && leftOut[next] == k;
    if (left) ++next;
    if (entries_[k].recorded && !left) record.push_back(entries_[k].target);
  }
  for (const std::string& line : StartMenuLines()) record.push_back(line);
  record.push_back(LastTargetLine());
  return record;
}

std::vector<std::string> CopyPlan::LocationRecord() const {
  std::vector<std::string> record{kLocationRecordHead, places_.destination};
  for (const IniSection& section : iniSections_) {
    // A section without its closing line ends with the script; an empty line in it gives
    // nothing, though for the copy pass it closes the section.
    const int last = section.end >= 0 ? section.end : script_.Count() - 1;
    for (int j = section.line + 1; j <= last; ++j) {
      const std::string line = script_.Line(j);
      if (line.empty()) continue;
      if (line[0] == '>') record.push_back(places_.windowsDir);
      else if (line[0] == '~') record.push_back(places_.destination + line.substr(1));
    }
  }
  return record;
}

std::string CopyPlan::RecordName() const { return script_.Line(4); }

std::string CopyPlan::LocationRecordPath() const {
  return places_.windowsDir + "\\" + RecordName() + ".ini";
}

}  // namespace setupcore
