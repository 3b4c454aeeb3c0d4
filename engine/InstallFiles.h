#pragma once
// The run's work on the disk, each step whole or reported: the space the copies need on every
// target drive, the destination directory chain, one file copied whole, one record saved whole.
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileHandle.h"
#include "platform/FileSystem.h"
#include "setupcore/CopyPlan.h"

class TStringList;

// What the space pass learnt of each entry's source, for the copy to use rather than ask again:
// its attributes and last write, or the system's error for one that is not there.
struct SourceFile {
  DWORD error = 0;
  WIN32_FILE_ATTRIBUTE_DATA data = {};
};

// The first drive on which the files of the plan do not fit: the drive (a root such as T:\, or a
// mounted folder), the bytes needed there (each file rounded up to whole clusters) and the bytes
// free. Sources that are not there count nothing, and a target whose drive cannot be read is
// left to the copy to report. `sources` gets one SourceFile per entry of the plan.
struct SpaceShortage {
  std::string drive;
  unsigned long long needed = 0;
  unsigned long long free = 0;
};
bool FindSpaceShortage(const setupcore::CopyPlan& plan, SpaceShortage& shortage,
                       std::vector<SourceFile>& sources);

// Creates the destination and every missing ancestor, outermost first. When a level cannot be
// made, the levels made so far are removed again and Exception says which destination and why.
void MakeDestination(const std::string& destination);

// What became of one file entry.
struct CopyResult {
  enum Outcome { kCopied, kKept, kFailed, kRefused } outcome = kCopied;
  DWORD error = 0;     // the system's reason for kFailed
  std::string reason;  // else the run's own reason, for kFailed and kRefused
};

// Puts the plan's files in place, each whole or not at all. An entry that names folders below
// the destination gets those that are missing first, outermost first; when a level cannot be
// made, or the file cannot be copied into them, the folders made for it that hold nothing are
// removed again, innermost first. A new target is made new and written through the handle that
// made it (and removed again when its copy fails); an existing one is replaced only once a
// complete copy beside it, made new under a name of the run's own, takes its name. Nothing is
// written through a link: a target, or a directory from its section's directory down to it,
// that is a link refuses the entry, and those directories are held open for the installer's
// life, so that none can be renamed or swapped for a link after it was looked at. In the Windows
// and system directories (told by what the target's directory is, however the script spells
// it) a target newer than the source (by version, else by last write) is kept. An installed
// file never keeps the read-only attribute a medium gave its source.
class FileInstaller {
public:
  explicit FileInstaller(const setupcore::CopyPlan& plan);
  CopyResult Install(const setupcore::CopyEntry& entry, const SourceFile& source);

private:
  struct Directory {
    bool throughLink = false;
    bool shared = false;  // the Windows or a system directory
    DWORD unheld = 0;     // the system's error for a level that is there but cannot be held
  };
  enum class Held { kHeld, kLink, kNotThere, kNotHeld };
  // Opens the folder as it is and holds it for the installer's life (once, however often asked);
  // kNotHeld, with the system's error, for one that is there but cannot be opened so.
  Held Hold(const std::string& folder);
  Directory DirectoryOf(const setupcore::CopyEntry& entry);
  CopyResult MakeFolders(const setupcore::CopyEntry& entry, std::vector<std::string>& made);
  CopyResult Place(const setupcore::CopyEntry& entry, const SourceFile& source);
  CopyResult CopyNew(const std::string& source, const std::string& target,
                     const WIN32_FILE_ATTRIBUTE_DATA& data);
  CopyResult Replace(const std::string& source, const std::string& target,
                     const WIN32_FILE_ATTRIBUTE_DATA& data);
  // Copies the contents and the last write into `out`, a file just made, and closes it; 0 or
  // the system's error. What a failed copy wrote is left for the caller to remove.
  DWORD CopyInto(HANDLE in, FileHandle out, const WIN32_FILE_ATTRIBUTE_DATA& data);

  const setupcore::CopyPlan& plan_;
  std::vector<std::string> sharedDirs_;
  std::vector<TDiskIdentity> sharedIds_;               // of those that are there
  std::map<std::string, Directory> directories_;  // by the target's directory, as written
  std::map<std::string, FileHandle> held_;        // the folders on the way, by path as written
  std::unique_ptr<char[]> block_;                 // the copy block, made once a run
};

// Saves the record whole (TStringList::SaveToFile), its folder held meanwhile. A record that
// cannot be written throws Exception naming the file and the cause, and saying so when an
// earlier record is still there. A record, or its folder, that is a link, and a record that has
// another name too (a hard link), is refused so: it is not replaced.
void SaveRecord(const TStringList& lines, const std::string& path);
