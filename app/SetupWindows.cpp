#include "app/SetupWindows.h"

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit5.h"
#include "app/Unit6.h"
#include "engine/Unit3.h"
#include "engine/Unit4.h"
#include "engine/WindowsDir.h"
#include "ui/Application.h"

void CreateSetupWindows(const setupcore::SetupSwitches& switches, const TRunReport& report) {
  Application->CreateForm(velmora::main);
  Application->CreateForm(velmora::Open);
  Application->CreateForm(velmora::copyfiles);
  Application->CreateForm(velmora::deltemp);
  Application->CreateForm(velmora::efolder);
  Application->CreateForm(velmora::AboutBox);
  const std::string programs = StartMenuProgramsDirectory();
  velmora::main->switches = switches;
  velmora::main->report = report;
  velmora::main->programsDir = programs;
  velmora::copyfiles->report = report;
  velmora::copyfiles->programsDir = programs;
}
