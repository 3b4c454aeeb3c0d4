#pragma once
// The command-line switches of setup.exe and remove.exe for unattended runs, and the exit codes
// that tell a calling script what became of the run.
#include <string>
#include <vector>

namespace setupcore {

enum class Quietness {
  interactive,  // the windows and questions of a run by hand
  silent,       // /SILENT: the progress dialog only, no questions
  verySilent,   // /VERYSILENT: no window at all
};

struct SetupSwitches {
  Quietness quiet = Quietness::interactive;
  bool usage = false;  // /?: the usage is shown and nothing else is done
  std::string dir;     // /DIR=: the destination; empty when not given
  std::string group;   // /GROUP=: the Start Menu folder; empty when not given
  std::string log;     // /LOG=: the log file; empty when not given
};

struct RemoveSwitches {
  Quietness quiet = Quietness::interactive;
  bool usage = false;
  std::string log;
  // The uninstaller's own call of its clean-up copy: the whole command line is the clean-up
  // reader's, not a list of switches.
  bool cleanUp = false;
};

// The arguments after the program's name, split at blanks outside double quotes; the quotes
// themselves are dropped, so that /DIR="c:\a b" and "/DIR=c:\a b" are one argument alike. A
// backslash is an ordinary character: "c:\" ends with a backslash, not with a quote. False
// when a double quote is left open.
bool SplitCommandLine(const std::string& commandLine, std::vector<std::string>& arguments);

// Reads the switches from the whole command line (the program's name first). Switch names are
// compared without regard to case. False for a line that is not a list of known switches, with
// `error` set to what the user is told (the usage follows it in the message), and `switches`
// holding only what tells how to tell it: /SILENT or /VERYSILENT and /LOG= wherever they stand.
bool ParseSetupSwitches(const std::string& commandLine, SetupSwitches& switches, std::string& error);
bool ParseRemoveSwitches(const std::string& commandLine, RemoveSwitches& switches, std::string& error);

// What /? shows, and what follows a bad switch's message.
std::string SetupUsage();
std::string RemoveUsage();

// setup.exe's exit codes.
enum SetupExitCode {
  kSetupInstalled = 0,
  kSetupNothingChanged = 1,
  kSetupInstalledWithFailures = 2,
};
// remove.exe's exit codes.
enum RemoveExitCode {
  kRemoveAllRemoved = 0,
  kRemoveNothingChanged = 1,  // also when there was nothing to remove
  kRemoveSomethingLeft = 2,
};

// The exit code of a setup run: whether it installed anything, and whether anything failed.
SetupExitCode SetupExit(bool installed, bool failures);
// The exit code of a remove run: whether it removed anything, and whether anything is left.
RemoveExitCode RemoveExit(bool removedAny, bool anythingLeft);

}  // namespace setupcore
