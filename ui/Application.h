#pragma once
// The application object (title, hidden owner window, message loop, error box) and the screen
// object (the list of windows, the focused window, the cursor).
#include <windows.h>

#include <exception>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "ui/Component.h"

class TForm;

class TApplication : public TComponent {
public:
  TApplication();
  ~TApplication() override;

  // The program file's name without its directory, cut at its first full stop, every letter
  // after the first in lower case.
  const std::string& Title() const { return title_; }
  HWND Handle() const { return handle_; }
  TForm* MainForm() const { return mainForm_; }
  bool Terminated() const { return terminated_; }

  // Constructs a window owned by the application; the reference is set before construction
  // begins. The first window made becomes the main window.
  template <class T>
  void CreateForm(T*& reference) {
    void* memory = ::operator new(sizeof(T));
    reference = static_cast<T*>(memory);
    bool first = (mainForm_ == nullptr);
    try {
      new (memory) T(this);
    } catch (...) {
      reference = nullptr;
      ::operator delete(memory);
      throw;
    }
    if (first) mainForm_ = reference;
  }
  void SetMainForm(TForm* form) { mainForm_ = form; }

  // Shows the main window and takes messages until the program ends. `afterShowing`, when
  // given, runs once the main window is shown, filled and drawn, before any input is taken: the
  // work that shows nothing waits until the person sees the window.
  void Run(const std::function<void()>& afterShowing = nullptr);
  void Terminate();
  // Takes and handles one message, or waits when none is queued.
  void HandleMessage();
  // Handles every queued message and returns.
  void ProcessMessages();

  // The error box: the message followed by ".", the title as caption, a stop icon, OK.
  void HandleException(const std::exception& e);
  // The same for the error being handled; for a catch (...) in a callback of the system, which
  // no error may leave.
  void HandleCurrentException() noexcept;
  void ShowException(const std::string& message);
  // A message box owned by the application window, other windows disabled meanwhile.
  int MessageBox(const std::string& text, const std::string& caption, UINT flags);

  // Stay-on-top windows drop their topmost state while the program is not the active one.
  void NormalizeTopMosts();
  void RestoreTopMosts();

  // Windows disabled around a modal showing or a message box.
  std::vector<HWND> DisableTaskWindows(HWND except);
  void EnableTaskWindows(const std::vector<HWND>& windows);

private:
  bool ProcessMessage(MSG& msg);

  std::string title_;
  HWND handle_ = nullptr;
  TForm* mainForm_ = nullptr;  // not owned (owned as a component)
  bool terminated_ = false;
  bool topMostsNormalized_ = false;
  std::vector<HWND> normalized_;
};

enum TCursor { crDefault = 0, crHourGlass = -11 };

class TScreen : public TComponent {
public:
  TScreen() : TComponent(nullptr) {}

  int FormCount() const { return static_cast<int>(forms_.size()); }
  TForm* Forms(int i) const { return forms_.at(i); }
  void AddForm(TForm* f);
  void RemoveForm(TForm* f);

  // The window that last received the keyboard focus in one of its controls.
  TForm* FocusedForm() const { return focusedForm_; }
  void SetFocusedForm(TForm* f) { focusedForm_ = f; }
  // A control received the focus: its window becomes the focused window, firing the
  // deactivation and activation events when that is a change.
  void ControlFocused(TForm* form);

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c);
  HCURSOR CursorHandle() const;

private:
  std::vector<TForm*> forms_;  // not owned; creation order
  TForm* focusedForm_ = nullptr;
  TCursor cursor_ = crDefault;
};

extern TApplication* Application;
extern TScreen* Screen;

// Creates the screen and application objects (the first step of the program entry).
void InitApplication();
// Destroys what the application owns, the last first, then the two objects.
void DoneApplication();
// A program's entry around its own steps: starts the application objects, runs `body`, and
// ends them again. An error that escapes `body` is shown (in a plain box titled `caption` when
// it came before the application object) and makes the exit code 1, as does one in the end.
int RunProgram(const char* caption, const std::function<void()>& body);
