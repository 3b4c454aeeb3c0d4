#include "uninstaller/Records.h"

#include <windows.h>

#include <shlobj.h>

#include <vector>

#include "platform/Errors.h"
#include "platform/FileHandle.h"
#include "platform/FileSystem.h"
#include "platform/ShellFolder.h"
#include "platform/SystemCodePage.h"
#include "platform/SystemLibrary.h"
#include "setupcore/RecordLines.h"
#include "platform/Strings.h"

namespace {
// The same directory written another way (short names) is still the same directory.
std::string LongForm(const std::string& path, const TCodePage& cp) {
  std::string l = ReadSystemPath([&](DWORD size, char* b) { return GetLongPathNameA(path.c_str(), b, size); });
  return l.empty() ? path : WithoutTrailingBackslash(l, cp);
}

bool SameDirectory(const std::string& a, const std::string& b, const TCodePage& cp) {
  return SamePath(a, b, cp) || SamePath(LongForm(a, cp), LongForm(b, cp), cp);
}

// The first lines of a file, from its first few kilobytes: enough for ":run" and a path. False
// with the system's code when the file cannot be read.
bool FirstLines(const std::string& path, std::vector<std::string>& lines, DWORD& error) {
  FileHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  char buf[4096];
  DWORD got = 0;
  if (!f.Valid() || !ReadFile(f.Get(), buf, sizeof buf, &got, nullptr)) {
    error = GetLastError();
    return false;
  }
  TStringList list;
  list.SetText(std::string(buf, got));
  lines = list.Lines();
  return true;
}

bool EndsWithIni(const std::string& name, const TCodePage& cp) {
  return name.size() > 4 && SamePath(name.substr(name.size() - 4), ".ini", cp) &&
         !cp.lead[static_cast<unsigned char>(name[name.size() - 5])];
}

std::vector<std::string> LinesOf(const std::string& path) {
  TStringList lines;
  lines.LoadFromFile(path);
  return lines.Lines();
}

}  // namespace

TRemovePlaces SystemPlaces() {
  TRemovePlaces p;
  p.codePage = SystemCodePage();
  p.windowsDir = WithoutTrailingBackslash(WindowsDirectory(), p.codePage);
  const std::string system = WithoutTrailingBackslash(SystemDirectory(), p.codePage);
  // The installer's ":win\system" goes to <Windows>\system whatever the system directory is.
  p.systemDirs = {system, p.windowsDir + "\\system", p.windowsDir + "\\system32",
                  p.windowsDir + "\\syswow64"};
  p.self = LongForm(ProgramFilePath(), p.codePage);
  const size_t cut = p.self.find_last_of('\\');
  p.destination = cut == std::string::npos ? std::string() : WithoutTrailingBackslash(p.self.substr(0, cut + 1), p.codePage);
  p.uninstallRecord = p.destination + "\\unin.ini";
  p.programsFolder = WithoutTrailingBackslash(ProgramGroupsFolder(CSIDL_PROGRAMS, p.windowsDir), p.codePage);
  return p;
}

TLocationSearch FindLocationRecord(const TRemovePlaces& places) {
  TLocationSearch search;
  std::string otherWords, otherWay;
  TDiskIdentity own;
  const bool ownKnown = IdentityOf(places.destination, own);
  WIN32_FIND_DATAA fd;
  FindHandle h(FindFirstFileA((places.windowsDir + "\\*.ini").c_str(), &fd));
  if (!h.Valid()) return search;
  do {
    // The pattern matches short names too: "widget.ini_old" may be found as WIDGET~1.INI.
    if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !EndsWithIni(fd.cFileName, places.codePage))
      continue;
    const std::string path = places.windowsDir + "\\" + fd.cFileName;
    std::vector<std::string> lines;
    DWORD error = 0;
    if (!FirstLines(path, lines, error)) {
      if (search.unreadable.empty()) search.unreadable = path + ": " + SystemErrorText(error);
      continue;
    }
    if (IsLocationRecordFor(lines, places.destination, places.codePage)) {
      search.record = path;
      search.unreadable.clear();
      return search;
    }
    if (otherWords.empty() && lines.size() >= 2 && lines[0] == setupcore::kLocationRecordHead &&
        SameDirectory(lines[1], places.destination, places.codePage))
      otherWords = path;
    TDiskIdentity named;
    if (otherWay.empty() && ownKnown && lines.size() >= 2 && lines[0] == setupcore::kLocationRecordHead &&
        IsFullPath(lines[1]) && IdentityOf(lines[1], named) && named == own)
      otherWay = path;
  } while (FindNextFileA(h.Get(), &fd));
  search.record = otherWords.empty() ? otherWay : otherWords;
  return search;
}

TRecords LoadRecords(TRemovePlaces& places, std::string& unreadable) {
  TRecords r;
  const TLocationSearch search = FindLocationRecord(places);
  unreadable = search.unreadable;
  places.locationRecord = search.record;
  if (!places.locationRecord.empty()) {
    r.location = LinesOf(places.locationRecord);
    if (r.location.size() >= 2 && !r.location[1].empty()) {
      const std::string name = places.self.substr(places.destination.size());
      places.destination = WithoutTrailingBackslash(r.location[1], places.codePage);
      places.self = places.destination + name;
      places.uninstallRecord = places.destination + "\\unin.ini";
    }
  }
  if (IsExistingFile(places.uninstallRecord)) r.uninstall = LinesOf(places.uninstallRecord);
  return r;
}
