// Times the installation run over many small and a few large files against a plain loop of
// CopyFileA over the same files, both in this one process of the product's architecture, and
// prints the ratio run / plain loop (median of several runs).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "dde/DdeMgr.h"
#include "engine/ScriptStore.h"
#include "engine/Unit3.h"
#include "ui/Application.h"

namespace {
double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

void WriteFileOfSize(const std::string& path, size_t size) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  std::vector<char> block(1 << 20, 'v');
  DWORD done;
  for (size_t left = size; left > 0;) {
    DWORD n = static_cast<DWORD>(std::min(left, block.size()));
    WriteFile(h, block.data(), n, &done, nullptr);
    left -= n;
  }
  CloseHandle(h);
}

void Wipe(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((dir + "\\" + fd.cFileName).c_str());
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Case {
  const char* name;
  int files;
  size_t size;
  const char* figure;  // the name of its ratio line, or nullptr for a case without one
};

double TimeRun(Tcopyfiles* dialog, const std::string& src, const std::string& dest,
               const std::string& script) {
  {
    HANDLE h = CreateFileA((src + "\\setup.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done;
    WriteFile(h, script.data(), static_cast<DWORD>(script.size()), &done, nullptr);
    CloseHandle(h);
  }
  TScriptStore ini;
  ini.Load(src + "\\setup.ini");
  Wipe(dest);
  PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
  double t0 = Now();
  dialog->Open(InstallInputs{src, dest, ini, ini.Line(1)});
  return Now() - t0;
}

double TimePlain(const std::string& src, const std::string& dest, int files) {
  Wipe(dest);
  double t0 = Now();
  for (int i = 0; i < files; ++i) {
    std::string name = "\\f" + std::to_string(i) + ".dat";
    CopyFileA((src + name).c_str(), (dest + name).c_str(), FALSE);
  }
  return Now() - t0;
}
}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
  // An optional second argument picks cases by their numbers of files ("2000", "20", "1", or
  // several joined by commas, "2000,20").
  const std::string only = argc > 2 ? "," + std::string(argv[2]) + "," : std::string();
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  const std::string root = std::string(tmp) + "velmora-bench";
  CreateDirectoryA(root.c_str(), nullptr);

  InitApplication();
  InitDdeManager();
  Tcopyfiles* dialog = nullptr;
  Application->CreateForm(dialog);

  // The one-file case shows the run's fixed cost: showing the dialog, the program group, the records.
  // Measured with a group server that answers every command at once, it is the run's own.
  const Case cases[] = {{"2000 files of 4 KiB", 2000, 4096, "small files"},
                        {"20 files of 32 MiB", 20, 32u << 20, "large files"},
                        {"one file of 16 B", 1, 16, nullptr}};
  std::vector<std::string> ratios;
  std::printf("%-22s %10s %10s %8s\n", "case", "run s", "plain s", "ratio");
  for (const Case& c : cases) {
    if (!only.empty() && only.find("," + std::to_string(c.files) + ",") == std::string::npos) continue;
    const std::string src = root + "\\src" + std::to_string(c.files);
    const std::string dest = root + "\\dest" + std::to_string(c.files);
    CreateDirectoryA(src.c_str(), nullptr);
    CreateDirectoryA(dest.c_str(), nullptr);
    // Each case its own location record: the run keeps one that names another destination.
    std::string script = "\\bench\r\nBench\r\nBench 1.0\r\nf0.dat\r\nvelmora_bench" +
                         std::to_string(c.files) + "\r\n:install\r\n";
    for (int i = 0; i < c.files; ++i) {
      std::string name = "f" + std::to_string(i) + ".dat";
      WriteFileOfSize(src + "\\" + name, c.size);
      script += name + "\r\n";
    }
    std::vector<double> run, plain;
    for (int r = 0; r < runs; ++r) {
      plain.push_back(TimePlain(src, dest, c.files));
      run.push_back(TimeRun(dialog, src, dest, script));
    }
    double mr = Median(run), mp = Median(plain);
    if (c.figure) {
      std::printf("%-22s %10.3f %10.3f %8.2f\n", c.name, mr, mp, mr / mp);
      char line[64];
      std::snprintf(line, sizeof line, "%s ratio %.2f", c.figure, mr / mp);
      ratios.push_back(line);
    } else {
      std::printf("%-22s %10.3f %10s %8s\n", c.name, mr, "-", "-");
      // A file of 16 bytes costs next to nothing to copy: the rest is the run's own.
      char line[64];
      std::snprintf(line, sizeof line, "fixed cost of a run %.0f ms", (mr - mp) * 1000);
      ratios.push_back(line);
    }
    char win[MAX_PATH];
    GetWindowsDirectoryA(win, MAX_PATH);
    DeleteFileA((std::string(win) + "\\velmora_bench" + std::to_string(c.files) + ".ini").c_str());
    Wipe(src);
    Wipe(dest);
    RemoveDirectoryA(src.c_str());
    RemoveDirectoryA(dest.c_str());
  }
  RemoveDirectoryA(root.c_str());
  for (const std::string& line : ratios) std::printf("%s\n", line.c_str());
  DoneApplication();
  return 0;
}
