#pragma once
// Where the installation finds the system's folders: the Windows directory (platform/), the
// Start Menu programs folder, the current directory.
#include <string>

#include "platform/FileSystem.h"

// Whose Start Menu a program group goes into.
enum class GroupsFor { user, allUsers };
// The Start Menu programs folder where the shell keeps program groups, for the user or for
// everyone, as the shell reports it; its sub-folders are the program groups. Where the system
// has no such folder, that of the Windows directory.
std::string StartMenuProgramsDirectory(GroupsFor whose = GroupsFor::user);

// The process's current directory as the system reports it.
std::string CurrentDirectory();
