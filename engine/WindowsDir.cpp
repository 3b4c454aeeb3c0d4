#include "engine/WindowsDir.h"

#include <windows.h>

#include <vector>

namespace {
// Reads through the short buffer the program always used, and through one of the size the
// system asks for when the path does not fit: an unfilled buffer is never read.
template <class Fn>
std::string ReadPath(Fn fn, DWORD shortSize) {
  std::vector<char> buf(shortSize);
  DWORD n = fn(static_cast<DWORD>(buf.size()), buf.data());
  if (n >= buf.size()) {
    buf.assign(n + 1, '\0');
    n = fn(static_cast<DWORD>(buf.size()), buf.data());
    if (n >= buf.size()) n = 0;
  }
  return std::string(buf.data(), n);
}
}  // namespace

std::string WindowsDirectory() {
  return ReadPath([](DWORD size, char* b) { return GetWindowsDirectoryA(b, size); }, 144);
}

std::string StartMenuProgramsDirectory(const std::string& windowsDir) {
  return windowsDir + "\\Start Menu\\Programs";
}

std::string CurrentDirectory() {
  return ReadPath([](DWORD size, char* b) { return GetCurrentDirectoryA(size, b); }, 255);
}
