#pragma once
// The folders the shell keeps for the user and for all users, asked of the shell itself.
#include <string>

// The folder of a CSIDL_ kind (CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS, ...) as the shell reports
// it, without a trailing backslash; empty where the system has no such folder: a shell without
// SHGetFolderPathA, or one that knows no folder of that kind.
std::string ShellFolderPath(int csidl);
