#include "ui/Application.h"

#include <algorithm>

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "ui/Form.h"
#include "platform/Messages.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {
std::string TitleFromModule() {
  std::string name = NameBeforeFirstDot(ProgramFilePath());
  if (name.size() > 1) {
    std::string rest = name.substr(1);
    CharLowerBuffA(&rest[0], static_cast<DWORD>(rest.size()));
    name = name.substr(0, 1) + rest;
  }
  return name;
}

LRESULT CALLBACK AppWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      // A close request from the task bar closes the main window.
      try {
        if (Application && Application->MainForm()) Application->MainForm()->Close();
      } catch (...) {
        if (Application) Application->HandleCurrentException();
      }
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

struct ThreadWindows {
  HWND except;
  std::vector<HWND>* out;
  std::exception_ptr failure;  // raised inside the callback, passed on after the enumeration
};

BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM lp) {
  auto* tw = reinterpret_cast<ThreadWindows*>(lp);
  try {
    if (hwnd != tw->except && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
      tw->out->push_back(hwnd);
  } catch (...) {
    tw->failure = std::current_exception();
    return FALSE;
  }
  return TRUE;
}
}  // namespace

TApplication::TApplication() : TComponent(nullptr), title_(TitleFromModule()) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = AppWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = LoadIconA(wc.hInstance, "MAINICON");
  wc.lpszClassName = "TApplication";
  // A registration that fails (other than by an earlier one) shows as a failed creation below.
  RegisterClassA(&wc);
  handle_ = CreateWindowExA(0, wc.lpszClassName, title_.c_str(),
                            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                            nullptr, nullptr, wc.hInstance, nullptr);
  if (!handle_) throw Exception(LoadStr(SCreateWindowError));
}

TApplication::~TApplication() {
  BeginDestroy();
  if (handle_) ShowOwnedPopups(handle_, FALSE);
  DestroyComponents();
  if (handle_) DestroyWindow(handle_);
}

void TApplication::Run(const std::function<void()>& afterShowing) {
  if (mainForm_) {
    mainForm_->Show();
    // What the activation filled in is drawn now, not after the work below.
    if (mainForm_->HandleAllocated()) UpdateWindow(mainForm_->WindowHandle());
  }
  if (afterShowing) {
    // A program that is reading the window now is answered first.
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    afterShowing();
  }
  while (!terminated_) HandleMessage();
}

void TApplication::Terminate() { PostQuitMessage(0); }

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool taken = false;
  if (msg.message == WM_KEYDOWN) {
    TControl* c = TControl::FromHandle(msg.hwnd);
    if (!c) c = TControl::FromHandle(GetParent(msg.hwnd));
    if (c) {
      if (TForm* f = c->ParentForm()) {
        try {
          taken = f->PreProcessKey(msg);
        } catch (...) {
          HandleCurrentException();
          taken = true;
        }
      }
    }
  }
  if (!taken) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) WaitMessage();
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::HandleException(const std::exception& e) {
  if (dynamic_cast<const EAbort*>(&e)) return;
  ShowException(e.what());
}

void TApplication::HandleCurrentException() noexcept {
  try {
    try {
      throw;
    } catch (const std::exception& e) {
      HandleException(e);
    } catch (...) {
      ShowException(LoadStr(SUnknownError));
    }
  } catch (...) {
    // The error box itself failed (no memory left for it): nothing is left to report with.
  }
}

void TApplication::ShowException(const std::string& message) {
  MessageBox(message + ".", title_, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
  HWND active = GetActiveWindow();
  std::vector<HWND> disabled = DisableTaskWindows(nullptr);
  NormalizeTopMosts();
  int r = ::MessageBoxA(handle_, text.c_str(), caption.c_str(), flags | MB_TOPMOST | MB_SETFOREGROUND);
  RestoreTopMosts();
  EnableTaskWindows(disabled);
  if (active && IsWindow(active)) SetActiveWindow(active);
  return r;
}

std::vector<HWND> TApplication::DisableTaskWindows(HWND except) {
  std::vector<HWND> windows;
  ThreadWindows tw{except, &windows, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&tw));
  if (tw.failure) std::rethrow_exception(tw.failure);
  for (HWND h : windows) EnableWindow(h, FALSE);
  return windows;
}

void TApplication::EnableTaskWindows(const std::vector<HWND>& windows) {
  for (HWND h : windows)
    if (IsWindow(h)) EnableWindow(h, TRUE);
}

void TApplication::NormalizeTopMosts() {
  if (topMostsNormalized_) return;
  topMostsNormalized_ = true;
  normalized_.clear();
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TForm* f = Screen->Forms(i);
    HWND h = f->WindowHandle();
    if (f != mainForm_ && h && (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
      normalized_.push_back(h);
      SetWindowPos(h, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
}

void TApplication::RestoreTopMosts() {
  if (!topMostsNormalized_) return;
  topMostsNormalized_ = false;
  for (HWND h : normalized_)
    if (IsWindow(h))
      SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  normalized_.clear();
}

void TScreen::AddForm(TForm* f) { forms_.push_back(f); }

void TScreen::RemoveForm(TForm* f) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end());
  if (focusedForm_ == f) focusedForm_ = nullptr;
}

void TScreen::ControlFocused(TForm* form) {
  if (form == focusedForm_) return;
  TForm* old = focusedForm_;
  focusedForm_ = form;
  if (old) old->DoDeactivate();
  if (form) form->DoActivate();
}

void TScreen::SetCursor(TCursor c) {
  cursor_ = c;
  ::SetCursor(CursorHandle());
}

HCURSOR TScreen::CursorHandle() const {
  return LoadCursor(nullptr, cursor_ == crHourGlass ? IDC_WAIT : IDC_ARROW);
}

void InitApplication() {
  if (!Screen) Screen = new TScreen();
  if (!Application) Application = new TApplication();
}

void DoneApplication() {
  delete Application;
  Application = nullptr;
  delete Screen;
  Screen = nullptr;
}

int RunProgram(const char* caption, const std::function<void()>& body) {
  int code = 0;
  try {
    InitApplication();
    body();
  } catch (const std::exception& e) {
    if (Application) Application->HandleException(e);
    else MessageBoxA(nullptr, e.what(), caption, MB_OK | MB_ICONSTOP);
    code = 1;
  } catch (...) {
    if (Application) Application->HandleCurrentException();
    code = 1;
  }
  try {
    DoneApplication();
  } catch (...) {
    code = 1;  // nothing is left to report to at this point
  }
  return code;
}
