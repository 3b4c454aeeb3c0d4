#pragma once
// Works a running program from another process, as a person would: finds its windows by caption
// and its controls by where they stand, reads and types text, clicks, answers message boxes and
// presses keys. Everything goes through the ordinary window messages, so the program under test
// cannot tell the driver from a person at the keyboard.
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace drv {

// Every failure of the driver: a window that does not appear, no control at a place, a control
// that does not answer. The message says what was looked for.
class Error : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

constexpr DWORD kDefaultTimeoutMs = 10000;

// Top-level windows --------------------------------------------------------------------------

// The visible top-level window whose caption is exactly `caption`, of process `pid` when that
// is not 0; nullptr when there is none. Hidden windows do not count: a person cannot see them.
HWND FindWindowByCaption(const std::string& caption, DWORD pid = 0);
// Every visible top-level window, topmost first, for telling what is on the screen.
struct WindowInfo {
  HWND hwnd;
  std::string caption, className;
  DWORD pid;
};
std::vector<WindowInfo> VisibleWindows();
// Polls for such a window; throws Error when none appears within the time.
HWND WaitWindow(const std::string& caption, DWORD timeoutMs = kDefaultTimeoutMs, DWORD pid = 0);
// Polls until no such window is visible; throws Error when one is still there after the time.
void WaitGone(const std::string& caption, DWORD timeoutMs = kDefaultTimeoutMs, DWORD pid = 0);

// Controls -----------------------------------------------------------------------------------

// The deepest visible control at a client position of `top`, given in pixels at 96 pixels per
// inch and scaled to the screen's resolution; nullptr when nothing but `top` itself is there.
// A combo box counts as one control: its edit field is not returned on its own.
HWND ControlAt(HWND top, int x, int y);
// As ControlAt, but throws Error naming the position when nothing is there.
HWND RequireControlAt(HWND top, int x, int y);

std::string ClassNameOf(HWND hwnd);
std::string Text(HWND hwnd);
void SetText(HWND hwnd, const std::string& text);
// Polls until the text of the control at (x, y) of `top` reads `text`; the control is looked up
// again on every round, since a label sized to its text may not be there yet. Throws Error,
// naming the last text seen, when the time runs out.
void WaitText(HWND top, int x, int y, const std::string& text,
              DWORD timeoutMs = kDefaultTimeoutMs);

// A click as a person makes it. Push buttons get BM_CLICK; other controls, such as picture
// buttons, a press and release of the left mouse button at their centre. The messages are
// posted, so a click that opens a modal window does not hold the caller. Throws Error for a
// control that is hidden or disabled, or that lies in a disabled window.
void Click(HWND hwnd);

// The item texts of a list box or a combo box, and the selected index (-1 for none).
std::vector<std::string> Items(HWND hwnd);
int SelectedIndex(HWND hwnd);

// Message boxes and dialogs -------------------------------------------------------------------

// A visible dialog box (window class "#32770") with the caption, waited for.
HWND WaitDialog(const std::string& caption, DWORD timeoutMs = kDefaultTimeoutMs, DWORD pid = 0);
// The message of a message box: the text of its static control that is not the icon.
std::string MessageText(HWND box);
// Finds the button of `window` (at any depth) whose text, without '&' marks, is `text`.
HWND FindButton(HWND window, const std::string& text);
// Clicks the button with that text or that control id.
void PressButton(HWND window, const std::string& text);
void PressButton(HWND window, int id);

// Keys and closing -----------------------------------------------------------------------------

enum class Key { Enter, Escape, Space, Tab };
// Parses "enter", "escape"/"esc", "space", "tab" (any case); throws Error for another name.
Key ParseKey(const std::string& name);
// Posts a key press (down, character, up) to the control, as the keyboard would deliver it.
void PressKey(HWND hwnd, Key key);
// Asks the window to close, as its close box would.
void Close(HWND top);

// Processes ------------------------------------------------------------------------------------

// Waits until the process ends; false when it is still running after the time.
bool WaitProcess(HANDLE process, DWORD timeoutMs);
// The same for a process id; a process that cannot be opened counts as ended.
bool WaitProcessId(DWORD pid, DWORD timeoutMs);
DWORD ProcessOf(HWND hwnd);

}  // namespace drv
