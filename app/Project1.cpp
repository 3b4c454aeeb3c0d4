// The program entry: framework, DDE manager, the six windows, the message loop.
#include <windows.h>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit5.h"
#include "app/Unit6.h"
#include "dde/DdeMgr.h"
#include "engine/Unit3.h"
#include "engine/Unit4.h"
#include "ui/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunProgram("Setup", [] {
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
    Application->Run();
  });
}
