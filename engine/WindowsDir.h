#pragma once
#include <string>

// The Windows directory as the system reports it, without a trailing backslash.
std::string WindowsDirectory();
// The Start Menu programs folder of a Windows directory: its sub-folders are the program groups.
std::string StartMenuProgramsDirectory(const std::string& windowsDir);
// The process's current directory as the system reports it.
std::string CurrentDirectory();
