#pragma once
#include <string>

// The Windows directory as the system reports it, without a trailing backslash.
std::string WindowsDirectory();
// The process's current directory as the system reports it.
std::string CurrentDirectory();
