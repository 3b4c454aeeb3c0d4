#include "uninstaller/CleanUp.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "platform/Errors.h"
#include "platform/FileHandle.h"
#include "uninstaller/Records.h"
#include "uninstaller/SafeDelete.h"

namespace {
// How long the copy waits for remove.exe to end, and then for its file to be let go.
const DWORD kProcessWaitMs = 60000;
const int kDeleteTries = 50;
const DWORD kDeletePauseMs = 100;

struct Prepared {
  std::string copy;
  std::string exe;
  std::string destination;
  FileHandle deleteOnClose;
};
std::optional<Prepared> prepared;  // from PrepareCleanUp to StartCleanUp

std::string TempFolder() {
  char buf[MAX_PATH + 1] = {};
  DWORD n = GetTempPathA(sizeof buf, buf);
  return n && n < sizeof buf ? std::string(buf, n) : std::string();
}
}  // namespace

bool PrepareCleanUp(const TRemovePlaces& places, std::string& reason) {
  const std::string temp = TempFolder();
  char name[MAX_PATH] = {};
  if (temp.empty() || !GetTempFileNameA(temp.c_str(), "rmv", 0, name)) {
    reason = SystemErrorText(GetLastError());
    return false;
  }
  auto failed = [&] {
    reason = SystemErrorText(GetLastError());
    DeleteFileA(name);  // the reserved name; nothing else refers to it
    return false;
  };
  if (!CopyFileA(places.self.c_str(), name, FALSE)) return failed();
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  FileHandle h(CreateFileA(name, GENERIC_READ | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                           &inherit, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (!h.Valid()) return failed();
  prepared = Prepared{name, places.self, places.destination, std::move(h)};
  return true;
}

void StartCleanUp() {
  if (!prepared) return;
  const Prepared p = std::move(*prepared);
  prepared.reset();
  HANDLE duplicate = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &duplicate,
                       SYNCHRONIZE, TRUE, 0))
    return;  // remove.exe then stays, with nothing left for it to do
  const KernelHandle self(duplicate);
  TCleanUpArgs args;
  args.process = reinterpret_cast<ULONG_PTR>(self.Get());
  args.exe = p.exe;
  args.destination = p.destination;
  std::string line = CleanUpCommandLine(p.copy, args);
  std::vector<char> buf(line.begin(), line.end());
  buf.push_back('\0');
  const std::string temp = TempFolder();
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (CreateProcessA(p.copy.c_str(), buf.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     temp.empty() ? nullptr : temp.c_str(), &si, &pi)) {
    const KernelHandle thread(pi.hThread), process(pi.hProcess);
  }
  // The copy holds its own handle to its file now; closing ours (with `p`) leaves the deletion
  // to its end.
}

int RunCleanUp(const TCleanUpArgs& args) {
  const TRemovePlaces places = SystemPlaces();
  const KernelHandle process(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(args.process)));
  if (!CleanUpIsSafe(args, places)) return 2;
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
  const std::string self = places.self;
  // Where the delete-on-close handle has done its work this names nothing by then, which the
  // system's start passes over.
  MoveFileExA(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return 0;
}
