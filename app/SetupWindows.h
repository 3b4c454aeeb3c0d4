#pragma once
// The program's windows, as the program entry makes them and the start-up bench times them.
#include "setupcore/Switches.h"
#include "ui/RunReport.h"

// Makes the six windows hidden, each owned by the application object, in the order main, Open,
// copyfiles, deltemp, efolder, AboutBox (main is the application's main window), and gives them
// what they share for the whole run: the command line's switches, where the run's messages go,
// and the Start Menu programs folder that the main window lists and the records name. The DDE
// manager is to be made before, so that it comes first in the application's list.
void CreateSetupWindows(const setupcore::SetupSwitches& switches = setupcore::SetupSwitches(),
                        const TRunReport& report = TRunReport());
