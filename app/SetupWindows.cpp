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
  velmora::main->programsDir = StartMenuProgramsDirectory();
}

void CreateLaterWindows() {
  InitDdeManager();
  Application->CreateForm(velmora::Open);
  Application->CreateForm(velmora::copyfiles);
  Application->CreateForm(velmora::deltemp);
  Application->CreateForm(velmora::efolder);
  Application->CreateForm(velmora::AboutBox);
  velmora::copyfiles->report = velmora::main->report;
  velmora::copyfiles->programsDir = velmora::main->programsDir;
}

void CreateSetupWindows(const setupcore::SetupSwitches& switches, const TRunReport& report) {
  CreateMainWindow(switches, report);
  CreateLaterWindows();
}
