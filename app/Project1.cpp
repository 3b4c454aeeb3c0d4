// The program entry: the command line, framework, DDE manager, the six windows, the message loop
// or, for an unattended run, the installation straight away.
#include <windows.h>

#include "app/SetupWindows.h"
#include "app/Unit1.h"
#include "dde/DdeMgr.h"
#include "engine/EngineText.h"
#include "setupcore/Switches.h"
#include "ui/Application.h"
#include "platform/Errors.h"
#include "ui/RunStart.h"

namespace {
using namespace setupcore;

// The run the command line asks for once its start lets it go on; its exit code.
int RunSetup(const SetupSwitches& sw, const TRunReport& report) {
  // The DDE manager comes before the first window and is owned by the application object.
  InitDdeManager();
  CreateSetupWindows(sw, report);
  if (!report.Quiet()) {
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
  const int failed = RunProgram("Setup", [&code] {
    code = RunCommandLine(
        {ParseSetupSwitches, SetupUsage(), EngineText(kLogCommandLine, GetCommandLineA()),
         EngineText(kLogNothingChanged), kSetupNothingChanged, kSetupInstalled}, RunSetup);
  });
  return failed ? failed : code;
}
