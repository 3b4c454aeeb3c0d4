#include "platform/ShellFolder.h"

#include <windows.h>

#include "platform/SystemLibrary.h"
#include "setupcore/Places.h"

namespace {
// SHGetFolderPathA(hwnd, csidl, token, flags, path of MAX_PATH).
using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
}  // namespace

std::string ShellFolderPath(int csidl) {
  // Loaded once from the system directory by its full path, so that no shell32.dll beside the
  // program is taken in its place, and kept: loading and freeing the shell's library at every
  // question costs its start-up each time. Older systems have no SHGetFolderPathA in it.
  auto get = SystemFunctionOf<GetFolderPathFn>("shell32.dll", "SHGetFolderPathA");
  if (!get) return std::string();
  char path[MAX_PATH + 1] = {};
  if (get(nullptr, csidl, nullptr, 0, path) != S_OK) return std::string();
  std::string folder = path;
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string ProgramGroupsFolder(int csidl, const std::string& windowsDir) {
  return setupcore::ProgramsFolder(ShellFolderPath(csidl), windowsDir);
}
