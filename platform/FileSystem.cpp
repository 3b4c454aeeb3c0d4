#include "platform/FileSystem.h"

#include <cstdio>
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

namespace {
bool IsLinkAttributes(DWORD a) {
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
}
}  // namespace

FileHandle OpenFolderAsItIs(const std::string& path) {
  // Listing takes part in the sharing check, which reading the attributes alone does not.
  return FileHandle(CreateFileA(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

bool IsLink(const std::string& path, HANDLE h) {
  BY_HANDLE_FILE_INFORMATION info;
  return IsLinkAttributes(GetFileAttributesA(path.c_str())) ||
         (GetFileInformationByHandle(h, &info) && IsLinkAttributes(info.dwFileAttributes));
}

FileHandle CreateNewFile(const std::string& path, DWORD attributes) {
  attributes &= ~FILE_ATTRIBUTE_READONLY;
  return FileHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                (attributes ? attributes : FILE_ATTRIBUTE_NORMAL) |
                                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN,
                                nullptr));
}

FileHandle CreateTemporaryBeside(const std::string& target, DWORD attributes, std::string& name) {
  // The numbers start where no one can foretell them, so a name cannot be taken in advance; one
  // that is taken all the same is passed over.
  static DWORD next = GetTickCount() ^ (GetCurrentProcessId() << 12);
  const size_t sep = target.find_last_of("\\:");
  const std::string dir = sep == std::string::npos ? std::string() : target.substr(0, sep + 1);
  for (int tries = 0; tries < 100; ++tries) {
    char number[16];
    std::snprintf(number, sizeof number, "~vel%04lx", static_cast<unsigned long>(next++ & 0xFFFF));
    name = target + "." + number;
    if (name.size() >= MAX_PATH) name = dir + number;
    FileHandle h = CreateNewFile(name, attributes);
    if (h || (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS))
      return h;
  }
  return FileHandle();
}

bool IdentityOf(HANDLE h, TDiskIdentity& id) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(h, &info)) return false;
  id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
  return true;
}

bool IdentityOf(const std::string& path, TDiskIdentity& id) {
  FileHandle h(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return h.Valid() && IdentityOf(h.Get(), id);
}

bool SameFileOnDisk(const std::string& a, const std::string& b) {
  TDiskIdentity x, y;
  return IdentityOf(a, x) && IdentityOf(b, y) && x == y;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  const size_t kChunk = 1u << 20;
  for (size_t at = 0; at < bytes.size();) {
    const DWORD ask = static_cast<DWORD>(bytes.size() - at < kChunk ? bytes.size() - at : kChunk);
    DWORD done = 0;
    if (!WriteFile(file, bytes.data() + at, ask, &done, nullptr) || done != ask) return false;
    at += done;
  }
  return true;
}
