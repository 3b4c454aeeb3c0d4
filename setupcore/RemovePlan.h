#pragma once
// What remove.exe decides from the two records the installer left, before it touches anything:
// which line names which kind of thing, which lines it must leave alone and why, and what the
// records hold afterwards when not everything could go. No window and no system call in here:
// the places come in as text, the outcomes of the deletions come back as flags.
#include <string>
#include <vector>

#include "setupcore/CodePage.h"
#include "setupcore/Places.h"

// Paths as the records hold them: ANSI text, "X:\..." with backslashes, compared character by
// character without regard to the case of one-byte letters (a two-byte character compares as it
// is) and without regard to one trailing backslash.
bool SamePath(const std::string& a, const std::string& b, const TCodePage& cp);
// `path` without one trailing backslash; a drive root keeps its own ("C:\"), and a two-byte
// character whose second byte is a backslash is no trailing backslash.
std::string WithoutTrailingBackslash(const std::string& path, const TCodePage& cp);
// Whether `path` lies below `dir` (at any depth; `dir` itself is not below itself).
bool IsBelow(const std::string& dir, const std::string& path, const TCodePage& cp);
// "X:\" followed by anything: the only form of path the installer writes.
bool IsFullPath(const std::string& path);
// A "." or ".." among the parts: such a path may lead anywhere.
bool HasDotPart(const std::string& path, const TCodePage& cp);
// "X:\" or "X:" alone.
bool IsDriveRoot(const std::string& path);
// The parts of `path` below `dir` (which it must lie below), split at its backslashes: the
// folders on the way and the name at the end.
std::vector<std::string> PartsBelow(const std::string& dir, const std::string& path,
                                    const TCodePage& cp);

// The places remove.exe knows from the system and from where it runs.
struct TRemovePlaces {
  std::string windowsDir;               // without a trailing backslash
  std::vector<std::string> systemDirs;  // the system directory and the installer's <Windows>\system
  std::string destination;              // remove.exe's own directory
  std::string self;                     // remove.exe's own file
  std::string uninstallRecord;          // destination + "\unin.ini"
  std::string locationRecord;           // the location record found for the destination, or ""
  TCodePage codePage = WesternCodePage();
  // The folder under which the installer's program groups lie: the shell's programs folder for
  // the user, as the system reports it; empty for <Windows>\Start Menu\Programs, where systems
  // without such a folder of their own keep them.
  std::string programsFolder;
  std::string ProgramsFolder() const {
    return setupcore::ProgramsFolder(programsFolder, windowsDir);
  }
};

// Whether a directory may ever be removed: a full path without "." or "..", not a drive root,
// not the Windows or a system directory, nor one above them.
bool MayRemoveDirectory(const std::string& dir, const TRemovePlaces& places);

// Whether the first two lines of a file make it the location record of `destination`: ":run"
// exactly, then the destination (compared as paths).
bool IsLocationRecordFor(const std::vector<std::string>& lines, const std::string& destination,
                         const TCodePage& cp);

enum TStepKind {
  skFile,      // a file in the destination: removed
  skShared,    // a file in the Windows or a system directory: removed when the user agrees
  skShortcut,  // an item of the program group: removed
  skGroup,     // the program group's directory: removed when empty, and the server asked
  skFolder,    // a folder below the destination on the way to a file the records name: removed
               // when the removal has left it empty, never through a link
  skSelf,      // remove.exe itself: removed last, after this process has ended
  skRefused,   // named, but never removed; `refusal` says why and the user is told
  skPlace,     // the Windows directory named as where the product keeps things: nothing to do
  skPassedOver,  // names no thing to remove, or one named before; `refusal` says why, and the
                 // user is told, but it keeps nothing in the records
  skIgnored,   // not a thing of this pass: a record itself, or remove.exe's own line
};

enum TRefusal {
  rfNone,
  rfNotAFileName,  // a character no file name has, or a ':' past the drive
  rfDotPart,       // "." or ".." among the parts
  rfDriveRoot,
  rfWindowsDir,
  rfSystemDir,
  rfDirectory,     // names a directory where a file is expected
  rfOutside,       // outside every place the installation recorded
  rfThroughLink,   // a folder on the way, or the thing itself, is a link (found on the disk)
  rfNoDrive,       // a name without drive and directory: relative to nothing known
  rfRepeat,        // named before in the records: removed once
};

// The words the user reads for a refusal.
const char* RefusalText(TRefusal refusal);

enum TRecordId { riUninstall, riLocation };

struct TRemoveStep {
  TStepKind kind = skIgnored;
  TRefusal refusal = rfNone;
  std::string path;
  // The recorded place the thing lies below (the destination, the programs folder, the Windows
  // or a system directory): no folder between it and the thing may be a link.
  std::string place;
  std::string group;  // skGroup: the name the program-group server knows it by
  TRecordId record = riUninstall;
  int line = 0;       // the line of that record the step comes from; -1 for a folder, which
                      // no line names
};

// The two records as lines; a record that is not there is an empty list.
struct TRecords {
  std::vector<std::string> uninstall;  // unin.ini: the title, then one entry a line
  std::vector<std::string> location;   // ":run", the destination, then one entry a line
  bool Empty() const { return uninstall.empty() && location.empty(); }
};

struct TRemovePlan {
  std::string title;               // line 1 of unin.ini
  std::vector<TRemoveStep> steps;  // in the order they are carried out
  // The order: the files of unin.ini as listed, the shortcuts, the group, the files of the
  // location record's "~" lines, the folders below the destination on the way to those files,
  // deepest first; remove.exe itself comes last, and `self` says where.
  int self = -1;                   // index of the skSelf step, or -1 when the records do not
                                   // name remove.exe (it then stays)
};

TRemovePlan PlanRemoval(const TRecords& records, const TRemovePlaces& places);

// What each step left behind: true for a thing that is still there and still ours to remove (a
// file in use, a group folder that could not go while one of our items is in it). Refused,
// declined and already-gone things are not left: they are no longer the records'.
// Returns the records as they are to be rewritten, or two empty lists when nothing is left, in
// which case both records go. remove.exe's own line stays whenever anything else does, since a
// second run needs it. A folder keeps no line: the files below it that are left bring it back
// into the next run's plan.
TRecords RemainingRecords(const TRecords& records, const TRemovePlan& plan,
                          const std::vector<bool>& left, const TCodePage& cp);

// Whether a group folder holding exactly these names holds nothing but the product's own
// shortcuts, the items that the plan's shortcut steps name directly in it.
bool HoldsOnlyOwnShortcuts(const TRemovePlan& plan, const std::string& group,
                           const std::vector<std::string>& names, const TCodePage& cp);

// The command line of the clean-up copy and its reading back: the process handle to wait for,
// remove.exe's file and its directory.
struct TCleanUpArgs {
  unsigned long long process = 0;
  std::string exe;
  std::string destination;
};
std::string CleanUpCommandLine(const std::string& copy, const TCleanUpArgs& args);
// False for a command line that is not a clean-up call; `args` is then untouched.
bool ParseCleanUpCommandLine(const std::string& commandLine, TCleanUpArgs& args);
// Whether a clean-up call may remove `args.exe` and then `args.destination`: the file lies
// directly in the directory, and the directory is one that may be removed at all.
bool CleanUpIsSafe(const TCleanUpArgs& args, const TRemovePlaces& places);

// The clean-up copy lives where only administrators write, the Windows directory's Temp, under a
// name of its own with a random part: nobody else can have put a file there, or can change one.
// `random` is the random part; the name is "rmv", sixteen hex digits and ".tmp".
std::string CleanUpCopyPath(const std::string& windowsDir, unsigned long long random);
// Whether `self` is such a copy: only one may honour a clean-up call, so that the installed
// remove.exe, started by hand with one, neither deletes nor schedules anything.
bool IsCleanUpCopyPath(const std::string& self, const std::string& windowsDir, const TCodePage& cp);
