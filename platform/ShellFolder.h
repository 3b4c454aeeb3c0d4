#pragma once
// The folders the shell keeps for the user and for all users, asked of the shell itself.
#include <string>

// The folder of a CSIDL_ kind (CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS, ...) as the shell reports
// it, without a trailing backslash; empty where the system has no such folder: a shell without
// SHGetFolderPathA, or one that knows no folder of that kind.
std::string ShellFolderPath(int csidl);

// The folder whose sub-folders are the program groups, for the user (CSIDL_PROGRAMS) or for
// everyone (CSIDL_COMMON_PROGRAMS): the shell's own, or, where the system has no such folder,
// <Windows>\Start Menu\Programs of `windowsDir`, where older shells keep them.
std::string ProgramGroupsFolder(int csidl, const std::string& windowsDir);
