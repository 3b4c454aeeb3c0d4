// The uninstaller's entry: either the clean-up copy's work, or the command line, the framework,
// the DDE manager, the three windows and the message loop over the records beside remove.exe
// or, for an unattended run, the removal straight away.
#include <windows.h>

#include "dde/DdeMgr.h"
#include "platform/DllSearch.h"
#include "setupcore/Switches.h"
#include "ui/Application.h"
#include "platform/Errors.h"
#include "ui/RunStart.h"
#include "uninstaller/CleanUp.h"
#include "uninstaller/Confirm.h"
#include "uninstaller/Records.h"
#include "uninstaller/RemoveText.h"
#include "uninstaller/Removing.h"
#include "uninstaller/SharedFile.h"

namespace {
using namespace setupcore;

// The run the command line asks for once its start lets it go on; its exit code.
int RunRemove(const RemoveSwitches& sw, const TRunReport& report) {
  InitDdeManager();
  Application->CreateForm(velmora::confirm);
  Application->CreateForm(velmora::removing);
  Application->CreateForm(velmora::shared);
  TRemovePlaces places = SystemPlaces();
  // Nothing here may keep the destination from going at the end.
  SetCurrentDirectoryA(places.windowsDir.c_str());
  std::string unreadable;
  velmora::removing->records = LoadRecords(places, unreadable);
  velmora::removing->places = places;
  velmora::removing->report = report;
  int code = kRemoveNothingChanged;
  if (!unreadable.empty()) {
    report.Tell(RemoveText(kRecordUnreadable, unreadable) + ".", MB_OK | MB_ICONSTOP);
  } else if (velmora::removing->records.Empty()) {
    report.Tell(RemoveText(kNothingToRemove) + ".", MB_OK | MB_ICONINFORMATION);
  } else if (places.locationRecord.empty()) {
    // Every line of unin.ini starts with the destination as the location record spells it:
    // without the record, this folder cannot be told to be the one they name, and unin.ini is
    // not this run's to judge.
    report.Tell(RemoveText(kNoLocationRecord, places.destination) + ".", MB_OK | MB_ICONSTOP);
  } else if (!report.Quiet()) {
    const std::vector<std::string>& unin = velmora::removing->records.uninstall;
    velmora::confirm->SetProduct(unin.empty() ? places.destination : unin[0]);
    Application->Run();
  } else {
    code = velmora::removing->RemoveUnattended(sw.quiet == Quietness::silent);
  }
  // The copy that takes remove.exe away starts once the windows are done with.
  std::string reason;
  const bool cleanUpStarted = StartCleanUp(reason);
  if (!cleanUpStarted) {
    report.Tell(RemoveText(kCleanUpNotStarted, reason) + ".", MB_OK | MB_ICONSTOP);
    code = kRemoveSomethingLeft;
  }
  // A run by hand ends as it always did, unless remove.exe could not go.
  if (!report.Quiet()) return cleanUpStarted ? kRemoveAllRemoved : kRemoveSomethingLeft;
  static const RemoveTextId kEnd[] = {kLogAllRemoved, kLogNothingRemoved, kLogSomethingLeft};
  report.Log(RemoveText(kEnd[code]));
  return code;
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // First, for the clean-up copy too: remove.exe runs from the destination, where a file of a
  // system DLL's name may have been left.
  SearchDllsInTheSystemOnly();
  // The clean-up copy's command line is its own, read before any switch.
  TCleanUpArgs cleanUp;
  if (ParseCleanUpCommandLine(GetCommandLineA(), cleanUp)) return RunCleanUp(cleanUp);

  int code = 0;
  const int failed = RunProgram("Remove", [&code] {
    code = RunCommandLine(
        {ParseRemoveSwitches, RemoveUsage(), RemoveText(kLogCommandLine, GetCommandLineA()),
         RemoveText(kLogNothingRemoved), kRemoveNothingChanged, kRemoveAllRemoved}, RunRemove);
  });
  return failed ? failed : code;
}
