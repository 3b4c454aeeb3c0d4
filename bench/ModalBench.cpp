// Times, from outside, how soon the shipped setup.exe takes input again after a modal window
// closes: the Start Menu prompt (opened by Install with an empty Start Menu folder) is closed by
// its button, by Enter and by its close box, and the time is taken from the closing until the
// prompt is hidden and until the main window is enabled again (median of several rounds).
//
//   modal_bench SETUP_EXE [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "driver/Driver.h"

namespace {
const char kMain[] = "The Velmora Installer V1.00";
const char kPrompt[] = "Setup Message";
// Client positions of the main window's Start Menu folder and Install button.
const int kFolderX = 74, kFolderY = 306, kInstallX = 285, kInstallY = 340;

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1 : v[v.size() / 2];
}

// Polls `done` without sleeping longer than a millisecond; the seconds it took, or -1.
template <class F>
double Until(double t0, F done, double limit = 10) {
  while (!done()) {
    if (Now() - t0 > limit) return -1;
    Sleep(1);
  }
  return Now() - t0;
}

bool WriteText(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD done = 0;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
  CloseHandle(h);
  return done == text.size();
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: modal_bench SETUP_EXE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  const std::string dir = std::string(tmp) + "velmora-modal";
  CreateDirectoryA(dir.c_str(), nullptr);
  const std::string setup = dir + "\\SETUP.EXE";
  if (!CopyFileA(argv[1], setup.c_str(), FALSE) ||
      !WriteText(dir + "\\setup.ini", "\\Modal Bench\r\nModal Bench\r\nModal Bench 1.0\r\nm.exe\r\n"
                                      "modalbench\r\n:install\r\nm.exe\r\n\r\n:end\r\n")) {
    std::fprintf(stderr, "modal_bench: cannot lay out %s\n", dir.c_str());
    return 1;
  }
  std::string cmd = "\"" + setup + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(setup.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) {
    std::fprintf(stderr, "modal_bench: cannot start %s\n", setup.c_str());
    return 1;
  }
  int rc = 0;
  std::vector<double> hidden, enabled;
  try {
    HWND main = drv::WaitWindow(kMain, 30000, pi.dwProcessId);
    drv::WaitText(main, kFolderX, kFolderY, "Modal Bench", 30000);
    drv::SetText(drv::RequireControlAt(main, kFolderX, kFolderY), "");
    const char* ways[] = {"button", "enter", "close box"};
    for (int r = 0; r <= runs; ++r) {
      for (int way = 0; way < 3; ++way) {
        drv::Click(drv::RequireControlAt(main, kInstallX, kInstallY));
        HWND prompt = drv::WaitWindow(kPrompt, 10000, pi.dwProcessId);
        HWND ok = drv::FindButton(prompt, "OK");
        Until(Now(), [&] { return IsWindowEnabled(ok) && !IsWindowEnabled(main); });
        Sleep(50);  // the prompt waits for input
        const double t0 = Now();
        if (way == 0) drv::Click(ok);
        else if (way == 1) drv::PressKey(ok, drv::Key::Enter);
        else drv::Close(prompt);
        const double h = Until(t0, [&] { return !IsWindowVisible(prompt); });
        const double e = Until(t0, [&] { return IsWindowEnabled(main) != FALSE; });
        if (h < 0 || e < 0) throw drv::Error(std::string("the prompt closed by ") + ways[way] +
                                             " did not give the main window back");
        if (r > 0) {  // the first round warms up
          hidden.push_back(h);
          enabled.push_back(e);
        }
      }
    }
    drv::Close(main);
  } catch (const drv::Error& e) {
    std::fprintf(stderr, "modal_bench: %s\n", e.what());
    rc = 1;
  }
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  DeleteFileA(setup.c_str());
  DeleteFileA((dir + "\\setup.ini").c_str());
  RemoveDirectoryA(dir.c_str());
  if (rc) return rc;
  std::printf("prompt hidden after closing                    %8.0f ms\n", Median(hidden) * 1000);
  std::printf("modal return %.0f ms\n", Median(enabled) * 1000);
  return 0;
}
