#include "support/Program.h"

#include "engine/WindowsDir.h"

#include <tlhelp32.h>

#include <stdexcept>
#include <vector>

#include "support/Files.h"

namespace {
// A directory named by the environment; ctest hands the Unix path, and Wine maps the Unix root
// to drive Z.
bool DirFromEnvironment(const char* name, std::string& dir) {
  char buf[MAX_PATH];
  DWORD n = GetEnvironmentVariableA(name, buf, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return false;
  dir.assign(buf, n);
  if (!dir.empty() && dir[0] == '/') {
    for (char& c : dir)
      if (c == '/') c = '\\';
    dir = "Z:" + dir;
  }
  return true;
}
}  // namespace

std::string BuildDir() {
  std::string dir;
  if (DirFromEnvironment("VELMORA_BIN", dir)) return dir;
  std::string exe = ExeDirectory();
  return exe.substr(0, exe.find_last_of('\\'));
}

std::string ProductBuildDir() {
  std::string dir;
  return DirFromEnvironment("VELMORA_PRODUCT", dir) ? dir : BuildDir();
}

std::string ProductExe(const std::string& name) { return ProductBuildDir() + "\\" + name + ".exe"; }
std::string ToolExe(const std::string& name) { return BuildDir() + "\\tools\\" + name + ".exe"; }

RunningProgram::RunningProgram(const std::string& exe, const std::string& args,
                               const std::string& workDir) {
  std::string cmd = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
  std::vector<char> line(cmd.begin(), cmd.end());
  line.push_back('\0');
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workDir.empty() ? nullptr : workDir.c_str(), &si, &pi_))
    throw std::runtime_error("cannot start " + cmd);
}

RunningProgram::~RunningProgram() {
  if (pi_.hProcess) {
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) Kill();
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
  }
}

bool RunningProgram::WaitExit(DWORD timeoutMs) {
  return WaitForSingleObject(pi_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD RunningProgram::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

void RunningProgram::Kill() {
  TerminateProcess(pi_.hProcess, 99);
  WaitForSingleObject(pi_.hProcess, 5000);
}

ProductDir::ProductDir(const std::string& setupIni, bool withScript) {
  TempDir probe("product");
  path_ = probe.Path() + "p";
  CreateDirectoryA(path_.c_str(), nullptr);
  if (!CopyFileA(ProductExe("setup").c_str(), (path_ + "\\SETUP.EXE").c_str(), FALSE))
    throw std::runtime_error("cannot copy " + ProductExe("setup"));
  if (withScript) WriteFileBytes(path_ + "\\setup.ini", setupIni);
}

ProductDir::~ProductDir() { RemoveTree(path_); }

RunningProgram* ProductDir::Start() { return new RunningProgram(path_ + "\\SETUP.EXE", "", path_); }

std::string StartMenuPrograms() { return StartMenuProgramsDirectory(); }

std::vector<ChildProcess> ChildProcesses(DWORD parent) {
  std::vector<ChildProcess> out;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return out;
  PROCESSENTRY32 e = {};
  e.dwSize = sizeof e;
  for (BOOL more = Process32First(snap, &e); more; more = Process32Next(snap, &e))
    if (e.th32ParentProcessID == parent && e.th32ProcessID != parent)
      out.push_back({e.th32ProcessID, e.szExeFile});
  CloseHandle(snap);
  return out;
}

void EndProcess(DWORD id) {
  HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
  if (!h) return;
  TerminateProcess(h, 99);
  WaitForSingleObject(h, 5000);
  CloseHandle(h);
}
