#include "engine/WindowsDir.h"

#include <windows.h>

#include <shlobj.h>

#include "platform/FileSystem.h"
#include "platform/ShellFolder.h"

std::string StartMenuProgramsDirectory(GroupsFor whose) {
  return ProgramGroupsFolder(whose == GroupsFor::allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS,
                             WindowsDirectory());
}

// The short first buffer is the one the program always used; a longer path is still read whole.
std::string CurrentDirectory() {
  return ReadSystemPath([](DWORD size, char* b) { return GetCurrentDirectoryA(size, b); }, 255);
}
