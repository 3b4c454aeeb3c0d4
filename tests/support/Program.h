#pragma once
// Starts the real installer (the test build's setup.exe) in a product directory of a test's own,
// and makes sure it is gone when the test ends.
#include <windows.h>

#include <string>
#include <vector>

// The build tree's programs: VELMORA_BIN, or the directory above the test program.
std::string BuildDir();
// The shipped programs (setup.exe and those beside it): the i686 build that VELMORA_PRODUCT
// names, or this build tree when it is not set.
std::string ProductBuildDir();
std::string ProductExe(const std::string& name);
std::string ToolExe(const std::string& name);

class RunningProgram {
public:
  // Starts `exe` with `args` in `workDir`.
  RunningProgram(const std::string& exe, const std::string& args, const std::string& workDir);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  DWORD Id() const { return pi_.dwProcessId; }
  HANDLE Process() const { return pi_.hProcess; }
  bool WaitExit(DWORD timeoutMs);
  DWORD ExitCode() const;
  void Kill();

private:
  PROCESS_INFORMATION pi_ = {};
};

// A product directory: setup.exe copied in, setup.ini written, more files as a test adds them.
class ProductDir {
public:
  explicit ProductDir(const std::string& setupIni, bool withScript = true);
  ~ProductDir();
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
  RunningProgram* Start();

private:
  std::string path_;
};

// The Start Menu programs folder that the installer lists, the records name and the shell keeps
// its groups in.
std::string StartMenuPrograms();

// The processes that `parent` started and that still run: id and program file name.
struct ChildProcess {
  DWORD id;
  std::string exe;
};
std::vector<ChildProcess> ChildProcesses(DWORD parent);
// Ends one process by its id and waits for it to be gone.
void EndProcess(DWORD id);
