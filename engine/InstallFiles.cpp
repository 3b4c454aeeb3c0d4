#include "engine/InstallFiles.h"

#include <map>
#include <vector>

#include "engine/EngineText.h"
#include "filectrl/DirHelpers.h"
#include "ui/Errors.h"
#include "ui/FileSystem.h"
#include "ui/Strings.h"

namespace {
// The size of a source file; 0 for one that is not there, which the copy will report.
unsigned long long SourceSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The nearest directory of the path that exists, itself included; empty when there is none.
std::string ExistingAncestor(const std::string& path) {
  char full[MAX_PATH];
  DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  std::string dir = n > 0 && n < MAX_PATH ? std::string(full, n) : path;
  while (!dir.empty()) {
    if (IsExistingDirectory(dir)) return dir;
    if (dir.back() == '\\' || dir.back() == ':') dir.pop_back();
    const std::string up = DirectoryPart(dir);
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

bool FindSpaceShortage(const setupcore::CopyPlan& plan, SpaceShortage& shortage) {
  std::vector<Drive> drives;
  // Target directory -> its drive in `drives` (-1: cannot be read); a long script names few.
  std::map<std::string, int> driveOf;
  for (const setupcore::CopyEntry& e : plan.Entries()) {
    const unsigned long long size = e.copies ? SourceSize(e.source) : 0;
    if (size == 0) continue;
    const std::string dir = DirectoryPart(e.target);
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
    level = DirectoryPart(level);
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

DWORD CopyWhole(const std::string& source, const std::string& target) {
  // A missing source is told as such, without a temporary file made and removed for it.
  if (GetFileAttributesA(source.c_str()) == INVALID_FILE_ATTRIBUTES) return GetLastError();
  std::string dir = DirectoryPart(target);
  if (dir.empty()) dir = ".";
  char temp[MAX_PATH] = {};
  if (!GetTempFileNameA(dir.c_str(), "vlm", 0, temp)) {
    const DWORD error = GetLastError();
    // The system calls a missing directory an invalid one here; the copy would say not found.
    return error == ERROR_DIRECTORY ? ERROR_PATH_NOT_FOUND : error;
  }
  if (!CopyFileA(source.c_str(), temp, FALSE)) {
    const DWORD error = GetLastError();
    DeleteFileA(temp);  // the part copied so far; nothing more can be done if it will not go
    return error;
  }
  if (!MoveFileExA(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    const DWORD error = GetLastError();
    DeleteFileA(temp);  // as above: the target keeps what it had
    return error;
  }
  return 0;
}

void SaveRecord(const TStringList& lines, const std::string& path) {
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
