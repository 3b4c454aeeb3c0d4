#pragma once
// Where a run's messages go: to message boxes, as a run by hand has them, and into the log when
// one is kept. A quiet run shows no box: its log holds what the box would have said, and each
// question takes the answer given for it.
#include <windows.h>

#include <memory>
#include <string>

class TTextLog;

class TRunReport {
public:
  TRunReport() = default;
  TRunReport(bool quiet, TTextLog* log) : quiet_(quiet), log_(log) {}

  bool Quiet() const { return quiet_; }
  // A step of the run, when a log is kept.
  void Log(const std::string& text) const;
  // The message, logged and, unless the run is quiet, shown with the program's title and
  // `flags`. The box's answer, or `quietAnswer` for a quiet run.
  int Tell(const std::string& text, UINT flags, int quietAnswer = IDOK) const;

private:
  bool quiet_ = false;
  TTextLog* log_ = nullptr;  // not owned; the program entry keeps it for the whole run
};

// The log a command line asks for (none for an empty path), opened before anything else so that
// even a refused command line is told in it. One that cannot be written is told in a box, unless
// the run is quiet, and `failed` is set.
std::unique_ptr<TTextLog> OpenRunLog(const std::string& path, bool quiet, bool& failed);

// A command line that was not understood: the error goes to the log and, unless the run is
// quiet, into a box with the usage.
void TellRefusedCommandLine(const TRunReport& report, const std::string& error,
                            const std::string& usage);
