#pragma once
// The program's windows, as the program entry makes them and the start-up bench times them.
#include "setupcore/Switches.h"
#include "ui/RunReport.h"

// Makes the main window, hidden, as the application's main window, and gives it what it needs
// for the whole run: the command line's switches and where the run's messages go. Its first
// activation leaves the Start Menu folders to CreateLaterWindows.
void CreateMainWindow(const setupcore::SetupSwitches& switches, const TRunReport& report);

// Finds the Start Menu programs folder, which the main window lists and the records name; makes
// what the main window opens, hidden, each owned by the application object: the DDE manager
// (which answers conversations on any window's caption as their topic, so it comes before them),
// then Open, copyfiles, deltemp, efolder and AboutBox, and gives copyfiles what it shares with
// the main window; then lists the folders, if the main window has been filled already. A run by
// hand makes them once the main window shows.
void CreateLaterWindows();

// Both of the above at once, as an unattended run needs them.
void CreateSetupWindows(const setupcore::SetupSwitches& switches = setupcore::SetupSwitches(),
                        const TRunReport& report = TRunReport());
