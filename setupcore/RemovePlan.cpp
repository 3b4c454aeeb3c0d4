#include "setupcore/RemovePlan.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

#include "setupcore/RecordLines.h"

using setupcore::LocationLine;
using setupcore::LocationLineKind;
using setupcore::UninstallLine;
using setupcore::UninstallLineKind;

namespace {
// One element a character: a one-byte character folded, a two-byte one as it is (above 0xFFFF,
// so that it never equals a one-byte one). A lead byte with nothing after it stays one byte.
std::u32string Key(const std::string& path, const TCodePage& cp) {
  std::u32string k;
  k.reserve(path.size());
  for (size_t i = 0; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsLead(cp, path[i]) && i + 1 < path.size())
      k += static_cast<char32_t>(0x10000u | (c << 8) | static_cast<unsigned char>(path[++i]));
    else
      k += static_cast<char32_t>(cp.lower[c]);
  }
  // Without the trailing backslash, so that "C:\" and "c:" compare equal too.
  if (!k.empty() && k.back() == U'\\') k.pop_back();
  return k;
}

bool BadCharacters(const std::string& path, const TCodePage& cp) {
  const std::vector<bool> starts = CharacterStarts(path, cp);
  for (size_t i = 0; i < path.size(); ++i) {
    if (!starts[i]) continue;
    unsigned char c = static_cast<unsigned char>(path[i]);
    // A lead byte at the very end has lost its second byte: no name ends so.
    if (IsLead(cp, path[i]) && i + 1 == path.size()) return true;
    if (c < 32 || c == '"' || c == '*' || c == '?' || c == '<' || c == '>' || c == '|' || c == '/')
      return true;
    // Past the drive a colon opens a stream of the file before it, or of a directory.
    if (c == ':' && i != 1) return true;
    // Doubled backslashes are read by the system as one: the text would not say what it names.
    if (c == '\\' && i + 1 < path.size() && path[i + 1] == '\\') return true;
  }
  return false;
}

bool EndsWithBackslash(const std::string& s, const TCodePage& cp) {
  return !s.empty() && s.back() == '\\' && CharacterStarts(s, cp).back();
}

// The name after the last backslash, folded.
std::u32string LastPartKey(const std::string& path, const TCodePage& cp) {
  return Key(Parts(path, cp).back(), cp);
}

bool IsSystemDir(const std::string& path, const TRemovePlaces& places) {
  for (const std::string& s : places.systemDirs)
    if (!s.empty() && SamePath(path, s, places.codePage)) return true;
  return false;
}

// The system directory `path` lies below, or "".
std::string SystemDirAbove(const std::string& path, const TRemovePlaces& places) {
  for (const std::string& s : places.systemDirs)
    if (!s.empty() && IsBelow(s, path, places.codePage)) return s;
  return std::string();
}

// The checks every named thing passes first; rfNone when none of them refuses it.
TRefusal FirstRefusal(const std::string& path, const TRemovePlaces& places) {
  if (IsDriveRoot(path)) return rfDriveRoot;
  if (BadCharacters(path, places.codePage)) return rfNotAFileName;
  if (HasDotPart(path, places.codePage)) return rfDotPart;
  if (SamePath(path, places.windowsDir, places.codePage)) return rfWindowsDir;
  if (IsSystemDir(path, places)) return rfSystemDir;
  return rfNone;
}

class Planner {
public:
  Planner(const TRecords& records, const TRemovePlaces& places)
      : records_(records), places_(places), cp_(places.codePage),
        destinationOk_(MayRemoveDirectory(places.destination, places)) {}

  TRemovePlan Run() {
    TRemovePlan plan;
    const std::vector<std::string>& unin = records_.uninstall;
    if (!unin.empty()) plan.title = unin[0];
    // Groups first, since the shortcuts before them in the record are recognised by them.
    std::vector<TRemoveStep> groupSteps;
    for (size_t i = 0; i < unin.size(); ++i)
      if (UninstallLineKind(i, unin[i]) == UninstallLine::Group)
        groupSteps.push_back(Group(unin[i].substr(1), i));
    // The last target line records where the copy pass last wrote: information, not a thing.
    for (size_t i = 0; i < unin.size(); ++i)
      if (UninstallLineKind(i, unin[i]) == UninstallLine::File) Add(plan, File(unin[i], riUninstall, i));
    for (const TRemoveStep& g : groupSteps) Add(plan, g);
    const std::vector<std::string>& loc = records_.location;
    for (size_t i = 0; i < loc.size(); ++i) {
      if (LocationLineKind(i) != LocationLine::Entry) continue;
      TRemoveStep s = Step(loc[i], riLocation, i);
      // A ">" line names the Windows directory: where the product keeps settings, not a file.
      if (SamePath(loc[i], places_.windowsDir, cp_)) s.kind = skPlace;
      else if (!loc[i].empty()) s = File(loc[i], riLocation, i);
      Add(plan, s);
    }
    AddFolders(plan);
    if (self_.kind == skSelf) {
      plan.steps.push_back(self_);
      plan.self = static_cast<int>(plan.steps.size()) - 1;
    }
    return plan;
  }

private:
  static TRemoveStep Step(const std::string& path, TRecordId record, size_t line) {
    TRemoveStep s;
    s.path = path;
    s.record = record;
    s.line = static_cast<int>(line);
    return s;
  }

  static TRemoveStep Refused(TRemoveStep s, TRefusal why, TStepKind kind = skRefused) {
    s.kind = kind;
    s.refusal = why;
    return s;
  }

  static TRemoveStep In(TRemoveStep s, TStepKind kind, const std::string& place) {
    s.kind = kind;
    s.place = place;
    return s;
  }

  TRemoveStep Group(const std::string& dir, size_t line) {
    TRemoveStep s = Step(dir, riUninstall, line);
    if (TRefusal r = FirstRefusal(dir, places_)) return Refused(s, r);
    if (!IsFullPath(dir)) return Refused(s, rfNoDrive, skPassedOver);
    const std::string programs = places_.ProgramsFolder();
    if (!IsBelow(programs, dir, cp_) || !MayRemoveDirectory(dir, places_)) return Refused(s, rfOutside);
    s = In(s, skGroup, programs);
    s.group = dir.substr(programs.size() + 1);
    if (EndsWithBackslash(s.group, cp_)) s.group.pop_back();
    groups_.push_back(dir);
    return s;
  }

  // A shortcut is an item the server keeps directly in the group: a ".lnk" there, nothing deeper.
  bool IsShortcutOf(const std::string& group, const std::string& path) const {
    if (!IsBelow(group, path, cp_) || PartsBelow(group, path, cp_).size() != 1) return false;
    const std::u32string name = LastPartKey(path, cp_);
    return name.size() > 4 && name.compare(name.size() - 4, 4, U".lnk") == 0;
  }

  TRemoveStep File(const std::string& path, TRecordId record, size_t line) {
    TRemoveStep s = Step(path, record, line);
    // A name without its drive and directory was relative to wherever the installer then stood:
    // nothing says which file it is. The installer writes such lines for the entries of an ini
    // section ("ini~\unin.ini", "ini:end"), which name no file at all.
    const bool drive = path.size() >= 2 && path[1] == ':';
    if (!drive) return Refused(s, rfNoDrive, skPassedOver);
    if (TRefusal r = FirstRefusal(path, places_)) return Refused(s, r);
    // "C:name" is relative to whatever directory drive C has at the time.
    if (!IsFullPath(path)) return Refused(s, rfNotAFileName);
    if (EndsWithBackslash(path, cp_) || SamePath(path, places_.destination, cp_) ||
        SamePath(path, places_.ProgramsFolder(), cp_))
      return Refused(s, rfDirectory);
    for (const std::string& g : groups_)
      if (SamePath(path, g, cp_)) return Refused(s, rfDirectory);
    // The records go after everything else, as records, whatever line names them.
    if (SamePath(path, places_.uninstallRecord, cp_) ||
        (!places_.locationRecord.empty() && SamePath(path, places_.locationRecord, cp_)))
      return s;
    if (SamePath(path, places_.self, cp_)) {
      if (self_.kind != skSelf) self_ = In(s, skSelf, places_.destination);
      return s;
    }
    for (const std::string& g : groups_)
      if (IsShortcutOf(g, path)) return In(s, skShortcut, places_.ProgramsFolder());
    if (destinationOk_ && IsBelow(places_.destination, path, cp_))
      return In(s, skFile, places_.destination);
    // Anything else of the Windows directory, the program groups' folders included, may be
    // another program's: the user is asked.
    const std::string system = SystemDirAbove(path, places_);
    if (!system.empty()) return In(s, skShared, system);
    if (IsBelow(places_.windowsDir, path, cp_)) return In(s, skShared, places_.windowsDir);
    return Refused(s, rfOutside);
  }

  // The folders between the destination and each of its files, deepest first, so that a folder
  // is looked at once those below it have gone. Only these: a folder the records lead to no file
  // in is not the installation's to judge.
  void AddFolders(TRemovePlan& plan) const {
    std::vector<std::pair<size_t, TRemoveStep>> folders;  // with their depth below the destination
    std::set<std::u32string> seen;
    for (const TRemoveStep& s : plan.steps) {
      if (s.kind != skFile) continue;
      const std::vector<std::string> parts = PartsBelow(places_.destination, s.path, cp_);
      std::string dir = WithoutTrailingBackslash(places_.destination, cp_);
      for (size_t i = 0; i + 1 < parts.size(); ++i) {
        dir += "\\" + parts[i];
        if (!seen.insert(Key(dir, cp_)).second) continue;
        if (!MayRemoveDirectory(dir, places_) || IsGroup(dir)) continue;
        TRemoveStep f = In(Step(dir, s.record, 0), skFolder, places_.destination);
        f.line = -1;
        folders.emplace_back(i + 1, f);
      }
    }
    std::stable_sort(folders.begin(), folders.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& f : folders) plan.steps.push_back(f.second);
  }

  bool IsGroup(const std::string& dir) const {
    for (const std::string& g : groups_)
      if (SamePath(dir, g, cp_)) return true;
    return false;
  }

  // A thing named twice is removed once; a refused line is reported each time it comes.
  void Add(TRemovePlan& plan, TRemoveStep s) {
    if (s.kind != skIgnored && s.kind != skPlace && s.kind != skRefused && s.kind != skPassedOver) {
      const std::u32string key = Key(s.path, cp_);
      if (seen_.count(key)) s = Refused(s, rfRepeat, skPassedOver);
      else seen_.insert(key);
    }
    plan.steps.push_back(s);
  }

  const TRecords& records_;
  const TRemovePlaces& places_;
  const TCodePage& cp_;
  bool destinationOk_;
  std::vector<std::string> groups_;
  std::set<std::u32string> seen_;
  TRemoveStep self_;
};

bool ComesFrom(const TRemoveStep& s, TRecordId record, size_t line) {
  return s.record == record && s.line == static_cast<int>(line);
}
}  // namespace

std::string WithoutTrailingBackslash(const std::string& path, const TCodePage& cp) {
  if (!EndsWithBackslash(path, cp) || IsDriveRoot(path)) return path;
  return path.substr(0, path.size() - 1);
}

bool SamePath(const std::string& a, const std::string& b, const TCodePage& cp) {
  return Key(a, cp) == Key(b, cp);
}

bool IsBelow(const std::string& dir, const std::string& path, const TCodePage& cp) {
  const std::u32string d = Key(dir, cp) + U'\\';
  const std::u32string p = Key(path, cp);
  return p.size() > d.size() && p.compare(0, d.size(), d) == 0;
}

std::vector<std::string> PartsBelow(const std::string& dir, const std::string& path,
                                    const TCodePage& cp) {
  // Folding keeps every character's length, so the directory's spelling in `path` is as long
  // as `dir` is.
  std::string d = dir;
  if (EndsWithBackslash(d, cp)) d.pop_back();
  if (path.size() <= d.size() + 1) return {};
  std::vector<std::string> parts = Parts(path.substr(d.size() + 1), cp);
  if (!parts.empty() && parts.back().empty()) parts.pop_back();
  return parts;
}

bool IsFullPath(const std::string& path) {
  return path.size() >= 3 && FoldWestern(path[0]) >= 'a' && FoldWestern(path[0]) <= 'z' && path[1] == ':' &&
         path[2] == '\\';
}

bool HasDotPart(const std::string& path, const TCodePage& cp) {
  for (const std::string& part : Parts(path, cp))
    // The system drops a part's trailing dots and blanks, so "..", ". ." and "..." all climb
    // or stay where they are.
    if (!part.empty() && part.find_first_not_of(". ") == std::string::npos) return true;
  return false;
}

bool IsDriveRoot(const std::string& path) {
  return (path.size() == 2 || (path.size() == 3 && path[2] == '\\')) && path[1] == ':' &&
         FoldWestern(path[0]) >= 'a' && FoldWestern(path[0]) <= 'z';
}

bool MayRemoveDirectory(const std::string& dir, const TRemovePlaces& places) {
  const TCodePage& cp = places.codePage;
  if (!IsFullPath(dir) || FirstRefusal(dir, places) != rfNone) return false;
  if (IsBelow(dir, places.windowsDir, cp) || SamePath(dir, places.ProgramsFolder(), cp)) return false;
  for (const std::string& s : places.systemDirs)
    if (!s.empty() && IsBelow(dir, s, cp)) return false;
  return true;
}

bool IsLocationRecordFor(const std::vector<std::string>& lines, const std::string& destination,
                         const TCodePage& cp) {
  return lines.size() >= 2 && lines[0] == setupcore::kLocationRecordHead && !destination.empty() &&
         SamePath(lines[1], destination, cp);
}

const char* RefusalText(TRefusal refusal) {
  switch (refusal) {
    case rfNone: break;
    case rfNotAFileName: return "not a file name; left alone";
    case rfDotPart: return "the path climbs with \"..\"; left alone";
    case rfDriveRoot: return "the root of a drive; left alone";
    case rfWindowsDir: return "the Windows directory; left alone";
    case rfSystemDir: return "the system directory; left alone";
    case rfDirectory: return "a directory where a file was expected; left alone";
    case rfOutside: return "outside the places of the installation; left alone";
    case rfThroughLink: return "passes through a link";
    case rfNoDrive: return "no drive and directory: names no file; passed over";
    case rfRepeat: return "named before in the records; passed over";
  }
  return "";
}

bool HoldsOnlyOwnShortcuts(const TRemovePlan& plan, const std::string& group,
                           const std::vector<std::string>& names, const TCodePage& cp) {
  for (const std::string& name : names) {
    const std::string path = (EndsWithBackslash(group, cp) ? group : group + "\\") + name;
    bool own = false;
    for (const TRemoveStep& s : plan.steps)
      if (s.kind == skShortcut && SamePath(s.path, path, cp)) own = true;
    if (!own) return false;
  }
  return true;
}

TRemovePlan PlanRemoval(const TRecords& records, const TRemovePlaces& places) {
  return Planner(records, places).Run();
}

TRecords RemainingRecords(const TRecords& records, const TRemovePlan& plan,
                          const std::vector<bool>& left, const TCodePage& cp) {
  auto isLeft = [&](size_t i) { return i < left.size() && left[i]; };
  bool anyLeft = false;
  for (size_t i = 0; i < plan.steps.size(); ++i)
    if (static_cast<int>(i) != plan.self && plan.steps[i].kind != skFolder && isLeft(i)) anyLeft = true;
  TRecords out;
  if (!anyLeft) return out;

  // A group folder stays in the record while one of its items does: its removal waits for them.
  auto keep = [&](const TRemoveStep& s, size_t i) {
    if (s.kind == skSelf) return true;
    if (s.kind == skPlace) return true;
    if (isLeft(i)) return true;
    if (s.kind == skGroup)
      for (size_t j = 0; j < plan.steps.size(); ++j)
        if (isLeft(j) && plan.steps[j].kind == skShortcut && IsBelow(s.path, plan.steps[j].path, cp))
          return true;
    return false;
  };
  // The head lines stay, and so does the last target line.
  auto rewrite = [&](const std::vector<std::string>& lines, TRecordId record,
                     std::vector<std::string>& to) {
    for (size_t i = 0; i < lines.size(); ++i) {
      bool kept = record == riUninstall ? UninstallLineKind(i, lines[i]) == UninstallLine::Title ||
                                              UninstallLineKind(i, lines[i]) == UninstallLine::LastTarget
                                        : LocationLineKind(i) != LocationLine::Entry;
      for (size_t j = 0; j < plan.steps.size(); ++j) {
        const TRemoveStep& s = plan.steps[j];
        // The self step repeats the line its file came from; the line's own step decides too.
        if (ComesFrom(s, record, i) && s.kind != skIgnored && keep(s, j))
          kept = true;
      }
      if (kept) to.push_back(lines[i]);
    }
  };
  rewrite(records.uninstall, riUninstall, out.uninstall);
  rewrite(records.location, riLocation, out.location);
  return out;
}

namespace {
std::vector<std::string> SplitQuoted(const std::string& line) {
  std::vector<std::string> parts;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i >= line.size()) break;
    std::string part;
    if (line[i] == '"') {
      size_t end = line.find('"', i + 1);
      if (end == std::string::npos) return {};
      part = line.substr(i + 1, end - i - 1);
      i = end + 1;
      if (i < line.size() && line[i] != ' ') return {};
    } else {
      size_t end = line.find(' ', i);
      if (end == std::string::npos) end = line.size();
      part = line.substr(i, end - i);
      i = end;
    }
    parts.push_back(part);
  }
  return parts;
}
}  // namespace

std::string CleanUpCommandLine(const std::string& copy, const TCleanUpArgs& args) {
  return "\"" + copy + "\" /cleanup " + std::to_string(args.process) + " \"" + args.exe + "\" \"" +
         args.destination + "\"";
}

bool ParseCleanUpCommandLine(const std::string& commandLine, TCleanUpArgs& args) {
  const std::vector<std::string> parts = SplitQuoted(commandLine);
  if (parts.size() != 5 || parts[1] != "/cleanup" || parts[2].empty() ||
      parts[2].find_first_not_of("0123456789") != std::string::npos || parts[2].size() > 19)
    return false;
  args.process = std::strtoull(parts[2].c_str(), nullptr, 10);
  args.exe = parts[3];
  args.destination = parts[4];
  return true;
}

bool CleanUpIsSafe(const TCleanUpArgs& args, const TRemovePlaces& places) {
  const std::string& exe = args.exe;
  const TCodePage& cp = places.codePage;
  if (!IsFullPath(exe) || BadCharacters(exe, cp) || HasDotPart(exe, cp)) return false;
  const std::vector<std::string> parts = Parts(exe, cp);
  const std::u32string name = Key(parts.back(), cp);
  if (name.size() <= 4 || name.compare(name.size() - 4, 4, U".exe") != 0) return false;
  const std::string dir = exe.substr(0, exe.size() - parts.back().size() - 1);
  return SamePath(dir, args.destination, cp) && MayRemoveDirectory(args.destination, places);
}

std::string CleanUpCopyPath(const std::string& windowsDir, unsigned long long random) {
  static const char kHex[] = "0123456789abcdef";
  std::string name = "rmv";
  for (int shift = 60; shift >= 0; shift -= 4) name += kHex[(random >> shift) & 0xF];
  return windowsDir + "\\Temp\\" + name + ".tmp";
}

bool IsCleanUpCopyPath(const std::string& self, const std::string& windowsDir, const TCodePage& cp) {
  const std::string folder = windowsDir + "\\Temp";
  if (!IsBelow(folder, self, cp) || PartsBelow(folder, self, cp).size() != 1) return false;
  const std::string name = PartsBelow(folder, self, cp).back();
  const std::u32string key = Key(name, cp);
  if (key.size() != 3 + 16 + 4 || key.compare(0, 3, U"rmv") != 0 || key.compare(19, 4, U".tmp") != 0)
    return false;
  for (size_t i = 3; i < 19; ++i)
    if (!((key[i] >= U'0' && key[i] <= U'9') || (key[i] >= U'a' && key[i] <= U'f'))) return false;
  return true;
}
