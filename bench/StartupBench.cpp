// Times the shipped setup.exe from its start to a main window filled from setup.ini, against a
// bare window program of the same architecture started the same way, and prints the ratio
// (median of several runs, all started from this one process).
//
//   startup_bench SETUP_EXE BARE_EXE [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Search {
  DWORD pid;
  const char* caption;
  const char* editText;  // nullptr: the window being visible is enough
  HWND found;
};

BOOL CALLBACK FindEdit(HWND child, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  char cls[32], text[MAX_PATH];
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, "Edit") != 0) return TRUE;
  // GetWindowText does not ask a window of another process for its text; the message does.
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, 1000, &got))
    return TRUE;
  if (lstrcmpiA(text, s->editText) != 0) return TRUE;
  s->found = child;
  return FALSE;
}

BOOL CALLBACK FindTop(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char caption[256];
  if (pid != s->pid || !IsWindowVisible(hwnd) || !GetWindowTextA(hwnd, caption, sizeof caption) ||
      lstrcmpA(caption, s->caption) != 0)
    return TRUE;
  if (!s->editText) {
    s->found = hwnd;
    return FALSE;
  }
  EnumChildWindows(hwnd, FindEdit, lp);
  if (s->found) s->found = hwnd;
  return s->found ? FALSE : TRUE;
}

// Starts `exe` in `dir` and returns the seconds until its window `caption` is visible (and holds
// an edit reading `editText`, when given); then closes it and waits for its end. -1 on failure.
double TimeStart(const std::string& exe, const std::string& dir, const char* caption,
                 const char* editText) {
  std::string cmd = "\"" + exe + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  const double t0 = Now();
  if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) {
    std::fprintf(stderr, "startup_bench: cannot start %s (error %lu)\n", exe.c_str(),
                 static_cast<unsigned long>(GetLastError()));
    return -1;
  }
  Search s{pi.dwProcessId, caption, editText, nullptr};
  double seconds = -1;
  for (int i = 0; i < 60000 && !s.found; ++i) {
    EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
    if (s.found) seconds = Now() - t0;
    else if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  if (!s.found) {
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    std::fprintf(stderr, "startup_bench: %s: no window after %.1f s (exit code %lu)\n", exe.c_str(),
                 Now() - t0, static_cast<unsigned long>(code));
  }
  if (s.found) PostMessageA(s.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return seconds;
}

bool WriteText(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD done = 0;
  const bool ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &done, nullptr) &&
                  done == text.size();
  CloseHandle(h);
  return ok;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench SETUP_EXE BARE_EXE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 5;
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  const std::string dir = std::string(tmp) + "velmora-startup";
  CreateDirectoryA(dir.c_str(), nullptr);
  // The product is laid out as a vendor ships it: the installer (as SETUP.EXE, which names the
  // program "Setup"), its script, one file.
  const std::string setup = dir + "\\SETUP.EXE";
  const std::string bare = dir + "\\bare.exe";
  if (!CopyFileA(argv[1], setup.c_str(), FALSE) || !CopyFileA(argv[2], bare.c_str(), FALSE) ||
      !WriteText(dir + "\\setup.ini",
                 "\\Startup Bench\r\nStartup Bench\r\nStartup Bench 1.0\r\nbench.exe\r\nstartbench\r\n"
                 ":install\r\nbench.exe\r\n\r\n:end\r\n") ||
      !WriteText(dir + "\\bench.exe", "x")) {
    std::fprintf(stderr, "startup_bench: cannot lay out %s\n", dir.c_str());
    return 1;
  }
  std::vector<double> product, yardstick;
  int rc = 0;
  // The first start of each warms Wine's caches; it is not counted.
  for (int r = 0; r <= runs; ++r) {
    double p = TimeStart(setup, dir, "The Velmora Installer V1.00", "c:\\program files\\Startup Bench");
    double b = TimeStart(bare, dir, "Bare window", nullptr);
    if (p < 0 || b < 0) {
      std::fprintf(stderr, "startup_bench: %s did not show its window\n", p < 0 ? "setup.exe" : "the bare window program");
      rc = 1;
      break;
    }
    if (r > 0) {
      product.push_back(p);
      yardstick.push_back(b);
    }
  }
  for (const char* name : {"SETUP.EXE", "bare.exe", "setup.ini", "bench.exe"})
    DeleteFileA((dir + "\\" + name).c_str());
  RemoveDirectoryA(dir.c_str());
  if (rc) return rc;
  const double mp = Median(product), mb = Median(yardstick);
  std::printf("start-up of setup.exe to a filled main window  %8.3f s\n", mp);
  std::printf("start-up of a bare window program              %8.3f s\n", mb);
  std::printf("start-up ratio %.2f\n", mp / mb);
  return 0;
}
