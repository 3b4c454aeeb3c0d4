#include "uninstaller/CleanUp.h"

#include <windows.h>

#include <ntsecapi.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/Errors.h"
#include "platform/FileHandle.h"
#include "platform/FileSystem.h"
#include "platform/SystemLibrary.h"
#include "uninstaller/Records.h"
#include "uninstaller/RemoveText.h"
#include "uninstaller/SafeDelete.h"

namespace {
// How long the copy waits for remove.exe to end, and then for its file to be let go.
const DWORD kProcessWaitMs = 60000;
const int kDeleteTries = 50;
const DWORD kDeletePauseMs = 100;
// Names already taken by someone else are passed over; this many are tried.
const int kNameTries = 16;

struct Prepared {
  std::string copy;
  std::string exe;
  std::string destination;
  FileHandle deleteOnClose;  // shares reading only: nobody changes or replaces the copy
};
std::optional<Prepared> prepared;  // from PrepareCleanUp to StartCleanUp

bool ReadWhole(HANDLE h, std::string& bytes) {
  bytes.clear();
  char buf[65536];
  DWORD got = 0;
  do {
    if (!ReadFile(h, buf, sizeof buf, &got, nullptr)) return false;
    bytes.append(buf, got);
  } while (got);
  return true;
}

unsigned long long RandomPart() {
  unsigned long long r = 0;
  if (!RtlGenRandom(&r, sizeof r)) {
    // Without the system's random source the name is still new: CREATE_NEW makes sure of that.
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    r = static_cast<unsigned long long>(t.QuadPart) ^ (static_cast<unsigned long long>(GetCurrentProcessId()) << 40);
  }
  return r;
}

// Vista's: systems before it know no administrator rights apart from the user's, and tell no
// process's program file through a handle that may only wait.
using QueryImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
QueryImageNameFn QueryImageName() {
  return SystemFunctionOf<QueryImageNameFn>("kernel32.dll", "QueryFullProcessImageNameA");
}
const DWORD kQueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION

// Whether `process` is a process whose program file is `exe`.
bool IsProcessOf(HANDLE process, const std::string& exe) {
  const QueryImageNameFn query = QueryImageName();
  if (!query) return true;
  char buf[MAX_PATH * 4];
  DWORD size = sizeof buf;
  if (!query(process, 0, buf, &size)) return false;
  return SameFileOnDisk(std::string(buf, size), exe);
}
}  // namespace

bool PrepareCleanUp(const TRemovePlaces& places, std::string& reason) {
  std::string bytes;
  {
    FileHandle self(CreateFileA(places.self.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!self.Valid() || !ReadWhole(self.Get(), bytes)) {
      reason = SystemErrorText(GetLastError());
      return false;
    }
  }
  for (int attempt = 0; attempt < kNameTries; ++attempt) {
    const std::string name = CleanUpCopyPath(places.windowsDir, RandomPart());
    FileHandle made(CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!made.Valid()) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      reason = SystemErrorText(GetLastError());
      return false;
    }
    auto failed = [&](DWORD error) {
      made.Close();
      DeleteFileA(name.c_str());  // ours: this run made it
      reason = SystemErrorText(error);
      return false;
    };
    if (!WriteAll(made.Get(), bytes)) return failed(GetLastError());
    // The system starts no program from a file open for writing: the writing handle goes, and
    // the one that follows is checked to hold what was written.
    if (!made.Close()) return failed(GetLastError());
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    FileHandle h(CreateFileA(name.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ, &inherit,
                             OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!h.Valid()) return failed(GetLastError());
    std::string back;
    if (!ReadWhole(h.Get(), back) || back != bytes) {
      reason = RemoveText(kCopyChanged);
      return false;  // the handle takes the file with it
    }
    prepared = Prepared{name, places.self, places.destination, std::move(h)};
    return true;
  }
  reason = SystemErrorText(ERROR_FILE_EXISTS);
  return false;
}

bool StartCleanUp(std::string& reason) {
  if (!prepared) return true;
  const Prepared p = std::move(*prepared);
  prepared.reset();
  HANDLE duplicate = nullptr;
  // The copy checks that the process it is to wait for runs this very remove.exe.
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &duplicate,
                       SYNCHRONIZE | (QueryImageName() ? kQueryLimitedInformation : 0), TRUE, 0)) {
    reason = SystemErrorText(GetLastError());
    return false;
  }
  const KernelHandle self(duplicate);
  TCleanUpArgs args;
  args.process = reinterpret_cast<ULONG_PTR>(self.Get());
  args.exe = p.exe;
  args.destination = p.destination;
  std::string line = CleanUpCommandLine(p.copy, args);
  std::vector<char> buf(line.begin(), line.end());
  buf.push_back('\0');
  const std::string folder = p.copy.substr(0, p.copy.find_last_of('\\'));
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(p.copy.c_str(), buf.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                      &si, &pi)) {
    reason = SystemErrorText(GetLastError());
    return false;  // closing `p`'s handle takes the copy away
  }
  const KernelHandle thread(pi.hThread), process(pi.hProcess);
  // The copy holds its own handle to its file now; closing ours (with `p`) leaves the deletion
  // to its end.
  return true;
}

int RunCleanUp(const TCleanUpArgs& args) {
  const TRemovePlaces places = SystemPlaces();
  // Only the copy remove.exe made for this honours the call, and only for the remove.exe whose
  // process it was given: the handle is looked at only then, since a call made by hand names
  // whatever handle it likes.
  if (!IsCleanUpCopyPath(places.self, places.windowsDir, places.codePage)) return 2;
  const KernelHandle process(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(args.process)));
  if (!CleanUpIsSafe(args, places) || !IsProcessOf(process.Get(), args.exe)) return 2;
  if (WaitForSingleObject(process.Get(), kProcessWaitMs) != WAIT_OBJECT_0) return 3;
  // The system may hold the ended program's file a moment longer.
  for (int i = 0; i < kDeleteTries; ++i) {
    const TDeleteResult r = DeleteBelow(args.destination, args.exe, places.codePage);
    if (r.deleted || r.refusal != rfNone || GetFileAttributesA(args.exe.c_str()) == INVALID_FILE_ATTRIBUTES)
      break;
    Sleep(kDeletePauseMs);
  }
  // Only an empty directory goes: anything the user put there keeps it.
  RemoveDirectoryA(args.destination.c_str());
  // Where the delete-on-close handle has done its work this names nothing by then, which the
  // system's start passes over. It names this copy's own file and nothing else.
  MoveFileExA(places.self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return 0;
}
