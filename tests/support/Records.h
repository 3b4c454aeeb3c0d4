#pragma once
// Reading what an installation left, to compare it with the disk and with what the user was told.
#include <string>
#include <vector>

// The lines of a record (CR LF after every line); empty when the file is not there.
std::vector<std::string> RecordLines(const std::string& path);
// The file lines of an uninstall record: those between the title and the two shortcut lines.
std::vector<std::string> RecordedFiles(const std::string& uninstallRecord);
// What Wine's `uninstaller --list` prints: one line an entry of the list of installed programs.
std::string InstalledProgramsList();
// The clean-up copies of remove.exe in the place made for them (the Windows directory's Temp).
std::vector<std::string> CleanUpCopies();
