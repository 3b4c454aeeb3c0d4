#pragma once
// What an installation run does with a script: the files it copies, in order, with what the
// Installing dialog shows for each, and the two records it leaves for the uninstaller. The run
// carries the plan out step by step; the plan itself touches nothing.
#include <cstddef>
#include <string>
#include <vector>

#include "setupcore/CodePage.h"
#include "setupcore/GroupCommands.h"
#include "setupcore/Script.h"

namespace setupcore {

// The places a run works with, as texts.
struct RunPlaces {
  std::string source;       // the source box: the directory the product files are in
  std::string destination;  // the destination, a full path (FullDestination) for a real run
  std::string windowsDir;   // as the system reports it, without a trailing backslash
  // The folder whose sub-folders are the program groups, as the system reports it; empty for
  // <Windows>\Start Menu\Programs, where systems without such a folder of their own keep them.
  std::string programsDir;
  // The Start Menu folder chosen, which the run reads as line 1 of the script; empty for line 1
  // as the script has it, the folder the main window proposes.
  std::string group;
  // How the path texts are walked: in a two-byte code page a character's second byte may be a
  // backslash, and is no separator.
  TCodePage codePage = WesternCodePage();
  std::string ProgramsDir() const;
};

// Why the run leaves a file entry alone before it tries it.
enum class EntryRefusal {
  kNone,
  kDevice,       // a part of the line or of its restored name is a device name (con.txt)
  kNotFullPath,  // the target would resolve against whatever directory is current
  kFolderInWindows,  // names a folder, where the Windows and system directories take files only
};

// One file entry of the copy pass.
struct CopyEntry {
  int line = 0;         // its script line
  int marker = 0;       // the index in Markers() of the section it belongs to
  std::string source;   // the source prefix + the line as written
  std::string target;   // the target prefix + the line's restored name
  std::string status;   // "Copying file: " + the line as written
  int position = 0;     // the progress bar's position while it is copied
  // False for a line that restores to no name ("_"): its status and position are shown, but it
  // is neither copied (the target would be the section's directory itself) nor recorded.
  bool recorded = true;
  // Also false for a line of a section opened by ":ini": such a line feeds the location record
  // and names no product file, so it is recorded like every entry but not copied, where it
  // could only fail.
  bool copies = true;
  // A refused entry is listed as failed and neither copied nor recorded: it names nothing the
  // run made, and the uninstaller would go by a device or a relative path.
  EntryRefusal refusal = EntryRefusal::kNone;
  // An entry of ":install" that names folders below the destination (data\levels\1.dat): the
  // run makes those that are missing before it copies. Elsewhere a folder is used as it is.
  bool makesFolders = false;
};

// A line beginning with ':' met by the copy pass.
struct SectionMarker {
  int line = 0;
  std::string name;     // the text after ':', as written
  std::string prefix;   // the target prefix it sets ("win", "win\system", "install" resolved)
  // Met while a section was open: it was copied as a file entry of that section first.
  bool insideSection = false;
};

// A line that is exactly ":ini", and where its section ends.
struct IniSection {
  int line = 0;
  int end = -1;  // the first line after it beginning with ':', or -1 when the script ends first
};

class CopyPlan {
public:
  // Plans the copy pass over lines 4 to the last; the record name on line 4 is visited too, so
  // a record name beginning with ':' opens a section. Reads no line outside the script: a short
  // script fails later, at the step that reads the header line it lacks. A group chosen takes
  // the place of line 1 for every step; a script without line 0 has no line 1 to hold it, and
  // throws EListError "Unable to insert a line" here.
  CopyPlan(const Script& script, const RunPlaces& places);

  const std::vector<CopyEntry>& Entries() const { return entries_; }
  const std::vector<SectionMarker>& Markers() const { return markers_; }
  const std::vector<IniSection>& IniSections() const { return iniSections_; }
  // The prefix of the last section opened; empty when none was.
  const std::string& LastTargetPrefix() const { return lastTargetPrefix_; }
  const RunPlaces& Places() const { return places_; }
  // The folders below the destination that the copied entries name, each level once, in the
  // order the run first needs them, so every folder comes after the one it is in.
  std::vector<std::string> Folders() const;

  // The steps after the copy pass read the header lines they need; each throws EListError
  // "List index out of bounds" when the script lacks that line, as the run does at that step.
  std::string Group() const;                        // line 1, the group chosen
  std::string Title() const;                        // line 2, the uninstall record's first line
  std::string ProgramFilePath() const;              // destination\line 3, waited for
  std::string UninstallerPath() const;              // destination\remove.exe; reads no line
  ProgramGroupTexts GroupTexts() const;             // lines 1 to 3
  std::vector<std::string> StartMenuLines() const;  // the two shortcuts and the group's folder
  std::string LastTargetLine() const;               // ":" + LastTargetPrefix(); reads no line
  std::string UninstallRecordPath() const;          // destination\unin.ini; reads no line
  std::string RecordName() const;                   // line 4, the location record's name
  // Title, every recorded entry's target, the Start Menu lines, the last target line. The run
  // leaves out the entries it refused at the disk (`leftOut`: indexes into Entries(), rising),
  // which it wrote nothing through and the uninstaller is not to delete through either.
  std::vector<std::string> UninstallRecord(const std::vector<size_t>& leftOut = {}) const;
  // ":run", the destination, the ini sections' contributions; reads only lines that exist.
  std::vector<std::string> LocationRecord() const;
  std::string LocationRecordPath() const;           // Windows directory\line 4.ini
  // A line of the script as the run reads it; outside the script throws as Script::Line does.
  std::string Line(int index) const { return script_.Line(index); }

private:
  Script script_;
  RunPlaces places_;
  std::vector<CopyEntry> entries_;
  std::vector<SectionMarker> markers_;
  std::vector<IniSection> iniSections_;
  std::string lastTargetPrefix_;
};

}  // namespace setupcore
