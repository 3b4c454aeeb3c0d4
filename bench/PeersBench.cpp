// Times whole installations of one payload, each a process (or two) from its start until the files
// are on disk, in rounds taken in turn after a warm-up round: a plain CopyFileA loop (the floor),
// setup.exe worked from outside as a person would, NSIS installers (stored and compressed) run
// silently, and an MSI run by msiexec without a window and removed after each round. Every file is
// checked after each run. Prints one line a tool: median seconds, ratio to the floor, package size.
//
//   peers_bench ROOT RUNS        ROOT holds payload\ (the files, setup.ini, SETUP.EXE),
//                                nsis-stored.exe, nsis-zlib.exe and peer.msi
//   peers_bench copy SRC DEST    the floor: CopyFileA over every .dat file of SRC
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "driver/Driver.h"

namespace {
const char kMain[] = "The Velmora Installer V1.00";
// Client positions of the main window's destination and Install button, and of the Installing
// dialog's message line.
const int kDestX = 74, kDestY = 264, kInstallX = 285, kInstallY = 340, kMsgX = 13, kMsgY = 21;

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

std::vector<std::string> PayloadNames(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*.dat").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.push_back(fd.cFileName);
  while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

void Wipe(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((dir + "\\" + fd.cFileName).c_str());
  while (FindNextFileA(h, &fd));
  FindClose(h);
  RemoveDirectoryA(dir.c_str());
}

bool SameFile(const std::string& a, const std::string& b) {
  HANDLE ha = CreateFileA(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  HANDLE hb = CreateFileA(b.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  bool same = ha != INVALID_HANDLE_VALUE && hb != INVALID_HANDLE_VALUE;
  std::vector<char> x(1 << 20), y(1 << 20);
  while (same) {
    DWORD nx = 0, ny = 0;
    same = ReadFile(ha, x.data(), static_cast<DWORD>(x.size()), &nx, nullptr) &&
           ReadFile(hb, y.data(), static_cast<DWORD>(y.size()), &ny, nullptr) && nx == ny &&
           std::equal(x.begin(), x.begin() + nx, y.begin());
    if (nx == 0) break;
  }
  if (ha != INVALID_HANDLE_VALUE) CloseHandle(ha);
  if (hb != INVALID_HANDLE_VALUE) CloseHandle(hb);
  return same;
}

unsigned long long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA a;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a)) return 0;
  return (static_cast<unsigned long long>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
}

// Runs a command line to its end; its exit code, or -1 when it cannot start or will not end.
int Run(const std::string& exe, const std::string& args, const std::string& dir = "") {
  std::string line = "\"" + exe + "\" " + args;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                      dir.empty() ? nullptr : dir.c_str(), &si, &pi))
    return -1;
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(pi.hProcess, 600000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  else TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

// setup.exe from its start until it ends after Done, worked through its windows.
bool RunSetup(const std::string& payload, const std::string& dest) {
  const std::string exe = payload + "\\SETUP.EXE";
  std::string line = "\"" + exe + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, payload.c_str(), &si, &pi))
    return false;
  bool ok = true;
  try {
    HWND main = drv::WaitWindow(kMain, 60000, pi.dwProcessId);
    drv::WaitText(main, 74, 306, "Peers", 60000);  // filled in from setup.ini
    drv::SetText(drv::RequireControlAt(main, kDestX, kDestY), dest);
    drv::Click(drv::RequireControlAt(main, kInstallX, kInstallY));
    HWND installing = drv::WaitWindow("Installing", 60000, pi.dwProcessId);
    drv::WaitText(installing, kMsgX, kMsgY, "Click DONE to exit.", 600000);
    drv::PressButton(installing, "Done");
    ok = WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0;
  } catch (const drv::Error& e) {
    std::fprintf(stderr, "peers_bench: setup.exe: %s\n", e.what());
    ok = false;
  }
  if (!ok) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return ok;
}

struct Tool {
  std::string name;
  std::function<bool(const std::string& dest)> install;
  std::function<void()> remove;  // after the files are checked; may be empty
  unsigned long long packageSize;
  std::vector<double> seconds;
  bool failed = false;
};
}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "copy") {
    const std::string src = argv[2], dest = argv[3];
    CreateDirectoryA(dest.c_str(), nullptr);
    for (const std::string& n : PayloadNames(src))
      if (!CopyFileA((src + "\\" + n).c_str(), (dest + "\\" + n).c_str(), FALSE)) return 1;
    return 0;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: peers_bench ROOT RUNS | peers_bench copy SRC DEST\n");
    return 2;
  }
  const std::string root = argv[1];
  const int runs = std::max(1, atoi(argv[2]));
  const std::string payload = root + "\\payload";
  const std::vector<std::string> names = PayloadNames(payload);
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  char sys[MAX_PATH];
  GetSystemDirectoryA(sys, MAX_PATH);
  const std::string msiexec = std::string(sys) + "\\msiexec.exe";
  const std::string msi = root + "\\peer.msi";

  unsigned long long payloadSize = 0;
  for (const std::string& n : names) payloadSize += FileSize(payload + "\\" + n);
  std::vector<Tool> tools;
  tools.push_back({"CopyFileA loop", [&](const std::string& d) {
                     return Run(self, "copy \"" + payload + "\" \"" + d + "\"") == 0; },
                   nullptr, payloadSize});
  tools.push_back({"setup.exe", [&](const std::string& d) { return RunSetup(payload, d); }, nullptr,
                   payloadSize + FileSize(payload + "\\SETUP.EXE") + FileSize(payload + "\\setup.ini")});
  for (const char* kind : {"stored", "zlib"}) {
    const std::string exe = root + "\\nsis-" + kind + ".exe";
    tools.push_back({std::string("NSIS, ") + (kind == std::string("zlib") ? "zlib" : "stored"),
                     [exe](const std::string& d) { return Run(exe, "/S /D=" + d) == 0; }, nullptr,
                     FileSize(exe)});
  }
  tools.push_back({"MSI (wixl), msiexec", [&](const std::string& d) {
                     return Run(msiexec, "/i \"" + msi + "\" /qn INSTALLDIR=\"" + d + "\"") == 0; },
                   [&] { Run(msiexec, "/x \"" + msi + "\" /qn"); }, FileSize(msi)});

  for (int r = 0; r <= runs; ++r) {
    for (Tool& t : tools) {
      if (t.failed) continue;
      const std::string dest = root + "\\out";
      Wipe(dest);
      const double t0 = Now();
      const bool ok = t.install(dest);
      const double s = Now() - t0;
      size_t bad = 0;
      for (const std::string& n : names)
        if (!SameFile(payload + "\\" + n, dest + "\\" + n)) ++bad;
      if (t.remove) t.remove();
      Wipe(dest);
      if (!ok || bad) {
        std::fprintf(stderr, "peers_bench: %s: %s, %zu of %zu files missing or different\n",
                     t.name.c_str(), ok ? "ended" : "failed", bad, names.size());
        t.failed = true;
        continue;
      }
      if (r > 0) t.seconds.push_back(s);  // the first round warms up
    }
  }
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1.0 : v[v.size() / 2];
  };
  const double floor = median(tools[0].seconds);
  std::printf("%-22s %10s %8s %14s\n", "tool", "median s", "ratio", "package bytes");
  for (const Tool& t : tools) {
    if (t.failed) {
      std::printf("%-22s %10s %8s %14llu\n", t.name.c_str(), "failed", "-", t.packageSize);
      continue;
    }
    const double m = median(t.seconds);
    std::printf("%-22s %10.3f %8.2f %14llu\n", t.name.c_str(), m, floor > 0 ? m / floor : 0.0,
                t.packageSize);
  }
  return 0;
}
