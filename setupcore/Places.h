#pragma once
// The two places the installer works out from the script and the system before the user says
// anything: one rule each, for the main window, the run, the checker and the uninstaller.
#include <string>

namespace setupcore {

// The destination the main window proposes for a script whose line 0 is `subPath`.
std::string ProposedDestination(const std::string& subPath);

// The folder whose sub-folders are the program groups: the shell's own, `shellFolder`, as the
// system reports it, or, where the system has none (`shellFolder` empty), the Start Menu
// programs folder of the Windows directory, where older shells keep them.
std::string ProgramsFolder(const std::string& shellFolder, const std::string& windowsDir);

}  // namespace setupcore
