#pragma once
// remove.exe goes last. A program cannot delete its own running file, so a copy of it does that
// after this process has ended: it waits for the process (through a handle it inherits), deletes
// remove.exe, removes the destination when that is then empty, and leaves itself. remove.exe
// runs with administrator rights, and so does the copy: it is made where only administrators
// write (the Windows directory's Temp), under a new name of its own, written through the
// handle that made it, read back and held, sharing nothing but reading, until it has started.
// The copy is started holding an inherited handle to its own file opened for deletion on close,
// so the system deletes it when the copy ends; where a system keeps a running program's file
// despite that, the copy also marks itself for deletion at the next start of the system.
#include <string>

#include "setupcore/RemovePlan.h"

// Makes the copy; false with the reason when it cannot be made.
bool PrepareCleanUp(const TRemovePlaces& places, std::string& reason);
// Starts the prepared copy, if there is one; called once the removal is over. False, with the
// system's reason, when a prepared copy could not be started: remove.exe then stays.
bool StartCleanUp(std::string& reason);
// The copy's whole work; returns its exit code (2 for a call that is not the copy's to honour).
int RunCleanUp(const TCleanUpArgs& args);
