#include "engine/InstallFiles.h"

#include <cstring>
#include <map>
#include <vector>

#include "engine/EngineText.h"
#include "filectrl/DirHelpers.h"
#include "platform/Errors.h"
#include "platform/FileHandle.h"
#include "platform/FileSystem.h"
#include "platform/Strings.h"
#include "platform/SystemCodePage.h"
#include "platform/SystemLibrary.h"
#include "setupcore/PathText.h"

namespace {
// Paths are split where a backslash is a character of its own: in a two-byte code page the
// second byte of a character may be 5C. The table is read from the system once.
const TCodePage& CodePage() {
  static const TCodePage cp = SystemCodePage();
  return cp;
}

// The nearest directory of the path that exists, itself included; empty when there is none.
std::string ExistingAncestor(const std::string& path) {
  char full[MAX_PATH];
  DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  std::string dir = n > 0 && n < MAX_PATH ? std::string(full, n) : path;
  while (!dir.empty()) {
    if (IsExistingDirectory(dir)) return dir;
    if (dir.back() == '\\' || dir.back() == ':') dir.pop_back();
    const std::string up = DirectoryPart(dir, CodePage());
    if (up.size() >= dir.size()) break;
    dir = up;
  }
  return std::string();
}

struct Drive {
  std::string root;
  unsigned long long needed = 0;
  unsigned long long free = 0;
  unsigned long long cluster = 1;
};
}  // namespace

bool FindSpaceShortage(const setupcore::CopyPlan& plan, SpaceShortage& shortage,
                       std::vector<SourceFile>& sources) {
  sources.assign(plan.Entries().size(), SourceFile());
  size_t index = 0;
  std::vector<Drive> drives;
  // Target directory -> its drive in `drives` (-1: cannot be read); a long script names few.
  std::map<std::string, int> driveOf;
  for (const setupcore::CopyEntry& e : plan.Entries()) {
    SourceFile& source = sources[index++];
    if (!e.copies) continue;
    if (!GetFileAttributesExA(e.source.c_str(), GetFileExInfoStandard, &source.data))
      source.error = GetLastError();
    const WIN32_FILE_ATTRIBUTE_DATA& data = source.data;
    const unsigned long long size =
        source.error || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ? 0
            : (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (size == 0) continue;
    const std::string dir = DirectoryPart(e.target, CodePage());
    auto known = driveOf.find(dir);
    if (known == driveOf.end()) {
      int index = -1;
      const std::string existing = ExistingAncestor(dir.empty() ? "." : dir);
      char root[MAX_PATH + 1] = {};
      ULARGE_INTEGER available;
      if (!existing.empty() && GetVolumePathNameA(existing.c_str(), root, sizeof root) &&
          GetDiskFreeSpaceExA(existing.c_str(), &available, nullptr, nullptr)) {
        for (size_t k = 0; k < drives.size() && index < 0; ++k)
          if (lstrcmpiA(drives[k].root.c_str(), root) == 0) index = static_cast<int>(k);
        if (index < 0) {
          Drive drive;
          drive.root = root;
          drive.free = available.QuadPart;
          DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
          if (GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters) &&
              sectorsPerCluster && bytesPerSector)
            drive.cluster = static_cast<unsigned long long>(sectorsPerCluster) * bytesPerSector;
          drives.push_back(drive);
          index = static_cast<int>(drives.size()) - 1;
        }
      }
      known = driveOf.emplace(dir, index).first;
    }
    if (known->second < 0) continue;
    Drive& drive = drives[static_cast<size_t>(known->second)];
    // A file takes whole clusters: many small files need more than their bytes.
    drive.needed += (size + drive.cluster - 1) / drive.cluster * drive.cluster;
  }
  for (const Drive& drive : drives) {
    if (drive.needed > drive.free) {
      shortage = SpaceShortage{drive.root, drive.needed, drive.free};
      return true;
    }
  }
  return false;
}

void MakeDestination(const std::string& destination) {
  std::string dir = destination;
  if (!dir.empty() && dir.back() == '\\') dir.pop_back();
  // Walked from the innermost level outwards and made on the way back, outermost first.
  std::vector<std::string> missing;
  for (std::string level = dir; level.size() >= 3 && !IsExistingDirectory(level);) {
    missing.push_back(level);
    level = DirectoryPart(level, CodePage());
    if (!level.empty() && level.back() == '\\') level.pop_back();
  }
  std::vector<std::string> made;
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (CreateDirectoryA(it->c_str(), nullptr)) {
      made.push_back(*it);
      continue;
    }
    const DWORD error = GetLastError();
    // Made by someone else meanwhile: as good as made here.
    if (error == ERROR_ALREADY_EXISTS && IsExistingDirectory(*it)) continue;
    for (auto back = made.rbegin(); back != made.rend(); ++back) {
      // A level that will not go is left; the message has already the cause that matters.
      RemoveDirectoryA(back->c_str());
    }
    throw Exception(EngineText(kDestinationNotMade, destination, SystemErrorText(error)));
  }
  // A bare drive designator or a drive's root makes nothing above; it must be there already.
  const std::string chain = dir.empty() ? destination : dir;
  if (!IsExistingDirectory(chain)) {
    const DWORD error = GetFileAttributesA(chain.c_str()) == INVALID_FILE_ATTRIBUTES ? GetLastError()
                                                                                     : ERROR_DIRECTORY;
    throw Exception(EngineText(kDestinationNotMade, destination, SystemErrorText(error)));
  }
}

namespace {
std::string WithoutTrailingBackslash(std::string dir) {
  if (dir.size() > 3 && dir.back() == '\\') dir.pop_back();
  return dir;
}

bool SamePath(const std::string& a, const std::string& b) {
  // The system's comparison: a byte-wise folding is fooled by double-byte code pages.
  return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// The file version of a program or library's version resource, read as data with kernel32
// alone; false when it has none.
bool FileVersion(const std::string& path, unsigned long long& version) {
  // A name without an extension would be given ".dll"; a final dot says it has none.
  std::string name = path;
  if (NamePart(name, CodePage()).find('.') == std::string::npos) name += ".";
  HMODULE module = LoadLibraryExA(name.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return false;
  bool found = false;
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));  // RT_VERSION
  HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
  const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  const DWORD size = info ? SizeofResource(module, info) : 0;
  // The fixed part follows the block's header and its key, at a four-byte boundary.
  for (DWORD at = 4; data && !found && at + sizeof(VS_FIXEDFILEINFO) <= size && at <= 64; at += 4) {
    VS_FIXEDFILEINFO fixed;
    memcpy(&fixed, data + at, sizeof fixed);
    if (fixed.dwSignature != 0xFEEF04BD) continue;
    version = (static_cast<unsigned long long>(fixed.dwFileVersionMS) << 32) | fixed.dwFileVersionLS;
    found = true;
  }
  FreeLibrary(module);
  return found;
}

// Whether the file already there is newer than the one the product brings.
bool IsNewer(const std::string& target, const WIN32_FILE_ATTRIBUTE_DATA& there,
             const std::string& source, const WIN32_FILE_ATTRIBUTE_DATA& brought) {
  unsigned long long thereVersion = 0, broughtVersion = 0;
  if (FileVersion(target, thereVersion) && FileVersion(source, broughtVersion))
    return thereVersion > broughtVersion;
  return CompareFileTime(&there.ftLastWriteTime, &brought.ftLastWriteTime) > 0;
}

CopyResult Failed(DWORD error, const std::string& reason = std::string()) {
  return CopyResult{CopyResult::kFailed, error, reason};
}

// Deletes a temporary copy; one that will not go is named in the failure.
CopyResult FailedLeaving(DWORD error, const std::string& temp) {
  if (DeleteFileA(temp.c_str())) return Failed(error);
  return Failed(error, SystemErrorText(error) + "; " + EngineText(kTempLeft, temp));
}

// The 32-bit system directory of a 64-bit system; the call is not there before Windows XP, and
// fails on a 32-bit system.
std::string SystemWow64Directory() {
  using Wow64DirectoryFn = UINT(WINAPI*)(LPSTR, UINT);
  const Wow64DirectoryFn fn = reinterpret_cast<Wow64DirectoryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemWow64DirectoryA")));
  if (!fn) return std::string();
  return ReadSystemPath([fn](DWORD size, char* b) { return fn(b, size); });
}

// The source's attributes that a copy takes, as the system's copy does (but the read-only one,
// which a new file is never given).
const DWORD kKeptAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

FileHandle OpenSource(const std::string& source) {
  return FileHandle(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}
}  // namespace

FileInstaller::FileInstaller(const setupcore::CopyPlan& plan) : plan_(plan) {
  const std::string windowsDir = plan.Places().windowsDir;
  sharedDirs_ = {windowsDir, windowsDir + "\\system"};
  for (const std::string& dir : {SystemDirectory(), SystemWow64Directory()})
    if (!dir.empty()) sharedDirs_.push_back(dir);
  // A script may spell a shared directory otherwise (its short name, another case, the other
  // system directory's name on a system that redirects it): the folders themselves are compared.
  for (const std::string& dir : sharedDirs_) {
    FileHandle h = OpenFolderAsItIs(dir);
    TDiskIdentity id;
    if (h && IdentityOf(h.Get(), id)) sharedIds_.push_back(id);
  }
}

FileInstaller::Held FileInstaller::Hold(const std::string& folder) {
  if (held_.count(folder)) return Held::kHeld;
  FileHandle h = OpenFolderAsItIs(folder);
  if (!h) {
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Held::kNotThere;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return Held::kLink;
    SetLastError(error);
    return Held::kNotHeld;
  }
  if (IsLink(folder, h.Get())) return Held::kLink;
  held_.emplace(folder, std::move(h));
  return Held::kHeld;
}

FileInstaller::Directory FileInstaller::DirectoryOf(const setupcore::CopyEntry& entry) {
  const std::string dir = DirectoryPart(entry.target, CodePage());
  auto known = directories_.find(dir);
  if (known != directories_.end()) return known->second;
  Directory found;
  const std::string here = WithoutTrailingBackslash(dir);
  for (const std::string& shared : sharedDirs_) found.shared = found.shared || SamePath(here, shared);
  // From the section's own directory down to the target's: a link planted at any level would
  // carry the copy elsewhere, and a level held open cannot be swapped for one later. The levels
  // above are the user's or the system's choice.
  const std::string& prefix = plan_.Markers()[static_cast<size_t>(entry.marker)].prefix;
  std::string level = WithoutTrailingBackslash(DirectoryPart(prefix, CodePage()));
  if (level.empty()) level = here.substr(0, 3);  // an entry that names its own drive
  for (;;) {
    const Held held = Hold(level);
    // Nor is anything below it there: what is found is not kept, so that a level made later
    // is looked at (and held) in its turn.
    if (held == Held::kNotThere) return found;
    // One that is there but will not be held (someone holds it so) could be swapped later.
    if (held == Held::kNotHeld) {
      found.unheld = GetLastError();
      return found;
    }
    if (held == Held::kLink) {
      found.throughLink = true;
      break;
    }
    if (level.size() >= here.size()) {
      TDiskIdentity id;
      if (IdentityOf(held_[level].Get(), id))
        for (const TDiskIdentity& shared : sharedIds_) found.shared = found.shared || id == shared;
      break;
    }
    const size_t next = here.find('\\', level.size() + (level.back() == '\\' ? 0 : 1));
    level = here.substr(0, next);
  }
  return directories_.emplace(dir, found).first->second;
}

CopyResult FileInstaller::Install(const setupcore::CopyEntry& entry, const SourceFile& source) {
  if (source.error) return Failed(source.error);
  // The levels that are there are looked at before anything is made below them.
  const Directory where = DirectoryOf(entry);
  if (where.throughLink) return CopyResult{CopyResult::kRefused, 0, EngineText(kPassesThroughLink)};
  if (where.unheld) return Failed(where.unheld);
  std::vector<std::string> made;
  CopyResult result = MakeFolders(entry, made);
  if (result.outcome == CopyResult::kCopied) result = Place(entry, source);
  // A folder that holds something by now (another entry's file, something of the user's)
  // will not go, and is not meant to. A held folder cannot go at all: it is let go first.
  if (result.outcome != CopyResult::kCopied)
    for (auto it = made.rbegin(); it != made.rend(); ++it) {
      held_.erase(*it);
      RemoveDirectoryA(it->c_str());
    }
  return result;
}

CopyResult FileInstaller::MakeFolders(const setupcore::CopyEntry& entry,
                                      std::vector<std::string>& made) {
  if (!entry.makesFolders) return CopyResult();
  // The plan made the target the destination, a backslash and the entry's parts.
  const std::string dir = WithoutTrailingBackslash(DirectoryPart(entry.target, CodePage()));
  size_t end = plan_.Places().destination.size();
  do {
    end = dir.find('\\', end + 1);
    const std::string folder = dir.substr(0, end);
    DWORD attributes = GetFileAttributesA(folder.c_str());
    DWORD error = 0;
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      if (CreateDirectoryA(folder.c_str(), nullptr)) made.push_back(folder);
      else error = GetLastError();
      // Made here or by someone else meanwhile: looked at as it is now.
      attributes = GetFileAttributesA(folder.c_str());
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      const Held held = Hold(folder);
      if (held == Held::kHeld) continue;
      if (held == Held::kNotHeld) return Failed(GetLastError());
      attributes = held == Held::kLink ? FILE_ATTRIBUTE_REPARSE_POINT : INVALID_FILE_ATTRIBUTES;
      if (!error) error = ERROR_PATH_NOT_FOUND;  // gone again at once
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
      return CopyResult{CopyResult::kRefused, 0, EngineText(kPassesThroughLink)};
    const std::string why = attributes != INVALID_FILE_ATTRIBUTES ? EngineText(kFileInTheWay)
                                                                  : SystemErrorText(error);
    return Failed(error ? error : ERROR_ALREADY_EXISTS, EngineText(kFolderNotMade, folder, why));
  } while (end != std::string::npos);
  return CopyResult();
}

CopyResult FileInstaller::Place(const setupcore::CopyEntry& entry, const SourceFile& source) {
  // Most targets are new: the copy is tried at once, and refuses to write over anything that is
  // there, a link included. Only then is the thing already there looked at.
  const CopyResult fresh = CopyNew(entry.source, entry.target, source.data);
  if (fresh.outcome == CopyResult::kCopied ||
      (fresh.error != ERROR_FILE_EXISTS && fresh.error != ERROR_ALREADY_EXISTS))
    return fresh;
  WIN32_FILE_ATTRIBUTE_DATA there;
  if (!GetFileAttributesExA(entry.target.c_str(), GetFileExInfoStandard, &there))
    return Failed(GetLastError());
  if (there.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
    return CopyResult{CopyResult::kRefused, 0, EngineText(kPassesThroughLink)};
  if (DirectoryOf(entry).shared && IsNewer(entry.target, there, entry.source, source.data))
    return CopyResult{CopyResult::kKept, 0, std::string()};
  return Replace(entry.source, entry.target, source.data);
}

CopyResult FileInstaller::CopyNew(const std::string& source, const std::string& target,
                                  const WIN32_FILE_ATTRIBUTE_DATA& data) {
  FileHandle in = OpenSource(source);
  if (!in) return Failed(GetLastError());
  // Made new, so a file or a link that someone put there stops the copy and is left alone; and
  // nothing was there, so nothing is lost when a copy that fails half way is removed.
  FileHandle out = CreateNewFile(target, data.dwFileAttributes & kKeptAttributes);
  if (!out) return Failed(GetLastError());
  if (const DWORD error = CopyInto(in.Get(), std::move(out), data)) {
    if (!DeleteFileA(target.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND &&
        GetLastError() != ERROR_PATH_NOT_FOUND)
      return Failed(error, SystemErrorText(error) + "; " + EngineText(kTempLeft, target));
    return Failed(error);
  }
  return CopyResult();
}

CopyResult FileInstaller::Replace(const std::string& source, const std::string& target,
                                  const WIN32_FILE_ATTRIBUTE_DATA& data) {
  FileHandle in = OpenSource(source);
  if (!in) return Failed(GetLastError());
  std::string temp;
  FileHandle out = CreateTemporaryBeside(target, data.dwFileAttributes & kKeptAttributes, temp);
  if (!out) return Failed(GetLastError());
  if (const DWORD error = CopyInto(in.Get(), std::move(out), data)) return FailedLeaving(error, temp);
  // The rename replaces the name: a second name of the file there keeps what it held.
  if (!MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
    return FailedLeaving(GetLastError(), temp);  // the target keeps what it had
  return CopyResult();
}

DWORD FileInstaller::CopyInto(HANDLE in, FileHandle out, const WIN32_FILE_ATTRIBUTE_DATA& data) {
  // The system's copy moves a file 64 KiB a call (under Wine); a block of 1 MiB, made once a
  // run, takes a sixteenth of the calls for a large file and one call for a small one.
  const DWORD kBlock = 1u << 20;
  if (!block_) block_.reset(new char[kBlock]);
  for (;;) {
    DWORD got = 0, put = 0;
    if (!ReadFile(in, block_.get(), kBlock, &got, nullptr)) return GetLastError();
    if (got == 0) break;
    if (!WriteFile(out.Get(), block_.get(), got, &put, nullptr)) return GetLastError();
    if (put != got) return ERROR_DISK_FULL;
  }
  if (!SetFileTime(out.Get(), nullptr, nullptr, &data.ftLastWriteTime) || !out.Close())
    return GetLastError();
  return 0;
}

void SaveRecord(const TStringList& lines, const std::string& path) {
  // The record's folder is held while the record goes in, so that it is not swapped for a link
  // meanwhile; a record that is a link, or one name of a file that has others, is not replaced,
  // whatever the file it shares its bytes with.
  const std::string dir = WithoutTrailingBackslash(DirectoryPart(path, CodePage()));
  FileHandle folder = OpenFolderAsItIs(dir);
  bool throughLink = folder && IsLink(dir, folder.Get());
  {
    FileHandle record(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (record && GetFileInformationByHandle(record.Get(), &info))
      throughLink = throughLink || IsLink(path, record.Get()) ||
                    (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && info.nNumberOfLinks > 1);
  }
  if (throughLink) throw Exception(EngineText(kRecordNotWritten, path, EngineText(kRecordThroughLink)));
  const bool earlier = IsExistingFile(path);
  try {
    lines.SaveToFile(path);
  } catch (const EStreamError& e) {
    const std::string cause = e.SystemCode() ? SystemErrorText(e.SystemCode()) : e.Message();
    std::string message = EngineText(kRecordNotWritten, path, cause);
    if (earlier && IsExistingFile(path)) message += " " + EngineText(kRecordKept, path);
    throw Exception(message);
  }
}
