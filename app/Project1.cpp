// The program entry: the command line, framework, the windows and DDE manager, the message loop
// or, for an unattended run, the installation straight away.
#include <windows.h>

#include "app/SetupWindows.h"
#include "app/Unit1.h"
#include "engine/EngineText.h"
#include "platform/DllSearch.h"
#include "setupcore/Switches.h"
#include "ui/Application.h"
#include "platform/Errors.h"
#include "ui/RunStart.h"

namespace {
using namespace setupcore;

// The run the command line asks for once its start lets it go on; its exit code.
int RunSetup(const SetupSwitches& sw, const TRunReport& report) {
  if (!report.Quiet()) {
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
  // Before anything loads a DLL: a file of a system DLL's name lying beside setup.exe would
  // otherwise run with the administrator's rights the program is started with.
  SearchDllsInTheSystemOnly();
  int code = 0;
  const int failed = RunProgram("Setup", [&code] {
    code = RunCommandLine(
        {ParseSetupSwitches, SetupUsage(), EngineText(kLogCommandLine, GetCommandLineA()),
         EngineText(kLogNothingChanged), kSetupNothingChanged, kSetupInstalled}, RunSetup);
  });
  return failed ? failed : code;
}
