#include "engine/WindowsDir.h"

#include <windows.h>

#include <shlobj.h>

#include "platform/FileSystem.h"
#include "platform/ShellFolder.h"

// The short first buffers are the ones the program always used; a longer path is still read whole.
std::string WindowsDirectory() {
  return ReadSystemPath([](DWORD size, char* b) { return GetWindowsDirectoryA(b, size); }, 144);
}

std::string StartMenuProgramsDirectory(GroupsFor whose) {
  return ProgramGroupsFolder(whose == GroupsFor::allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS,
                             WindowsDirectory());
}

std::string CurrentDirectory() {
  return ReadSystemPath([](DWORD size, char* b) { return GetCurrentDirectoryA(size, b); }, 255);
}
