#pragma once
// remove.exe goes last. A program cannot delete its own running file, so a copy of it in the
// temporary folder does that after this process has ended: it waits for the process (through a
// handle it inherits), deletes remove.exe, removes the destination when that is then empty, and
// leaves itself. The copy is started holding an inherited handle to its own file opened for
// deletion on close, so the system deletes it when the copy ends; where a system keeps a
// running program's file despite that, the copy also marks itself for deletion at the next
// start of the system.
#include <string>

#include "setupcore/RemovePlan.h"

// Makes the copy; false with the system's reason when it cannot be made.
bool PrepareCleanUp(const TRemovePlaces& places, std::string& reason);
// Starts the prepared copy, if there is one; called as the program's last step.
void StartCleanUp();
// The copy's whole work; returns its exit code.
int RunCleanUp(const TCleanUpArgs& args);
