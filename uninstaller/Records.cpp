#include "uninstaller/Records.h"

#include <windows.h>

#include <vector>

#include "ui/FileHandle.h"
#include "ui/FileSystem.h"
#include "ui/Strings.h"

namespace {
std::string WithoutTrailingBackslash(std::string path) {
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

// The same directory written another way (short names) is still the same directory.
std::string LongForm(const std::string& path) {
  std::string l = ReadSystemPath([&](DWORD size, char* b) { return GetLongPathNameA(path.c_str(), b, size); });
  return l.empty() ? path : WithoutTrailingBackslash(l);
}

bool SameDirectory(const std::string& a, const std::string& b) {
  return SamePath(a, b) || SamePath(LongForm(a), LongForm(b));
}

// The first lines of a file, from its first few kilobytes: enough for ":run" and a path.
std::vector<std::string> FirstLines(const std::string& path) {
  FileHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) return {};
  char buf[4096];
  DWORD got = 0;
  if (!ReadFile(f.Get(), buf, sizeof buf, &got, nullptr)) return {};
  TStringList lines;
  lines.SetText(std::string(buf, got));
  return lines.Lines();
}

std::vector<std::string> LinesOf(const std::string& path) {
  TStringList lines;
  lines.LoadFromFile(path);
  return lines.Lines();
}

}  // namespace

TRemovePlaces SystemPlaces() {
  TRemovePlaces p;
  p.windowsDir = WithoutTrailingBackslash(
      ReadSystemPath([](DWORD size, char* b) { return GetWindowsDirectoryA(b, size); }));
  const std::string system = WithoutTrailingBackslash(
      ReadSystemPath([](DWORD size, char* b) { return GetSystemDirectoryA(b, size); }));
  // The installer's ":win\system" goes to <Windows>\system whatever the system directory is.
  p.systemDirs = {system, p.windowsDir + "\\system", p.windowsDir + "\\system32",
                  p.windowsDir + "\\syswow64"};
  p.self = LongForm(ProgramFilePath());
  const size_t cut = p.self.find_last_of('\\');
  p.destination = cut == std::string::npos ? std::string() : WithoutTrailingBackslash(p.self.substr(0, cut + 1));
  p.uninstallRecord = p.destination + "\\unin.ini";
  return p;
}

std::string FindLocationRecord(const std::string& windowsDir, const std::string& destination) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((windowsDir + "\\*.ini").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return std::string();
  std::string found;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string path = windowsDir + "\\" + fd.cFileName;
    const std::vector<std::string> lines = FirstLines(path);
    if (lines.size() >= 2 && lines[0] == ":run" &&
        (IsLocationRecordFor(lines, destination) || SameDirectory(lines[1], destination)))
      found = path;
  } while (found.empty() && FindNextFileA(h, &fd));
  FindClose(h);
  return found;
}

TRecords LoadRecords(TRemovePlaces& places) {
  TRecords r;
  places.locationRecord = FindLocationRecord(places.windowsDir, places.destination);
  if (!places.locationRecord.empty()) {
    r.location = LinesOf(places.locationRecord);
    if (r.location.size() >= 2 && !r.location[1].empty()) {
      const std::string name = places.self.substr(places.destination.size());
      places.destination = WithoutTrailingBackslash(r.location[1]);
      places.self = places.destination + name;
      places.uninstallRecord = places.destination + "\\unin.ini";
    }
  }
  if (IsExistingFile(places.uninstallRecord)) r.uninstall = LinesOf(places.uninstallRecord);
  return r;
}
