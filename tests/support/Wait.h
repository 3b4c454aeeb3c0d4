#pragma once
// Waiting for another process or this thread's own windows; reading what a call throws, too.
#include <windows.h>

#include <string>

#include "support/Thrown.h"

// Handles this thread's messages for `ms` milliseconds.
void PumpMessages(DWORD ms);

// Waits until `done` holds or `timeoutMs` has passed, handling this thread's messages meanwhile
// (harmless where the thread has no windows, needed where its own DDE side or dialog must answer);
// returns `done()`.
template <class Pred>
bool WaitUntil(Pred done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    PumpMessages(10);
  }
  return true;
}
