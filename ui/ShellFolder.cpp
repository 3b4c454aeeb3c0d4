#include "ui/ShellFolder.h"

#include <windows.h>

#include "ui/FileSystem.h"

namespace {
// SHGetFolderPathA(hwnd, csidl, token, flags, path of MAX_PATH).
using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

struct LibraryTraits : NullIsEmpty<HMODULE> {
  static void Free(HMODULE h) { FreeLibrary(h); }
};
}  // namespace

std::string ShellFolderPath(int csidl) {
  // Loaded from the system directory by its full path, so that no shell32.dll beside the
  // program is taken in its place; older systems have no SHGetFolderPathA in it.
  const std::string systemDir =
      ReadSystemPath([](DWORD size, char* b) { return GetSystemDirectoryA(b, size); });
  if (systemDir.empty()) return std::string();
  Owned<LibraryTraits> shell(LoadLibraryA((systemDir + "\\shell32.dll").c_str()));
  if (!shell) return std::string();
  auto get = reinterpret_cast<GetFolderPathFn>(GetProcAddress(shell.Get(), "SHGetFolderPathA"));
  if (!get) return std::string();
  char path[MAX_PATH + 1] = {};
  if (get(nullptr, csidl, nullptr, 0, path) != S_OK) return std::string();
  std::string folder = path;
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string ProgramGroupsFolder(int csidl, const std::string& windowsDir) {
  const std::string folder = ShellFolderPath(csidl);
  return folder.empty() ? windowsDir + "\\Start Menu\\Programs" : folder;
}
