#include "uninstaller/SafeDelete.h"

#include <windows.h>

#include <vector>

#include "platform/FileHandle.h"

namespace {
// Everything is shared but deletion: while a handle is held, nobody renames or removes the
// thing, so its path keeps naming it.
const DWORD kShareAllButDelete = FILE_SHARE_READ | FILE_SHARE_WRITE;

// The system's call that sets a file's attributes and its deletion through a handle, where it
// has one (not before Windows Vista); its classes and records as the system defines them.
using SetInformationFn = BOOL(WINAPI*)(HANDLE, int, void*, DWORD);
const int kFileBasicInfo = 0;
const int kFileDispositionInfo = 4;
struct BasicInfo {
  LARGE_INTEGER creation, lastAccess, lastWrite, change;  // 0: left as they are
  DWORD attributes;
};
struct DispositionInfo {
  BOOLEAN deleteFile;
};

SetInformationFn SetInformation() {
  static const SetInformationFn fn = reinterpret_cast<SetInformationFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetFileInformationByHandle")));
  return fn;
}

bool IsLinkAttributes(DWORD a) {
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
}

DWORD HandleAttributes(HANDLE h) {
  BY_HANDLE_FILE_INFORMATION info;
  return GetFileInformationByHandle(h, &info) ? info.dwFileAttributes : INVALID_FILE_ATTRIBUTES;
}

// Opened as it is, not followed. Listing (or deleting) takes part in the sharing check, which
// reading the attributes alone does not; so the handle keeps the thing where it is.
FileHandle OpenAsItIs(const std::string& path, DWORD access) {
  return FileHandle(CreateFileA(path.c_str(), access | FILE_READ_ATTRIBUTES, kShareAllButDelete,
                                nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// The name and the handle are both asked: some systems tell a link by one of them only.
bool IsLink(const std::string& path, HANDLE h) {
  return IsLinkAttributes(GetFileAttributesA(path.c_str())) || IsLinkAttributes(HandleAttributes(h));
}

bool SetAttributes(HANDLE h, const std::string& path, DWORD attributes) {
  if (!attributes) attributes = FILE_ATTRIBUTE_NORMAL;
  if (SetInformationFn set = SetInformation()) {
    BasicInfo info = {};
    info.attributes = attributes;
    return set(h, kFileBasicInfo, &info, sizeof info) != FALSE;
  }
  // The handle keeps the path naming this file meanwhile.
  return SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

// Deletes `path` below `place`: a file, or an empty folder when `folder` is set. Every folder on
// the way is held open until the end.
TDeleteResult DeleteBelowAs(const std::string& place, const std::string& path, const TCodePage& cp,
                            bool folder) {
  TDeleteResult r;
  const std::vector<std::string> parts = PartsBelow(place, path, cp);
  if (parts.empty()) {
    r.error = ERROR_INVALID_NAME;
    return r;
  }
  std::vector<FileHandle> held;  // the folders on the way, kept where they are until the end
  std::string at = WithoutTrailingBackslash(place, cp);
  for (size_t i = 0; i < parts.size(); ++i) {
    at += (at.back() == '\\' ? "" : "\\") + parts[i];
    const bool last = i + 1 == parts.size();
    FileHandle h = OpenAsItIs(at, last ? DELETE | FILE_WRITE_ATTRIBUTES : FILE_LIST_DIRECTORY);
    if (!h.Valid()) {
      r.error = GetLastError();
      if (IsLinkAttributes(GetFileAttributesA(at.c_str()))) r.refusal = rfThroughLink;
      return r;
    }
    if (IsLink(at, h.Get())) {
      r.refusal = rfThroughLink;
      return r;
    }
    const DWORD attributes = HandleAttributes(h.Get());
    if (!last) {
      held.push_back(std::move(h));
      continue;
    }
    const bool isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (isFolder != folder) {
      if (folder) r.error = ERROR_DIRECTORY;
      else r.refusal = rfDirectory;
      return r;
    }
    // A folder's read-only attribute tells the shell to look for its settings: it does not keep
    // the folder, and it is not cleared.
    const bool readOnly = !folder && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly && !SetAttributes(h.Get(), at, attributes & ~FILE_ATTRIBUTE_READONLY)) {
      r.error = GetLastError();
      return r;
    }
    if (SetInformationFn set = SetInformation()) {
      DispositionInfo disposition = {TRUE};
      r.deleted = set(h.Get(), kFileDispositionInfo, &disposition, sizeof disposition) != FALSE;
    } else {
      // Without deletion by handle the thing is let go and deleted by name at once; the folders
      // on the way are still held.
      h.Close();
      r.deleted = (folder ? RemoveDirectoryA(at.c_str()) : DeleteFileA(at.c_str())) != FALSE;
    }
    if (!r.deleted) {
      r.error = GetLastError();
      // What could not go keeps what it had.
      if (readOnly) SetAttributes(h.Valid() ? h.Get() : nullptr, at, attributes);
    }
  }
  return r;
}
}  // namespace

bool PassesThroughLink(const std::string& place, const std::string& path, const TCodePage& cp) {
  std::string at = WithoutTrailingBackslash(place, cp);
  for (const std::string& part : PartsBelow(place, path, cp)) {
    at += (at.back() == '\\' ? "" : "\\") + part;
    if (IsLinkAttributes(GetFileAttributesA(at.c_str()))) return true;
  }
  return false;
}

TDeleteResult DeleteBelow(const std::string& place, const std::string& path, const TCodePage& cp) {
  return DeleteBelowAs(place, path, cp, false);
}

TDeleteResult RemoveFolderBelow(const std::string& place, const std::string& folder, const TCodePage& cp) {
  return DeleteBelowAs(place, folder, cp, true);
}
