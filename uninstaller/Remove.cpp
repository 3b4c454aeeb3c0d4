// The uninstaller's entry: either the clean-up copy's work, or the framework, the DDE manager,
// the three windows and the message loop over the records beside remove.exe.
#include <windows.h>

#include "dde/DdeMgr.h"
#include "ui/Application.h"
#include "uninstaller/CleanUp.h"
#include "uninstaller/Confirm.h"
#include "uninstaller/Records.h"
#include "uninstaller/RemoveText.h"
#include "uninstaller/Removing.h"
#include "uninstaller/SharedFile.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TCleanUpArgs cleanUp;
  if (ParseCleanUpCommandLine(GetCommandLineA(), cleanUp)) return RunCleanUp(cleanUp);

  const int code = RunProgram("Remove", [] {
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
    if (!unreadable.empty()) {
      Application->MessageBox(RemoveText(kRecordUnreadable, unreadable) + ".", Application->Title(),
                              MB_OK | MB_ICONSTOP);
    } else if (velmora::removing->records.Empty()) {
      Application->MessageBox(RemoveText(kNothingToRemove) + ".", Application->Title(),
                              MB_OK | MB_ICONINFORMATION);
    } else {
      const std::vector<std::string>& unin = velmora::removing->records.uninstall;
      velmora::confirm->SetProduct(unin.empty() ? places.destination : unin[0]);
      Application->Run();
    }
  });
  StartCleanUp();
  return code;
}
