// The program entry: the command line, framework, the windows and DDE manager, the message loop
// or, for an unattended run, the installation straight away.
#include <windows.h>

#include <memory>

#include "app/SetupWindows.h"
#include "app/Unit1.h"
#include "engine/EngineText.h"
#include "setupcore/Switches.h"
#include "ui/Application.h"
#include "platform/Errors.h"
#include "ui/RunReport.h"
#include "platform/TextLog.h"

namespace {
using namespace setupcore;

// The run the command line asks for; its exit code.
int RunSetup() {
  SetupSwitches sw;
  std::string error;
  const bool understood = ParseSetupSwitches(GetCommandLineA(), sw, error);
  const bool quiet = sw.quiet != Quietness::interactive;
  // Opened first, so that even a refused command line is told in it.
  bool logFailed = false;
  const std::unique_ptr<TTextLog> log = OpenRunLog(sw.log, quiet, logFailed);
  if (logFailed) return kSetupNothingChanged;
  const TRunReport report(quiet, log.get());
  report.Log(EngineText(kLogCommandLine, GetCommandLineA()));
  if (!understood) {
    TellRefusedCommandLine(report, error, SetupUsage());
    report.Log(EngineText(kLogNothingChanged));
    return kSetupNothingChanged;
  }
  if (sw.usage) {
    Application->MessageBox(SetupUsage(), Application->Title(), MB_OK | MB_ICONINFORMATION);
    return kSetupInstalled;
  }
  if (!quiet) {
    // The person sees the main window first; what it opens is made while they read it.
    CreateMainWindow(sw, report);
    Application->Run(CreateLaterWindows);
    return kSetupInstalled;  // a run by hand ends as it always did
  }
  CreateSetupWindows(sw, report);
  const int code = velmora::main->InstallUnattended(sw.quiet == Quietness::silent);
  static const EngineTextId kEnd[] = {kLogInstalled, kLogNothingChanged, kLogInstalledWithFailures};
  report.Log(EngineText(kEnd[code]));
  return code;
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int code = 0;
  const int failed = RunProgram("Setup", [&code] { code = RunSetup(); });
  return failed ? failed : code;
}
