#pragma once
// The file system as the program meets it: what exists, the process's current directory, the
// search handle of a directory listing, the name of the program's own file, and the writes of a
// program that runs with more rights than the user who may own the folders it writes in.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/FileHandle.h"
#include "platform/Owned.h"

// A path that the system writes into the caller's buffer and, when it does not fit, answers with
// the size it needs (GetWindowsDirectoryA, GetCurrentDirectoryA, GetLongPathNameA): read through a
// buffer of firstSize, then once through one of the size asked for; an unfilled buffer is never
// read, and a path that still does not fit reads as empty.
template <class Fn>
std::string ReadSystemPath(Fn fn, DWORD firstSize = MAX_PATH + 1) {
  std::vector<char> buf(firstSize);
  DWORD n = fn(static_cast<DWORD>(buf.size()), buf.data());
  if (n >= buf.size()) {
    buf.assign(n + 1, '\0');
    n = fn(static_cast<DWORD>(buf.size()), buf.data());
    if (n >= buf.size()) n = 0;
  }
  return std::string(buf.data(), n);
}

// The Windows directory as the system reports it (without a trailing backslash, but for a
// drive's root).
std::string WindowsDirectory();

// True when the path names an existing file (not a directory); a path that cannot be read counts
// as missing. A relative path is taken against the process's current directory.
bool IsExistingFile(const std::string& path);
// The same for a directory.
bool IsExistingDirectory(const std::string& path);

// Makes dir the process's current directory; EInOutError with the system's code when it cannot
// be entered, and the current directory is then what it was.
void EnterDirectory(const std::string& dir);

// A search handle of FindFirstFileA, closed when its owner goes.
struct FindHandleTraits : InvalidIsEmpty {
  // A failed close leaves nothing to undo: the search is over either way.
  static void Free(HANDLE h) { FindClose(h); }
};
using FindHandle = Owned<FindHandleTraits>;

// The full path of the running program's file, however long.
std::string ProgramFilePath();
// The file name in a path (after its last backslash or ':'), cut before its first '.': the name
// the program goes by, as a DDE service and as its title. VELMORA.SETUP.EXE gives VELMORA.
std::string NameBeforeFirstDot(const std::string& path);

// A folder opened as it is: a link (a symbolic link or a junction) is not followed but opened
// itself. Everything is shared but deletion, so while the handle is held nobody renames,
// removes or swaps the folder, and its path keeps naming it. Invalid, with the system's error,
// when it cannot be opened.
FileHandle OpenFolderAsItIs(const std::string& path);
// Whether the thing at `path`, opened as `h`, reads as a link: the name and the handle are both
// asked, since some systems tell a link by one of them only.
bool IsLink(const std::string& path, HANDLE h);

// Creates the file for writing, never through a link: anything already there under the name,
// a link included, fails it with ERROR_FILE_EXISTS. The read-only attribute is never given.
FileHandle CreateNewFile(const std::string& path, DWORD attributes);
// Creates a new file beside `target` under a name of the program's own, for a copy that is to
// take the target's name: <target>.~vel<n>, or <directory>\~vel<n> where that would pass
// MAX_PATH. `name` gets the name made; invalid, with the system's error, when none can be.
FileHandle CreateTemporaryBeside(const std::string& target, DWORD attributes, std::string& name);

// What a file or directory is on the disk, whatever its spelling: its volume and its index
// there. Two names with one identity are one thing (a second drive letter, a linked folder, a
// short name, a hard link).
struct TDiskIdentity {
  DWORD volume = 0, high = 0, low = 0;
  bool operator==(const TDiskIdentity& o) const {
    return volume == o.volume && high == o.high && low == o.low;
  }
};
bool IdentityOf(HANDLE h, TDiskIdentity& id);
// Opened for no access and sharing everything: only the identity is read. False where it
// cannot be opened.
bool IdentityOf(const std::string& path, TDiskIdentity& id);
bool SameFileOnDisk(const std::string& a, const std::string& b);

// Writes all the bytes through the handle, a MiB a call; false at the first short write.
bool WriteAll(HANDLE file, const std::string& bytes);
