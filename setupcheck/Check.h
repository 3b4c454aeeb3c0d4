#pragma once
// What a vendor's checker finds in a product directory's script before the product ships: the
// run the installer would carry out, and what in the script would surprise its author.
#include <optional>
#include <string>
#include <vector>

#include "setupcheck/ProductFiles.h"
#include "setupcore/CopyPlan.h"
#include "setupcore/Script.h"

namespace setupcheck {

enum class Finding {
  // Errors: the installer cannot do what the script asks.
  kNoProductDirectory,
  kNoScript,
  kTooFewLines,
  kDestinationNotFull,     // the installer refuses the destination
  kSubPathEndsInBackslash,
  kUnsendableName,         // a group name or title the program group cannot take
  kBadRecordName,          // the location record would not be a file of its own
  kUnknownMarker,          // a prefix that is no full path: its files are refused
  kTargetNotFull,          // an entry whose target is no full path: refused
  kDeviceName,             // an entry named like a device: refused
  kBadShortcutName,        // a group name or title the shortcuts cannot be named by
  kBadProgramFile,         // line 3 is no file path below the destination the group can take
  kFolderInWindows,        // an entry of :win or :win\system that names a folder: refused
  // Warnings.
  kScriptNameCase,
  kMissingSource,
  kSourceCase,
  kProgramFileNotInstalled,
  kNoUninstaller,
  kMarkerCase,
  kMarkerInsideSection,
  kSubPathWithoutBackslash,
  kIniSectionWithoutEnd,
  kRestoresToNothing,
  kPathTooLong,
  kNotAnsi,
  kNotText,
  kStandardIniName,  // the record takes a name the system's own ini files have
  kSystemMarker,     // a full-path marker names the Windows directory or a system directory
};

bool IsError(Finding finding);

struct Diagnostic {
  Finding finding;
  int line = -1;  // the script line from 0, or -1 for the script as a whole
  std::string message;  // ANSI text, like the script's own
};

// The longest path the platform takes: MAX_PATH less its terminating zero.
const size_t kMaxPathLength = 259;

// The destination the main window proposes for a script (setupcore::ProposedDestination); for
// a script without line 0, that of an empty line 0, where the main window stops.
std::string ProposedDestination(const setupcore::Script& script);

// Everything the checker found, in script order; findings about the script as a whole first.
// The plan is made from the script as the installer would load it from these bytes.
std::vector<Diagnostic> CheckScript(const std::string& bytes, const ProductFiles& files,
                                    const setupcore::RunPlaces& places);

// What to check: a product directory, and the places the installer would be given.
struct CheckOptions {
  std::string productDir;
  std::optional<std::string> destination;  // else the one the main window proposes
  std::string windowsDir = "C:\\WINDOWS";
};

struct ProductCheck {
  std::vector<Diagnostic> diagnostics;
  bool scriptRead = false;
  std::string scriptName;  // the name setup.ini has in the directory
  setupcore::Script script;
  setupcore::RunPlaces places;
};

// Reads the product directory's setup.ini and checks it against the directory's files.
ProductCheck CheckProduct(const CheckOptions& options);

// 0 when nothing was found, 1 when warnings alone, 2 when any error.
int ExitStatus(const std::vector<Diagnostic>& diagnostics);

}  // namespace setupcheck
