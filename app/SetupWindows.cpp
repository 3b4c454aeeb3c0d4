#include "app/SetupWindows.h"

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit5.h"
#include "app/Unit6.h"
#include "dde/DdeMgr.h"
#include "engine/Unit3.h"
#include "engine/Unit4.h"
#include "engine/WindowsDir.h"
#include "ui/Application.h"

void CreateMainWindow(const setupcore::SetupSwitches& switches, const TRunReport& report) {
  Application->CreateForm(velmora::main);
  velmora::main->switches = switches;
  velmora::main->report = report;
  velmora::main->listFoldersLater = true;
}

void CreateLaterWindows() {
  Tmain* main = velmora::main;
  main->programsDir = StartMenuProgramsDirectory();
  InitDdeManager();
  Application->CreateForm(velmora::Open);
  Application->CreateForm(velmora::copyfiles);
  Application->CreateForm(velmora::deltemp);
  Application->CreateForm(velmora::efolder);
  Application->CreateForm(velmora::AboutBox);
  velmora::copyfiles->report = main->report;
  velmora::copyfiles->programsDir = main->programsDir;
  // Last, so that every window is there before an error box could take input: the folders the
  // first activation left, when it got that far.
  main->listFoldersLater = false;
  if (main->Prepared()) {
    try {
      main->ListStartMenuFolders();
    } catch (...) {
      Application->HandleCurrentException();
    }
  }
}

void CreateSetupWindows(const setupcore::SetupSwitches& switches, const TRunReport& report) {
  CreateMainWindow(switches, report);
  CreateLaterWindows();
}
