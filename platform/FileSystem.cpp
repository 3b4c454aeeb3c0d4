#include "platform/FileSystem.h"

#include <vector>

#include "platform/Errors.h"

namespace {
DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }
}  // namespace

// The short first buffer is the one the program always used; a longer path is still read whole.
std::string WindowsDirectory() {
  return ReadSystemPath([](DWORD size, char* b) { return GetWindowsDirectoryA(b, size); }, 144);
}

bool IsExistingFile(const std::string& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsExistingDirectory(const std::string& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void EnterDirectory(const std::string& dir) {
  if (!SetCurrentDirectoryA(dir.c_str())) RaiseLastInOutError();
}

std::string ProgramFilePath() {
  // The system cuts the path to the buffer without saying so except by filling it: a full
  // buffer is tried again twice as large.
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::string();
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

std::string NameBeforeFirstDot(const std::string& path) {
  const size_t sep = path.find_last_of("\\:");
  std::string name = sep == std::string::npos ? path : path.substr(sep + 1);
  const size_t dot = name.find('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}
