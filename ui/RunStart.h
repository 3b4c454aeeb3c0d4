#pragma once
// The start every program's run shares, before any window: the switches read from the command
// line, the log they ask for, the command line in it, then a refused command line or the usage,
// either of which ends the run there.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/TextLog.h"
#include "setupcore/Switches.h"
#include "ui/Application.h"
#include "ui/RunReport.h"

// A program's own part in that start: its parser, its texts and its exit codes.
template <class Switches>
struct TProgramCommandLine {
  bool (*parse)(const std::string& commandLine, Switches& switches, std::string& error);
  std::string usage;           // what /? shows, and what follows a refused command line
  std::string logCommandLine;  // the log's first line, with the command line
  std::string logNothingDone;  // the log's last line after a refused command line
  int nothingDone;             // the exit code after a refusal or a log that cannot be written
  int usageShown;              // the exit code after the usage
};

// The run the program's command line asks for: the start, then, unless it ends the run, `run`
// with the switches and the report, for as long as the log stays open. The run's exit code.
template <class Switches>
int RunCommandLine(const TProgramCommandLine<Switches>& program,
                   int (*run)(const Switches& sw, const TRunReport& report)) {
  Switches sw;
  std::string error;
  const bool understood = program.parse(GetCommandLineA(), sw, error);
  const bool quiet = sw.quiet != setupcore::Quietness::interactive;
  // Opened first, so that even a refused command line is told in it.
  bool logFailed = false;
  const std::unique_ptr<TTextLog> log = OpenRunLog(sw.log, quiet, logFailed);
  if (logFailed) return program.nothingDone;
  const TRunReport report(quiet, log.get());
  report.Log(program.logCommandLine);
  if (!understood) {
    TellRefusedCommandLine(report, error, program.usage);
    report.Log(program.logNothingDone);
    return program.nothingDone;
  }
  if (sw.usage) {
    Application->MessageBox(program.usage, Application->Title(), MB_OK | MB_ICONINFORMATION);
    return program.usageShown;
  }
  return run(sw, report);
}
