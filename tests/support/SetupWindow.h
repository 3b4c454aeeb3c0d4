#pragma once
// The shipped setup.exe worked from outside as a person works it: where the main window's
// controls are (a point inside each, in client coordinates; the window lays them out at fixed
// places), and the steps of an installation through the window.
#include <windows.h>

#include <string>

#include "driver/Driver.h"
#include "support/Program.h"

namespace mainwin {
struct Spot {
  int x, y;
};
const Spot kTitleLabel{60, 70};
const Spot kSourceLabel{70, 198};
const Spot kSource{74, 216};
const Spot kDestination{74, 264};
const Spot kDestinationBrowse{344 + 12, 248 + 12};
const Spot kFolder{74, 306};
const Spot kAbout{8 + 37, 328 + 12};
const Spot kInstall{248 + 37, 328 + 12};
const Spot kExit{344 + 37, 328 + 12};

// The Installing dialog's message line, the Start Menu prompt's text, the About box's version.
const Spot kInstallingMessage{8 + 5, 16 + 5};
const Spot kPromptText{20, 20};
const Spot kAboutVersion{8 + 88 + 5, 8 + 40 + 5};

// The control at that spot of the window `w`; throws drv::Error when there is none.
inline HWND At(HWND w, Spot s) { return drv::RequireControlAt(w, s.x, s.y); }
inline std::string TextAt(HWND w, Spot s) { return drv::Text(At(w, s)); }
// Waits until the control at that spot reads `text`; throws drv::Error when it does not.
inline void WaitText(HWND w, Spot s, const std::string& text,
                     DWORD timeoutMs = drv::kDefaultTimeoutMs) {
  drv::WaitText(w, s.x, s.y, text, timeoutMs);
}
const char kCaption[] = "The Velmora Installer V1.00";

// The button of `window` with that text once the window has made it and takes input: a window is
// on the screen a moment before its controls are, and after an error box it takes input again a
// moment after the box has gone. Throws drv::Error when it does not come.
HWND ButtonWhenMade(HWND window, const std::string& text);

// Waits for the main window of `program` and until it shows `source`, the product directory, as
// the source: a person waits until the window is filled in. Throws drv::Error when it does not.
HWND Started(RunningProgram& program, const std::string& source);
// Waits until the Installing dialog of `program` says it is done, presses Done and waits for the
// program to end; false when it does not end. Throws drv::Error when the dialog does not get there.
bool FinishInstall(RunningProgram& program, DWORD timeoutMs = 30000);
}  // namespace mainwin
