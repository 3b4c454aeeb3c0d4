// The program entry: the command line, framework, DDE manager, the six windows, the message loop
// or, for an unattended run, the installation straight away.
#include <windows.h>

#include <memory>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit5.h"
#include "app/Unit6.h"
#include "dde/DdeMgr.h"
#include "engine/EngineText.h"
#include "engine/Unit3.h"
#include "engine/Unit4.h"
#include "engine/WindowsDir.h"
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
  // The DDE manager comes before the first window and is owned by the application object.
  InitDdeManager();
  Application->CreateForm(velmora::main);
  Application->CreateForm(velmora::Open);
  Application->CreateForm(velmora::copyfiles);
  Application->CreateForm(velmora::deltemp);
  Application->CreateForm(velmora::efolder);
  Application->CreateForm(velmora::AboutBox);
  // The run reads the script and the two directory boxes of the main window.
  velmora::copyfiles->ini = &velmora::main->ini;
  velmora::copyfiles->s = velmora::main->s;
  velmora::copyfiles->d = velmora::main->d;
  velmora::deltemp->s = velmora::main->s;
  // The folder list and the records name the same folder, the one the shell keeps groups in.
  const std::string programs = StartMenuProgramsDirectory();
  velmora::main->switches = sw;
  velmora::main->report = report;
  velmora::main->programsDir = programs;
  velmora::copyfiles->report = report;
  velmora::copyfiles->programsDir = programs;
  if (!quiet) {
    Application->Run();
    return kSetupInstalled;  // a run by hand ends as it always did
  }
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
