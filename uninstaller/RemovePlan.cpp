#include "uninstaller/RemovePlan.h"

#include <cstdlib>

namespace {
// The records are ANSI text of the Western code page: its letters fold as the system folds them
// for file names there.
char Fold(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  if (u >= 'A' && u <= 'Z') return static_cast<char>(u + 32);
  if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<char>(u + 32);
  switch (u) {
    case 0x8A: return static_cast<char>(0x9A);
    case 0x8C: return static_cast<char>(0x9C);
    case 0x8E: return static_cast<char>(0x9E);
    case 0x9F: return static_cast<char>(0xFF);
  }
  return c;
}

// Folded, and without the trailing backslash, so that "C:\" and "c:" compare equal too.
std::string Key(const std::string& path) {
  std::string k;
  k.reserve(path.size());
  for (char c : path) k += Fold(c);
  if (!k.empty() && k.back() == '\\') k.pop_back();
  return k;
}

bool BadCharacters(const std::string& path) {
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (c < 32 || c == '"' || c == '*' || c == '?' || c == '<' || c == '>' || c == '|' || c == '/')
      return true;
    // Past the drive a colon opens a stream of the file before it, or of a directory.
    if (c == ':' && i != 1) return true;
  }
  // Doubled backslashes are read by the system as one: the text would not say what it names.
  return path.find("\\\\") != std::string::npos;
}

bool IsSystemDir(const std::string& path, const TRemovePlaces& places) {
  for (const std::string& s : places.systemDirs)
    if (!s.empty() && SamePath(path, s)) return true;
  return false;
}

bool BelowSystemDir(const std::string& path, const TRemovePlaces& places) {
  for (const std::string& s : places.systemDirs)
    if (!s.empty() && IsBelow(s, path)) return true;
  return false;
}

// The checks every named thing passes first; rfNone when none of them refuses it.
TRefusal FirstRefusal(const std::string& path, const TRemovePlaces& places) {
  if (IsDriveRoot(path)) return rfDriveRoot;
  if (BadCharacters(path)) return rfNotAFileName;
  if (HasDotPart(path)) return rfDotPart;
  if (SamePath(path, places.windowsDir)) return rfWindowsDir;
  if (IsSystemDir(path, places)) return rfSystemDir;
  return rfNone;
}

bool EndsWithBackslash(const std::string& s) { return !s.empty() && s.back() == '\\'; }

class Planner {
public:
  Planner(const TRecords& records, const TRemovePlaces& places)
      : records_(records), places_(places),
        destinationOk_(MayRemoveDirectory(places.destination, places)) {}

  TRemovePlan Run() {
    TRemovePlan plan;
    const std::vector<std::string>& unin = records_.uninstall;
    if (!unin.empty()) plan.title = unin[0];
    // Groups first, since the shortcuts before them in the record are recognised by them.
    std::vector<TRemoveStep> groupSteps;
    for (size_t i = 1; i < unin.size(); ++i)
      if (!unin[i].empty() && unin[i][0] == '+') groupSteps.push_back(Group(unin[i].substr(1), i));
    for (size_t i = 1; i < unin.size(); ++i) {
      const std::string& line = unin[i];
      // The last target line records where the copy pass last wrote: information, not a thing.
      if (line.empty() || line[0] == '+' || line[0] == ':') continue;
      Add(plan, File(line, riUninstall, i));
    }
    for (const TRemoveStep& g : groupSteps) Add(plan, g);
    const std::vector<std::string>& loc = records_.location;
    for (size_t i = 2; i < loc.size(); ++i) {
      TRemoveStep s = Step(loc[i], riLocation, i);
      // A ">" line names the Windows directory: where the product keeps settings, not a file.
      if (SamePath(loc[i], places_.windowsDir)) s.kind = skPlace;
      else s = File(loc[i], riLocation, i);
      Add(plan, s);
    }
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

  static TRemoveStep Refused(TRemoveStep s, TRefusal why) {
    s.kind = skRefused;
    s.refusal = why;
    return s;
  }

  TRemoveStep Group(const std::string& dir, size_t line) {
    TRemoveStep s = Step(dir, riUninstall, line);
    if (TRefusal r = FirstRefusal(dir, places_)) return Refused(s, r);
    if (!IsFullPath(dir)) return s;
    const std::string programs = places_.ProgramsFolder();
    if (!IsBelow(programs, dir) || !MayRemoveDirectory(dir, places_)) return Refused(s, rfOutside);
    s.kind = skGroup;
    s.group = dir.substr(programs.size() + 1);
    if (EndsWithBackslash(s.group)) s.group.pop_back();
    groups_.push_back(dir);
    return s;
  }

  TRemoveStep File(const std::string& path, TRecordId record, size_t line) {
    TRemoveStep s = Step(path, record, line);
    // A name without its drive and directory was relative to wherever the installer then stood:
    // nothing says which file it is. The installer writes such lines for the entries of an ini
    // section ("ini~\unin.ini", "ini:end"), which name no file at all.
    const bool drive = path.size() >= 2 && path[1] == ':';
    if (!drive) return s;
    if (TRefusal r = FirstRefusal(path, places_)) return Refused(s, r);
    // "C:name" is relative to whatever directory drive C has at the time.
    if (!IsFullPath(path)) return Refused(s, rfNotAFileName);
    if (EndsWithBackslash(path) || SamePath(path, places_.destination) ||
        SamePath(path, places_.ProgramsFolder()))
      return Refused(s, rfDirectory);
    for (const std::string& g : groups_)
      if (SamePath(path, g)) return Refused(s, rfDirectory);
    // The records go after everything else, as records, whatever line names them.
    if (SamePath(path, places_.uninstallRecord) ||
        (!places_.locationRecord.empty() && SamePath(path, places_.locationRecord)))
      return s;
    if (SamePath(path, places_.self)) {
      if (self_.kind != skSelf) {
        self_ = s;
        self_.kind = skSelf;
      }
      return s;
    }
    for (const std::string& g : groups_)
      if (IsBelow(g, path)) {
        s.kind = skShortcut;
        return s;
      }
    if (destinationOk_ && IsBelow(places_.destination, path)) {
      s.kind = skFile;
      return s;
    }
    if (IsBelow(places_.windowsDir, path) || BelowSystemDir(path, places_)) {
      s.kind = skShared;
      return s;
    }
    return Refused(s, rfOutside);
  }

  // A thing named twice is removed once; a refused line is reported each time it comes.
  void Add(TRemovePlan& plan, TRemoveStep s) {
    if (s.kind != skIgnored && s.kind != skPlace && s.kind != skRefused) {
      const std::string key = Key(s.path);
      for (const std::string& k : seen_)
        if (k == key) s.kind = skIgnored;
      if (s.kind != skIgnored) seen_.push_back(key);
    }
    plan.steps.push_back(s);
  }

  const TRecords& records_;
  const TRemovePlaces& places_;
  bool destinationOk_;
  std::vector<std::string> groups_;
  std::vector<std::string> seen_;
  TRemoveStep self_;
};

bool ComesFrom(const TRemoveStep& s, TRecordId record, size_t line) {
  return s.record == record && s.line == static_cast<int>(line);
}
}  // namespace

bool SamePath(const std::string& a, const std::string& b) { return Key(a) == Key(b); }

bool IsBelow(const std::string& dir, const std::string& path) {
  const std::string d = Key(dir) + "\\";
  const std::string p = Key(path);
  return p.size() > d.size() && p.compare(0, d.size(), d) == 0;
}

bool IsFullPath(const std::string& path) {
  return path.size() >= 3 && Fold(path[0]) >= 'a' && Fold(path[0]) <= 'z' && path[1] == ':' &&
         path[2] == '\\';
}

bool HasDotPart(const std::string& path) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    // The system drops a part's trailing dots and blanks, so "..", ". ." and "..." all climb
    // or stay where they are.
    if (!part.empty() && part.find_first_not_of(". ") == std::string::npos) return true;
    start = end + 1;
  }
  return false;
}

bool IsDriveRoot(const std::string& path) {
  return (path.size() == 2 || (path.size() == 3 && path[2] == '\\')) && path[1] == ':' &&
         Fold(path[0]) >= 'a' && Fold(path[0]) <= 'z';
}

bool MayRemoveDirectory(const std::string& dir, const TRemovePlaces& places) {
  if (!IsFullPath(dir) || FirstRefusal(dir, places) != rfNone) return false;
  if (IsBelow(dir, places.windowsDir) || SamePath(dir, places.ProgramsFolder())) return false;
  for (const std::string& s : places.systemDirs)
    if (!s.empty() && IsBelow(dir, s)) return false;
  return true;
}

bool IsLocationRecordFor(const std::vector<std::string>& lines, const std::string& destination) {
  return lines.size() >= 2 && lines[0] == ":run" && !destination.empty() &&
         SamePath(lines[1], destination);
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
  }
  return "";
}

TRemovePlan PlanRemoval(const TRecords& records, const TRemovePlaces& places) {
  return Planner(records, places).Run();
}

TRecords RemainingRecords(const TRecords& records, const TRemovePlan& plan,
                          const std::vector<bool>& left) {
  auto isLeft = [&](size_t i) { return i < left.size() && left[i]; };
  bool anyLeft = false;
  for (size_t i = 0; i < plan.steps.size(); ++i)
    if (static_cast<int>(i) != plan.self && isLeft(i)) anyLeft = true;
  TRecords out;
  if (!anyLeft) return out;

  // A group folder stays in the record while one of its items does: its removal waits for them.
  auto keep = [&](const TRemoveStep& s, size_t i) {
    if (s.kind == skSelf) return true;
    if (s.kind == skPlace) return true;
    if (isLeft(i)) return true;
    if (s.kind == skGroup)
      for (size_t j = 0; j < plan.steps.size(); ++j)
        if (isLeft(j) && plan.steps[j].kind == skShortcut && IsBelow(s.path, plan.steps[j].path))
          return true;
    return false;
  };
  auto rewrite = [&](const std::vector<std::string>& lines, TRecordId record, size_t header,
                     std::vector<std::string>& to) {
    if (lines.empty()) return;
    for (size_t i = 0; i < lines.size() && i < header; ++i) to.push_back(lines[i]);
    for (size_t i = header; i < lines.size(); ++i) {
      bool kept = record == riUninstall && !lines[i].empty() && lines[i][0] == ':';
      for (size_t j = 0; j < plan.steps.size(); ++j) {
        const TRemoveStep& s = plan.steps[j];
        // The self step repeats the line its file came from; the line's own step decides too.
        if (ComesFrom(s, record, i) && s.kind != skIgnored && keep(s, j))
          kept = true;
      }
      if (kept) to.push_back(lines[i]);
    }
  };
  rewrite(records.uninstall, riUninstall, 1, out.uninstall);
  rewrite(records.location, riLocation, 2, out.location);
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
  const size_t cut = exe.find_last_of('\\');
  if (!IsFullPath(exe) || BadCharacters(exe) || HasDotPart(exe) || cut == std::string::npos)
    return false;
  const std::string name = Key(exe.substr(cut + 1));
  if (name.size() <= 4 || name.compare(name.size() - 4, 4, ".exe") != 0) return false;
  return SamePath(exe.substr(0, cut), args.destination) &&
         MayRemoveDirectory(args.destination, places);
}
