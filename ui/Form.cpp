#include "ui/Form.h"

#include "ui/Application.h"
#include "platform/Errors.h"
#include "platform/Messages.h"
#include "platform/ScopeExit.h"

namespace {
// The activation events a modal showing sends directly to its window.
const UINT CM_ACTIVATE = WM_APP + 0x100;
const UINT CM_DEACTIVATE = WM_APP + 0x101;
const UINT CM_RELEASE = WM_APP + 0x102;
// The resolution that window definitions give their positions, sizes and fonts in.
const int kDesignDpi = 96;

DWORD FormStyleBits(const TFormDef& def) {
  if (def.border == bsDialog)
    return WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_CLIPCHILDREN | (def.systemMenu ? WS_SYSMENU : 0);
  return WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN |
         (def.systemMenu ? WS_SYSMENU : 0) | (def.minMaxBoxes ? WS_MINIMIZEBOX | WS_MAXIMIZEBOX : 0);
}

DWORD FormExStyleBits(const TFormDef& def) {
  return (def.border == bsDialog ? WS_EX_DLGMODALFRAME : 0) |
         (def.style == fsStayOnTop ? WS_EX_TOPMOST : 0);
}
}  // namespace

TForm::TForm(TComponent* owner, const TFormDef& def) : TWinControl(owner), def_(def) {
  text_ = def.caption;
  font_ = def.font;
  visible_ = false;
  RECT r = {0, 0, def.clientWidth, def.clientHeight};
  AdjustWindowRectEx(&r, FormStyleBits(def), FALSE, FormExStyleBits(def));
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  Screen->AddForm(this);
}

TForm::~TForm() {
  BeginDestroy();
  if (Screen) {
    if (Screen->FocusedForm() == this) Screen->SetFocusedForm(nullptr);
    Screen->RemoveForm(this);
  }
  if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
  DestroyComponents();
  DestroyHandle();
}

void TForm::GetCreateParams(CreateParams& params) {
  params.style = FormStyleBits(def_);
  params.exStyle = FormExStyleBits(def_);
}

HWND TForm::OwnerWindow() const { return Application ? Application->Handle() : nullptr; }

void TForm::CreateWnd() {}

void TForm::ScaleControls() {
  if (scaledOnce_) return;
  scaledOnce_ = true;
  if (!def_.scaled) return;
  ScreenDC screen;
  const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  if (dpi == kDesignDpi || dpi <= 0) return;
  auto scale = [dpi](int designPixels) { return MulDiv(designPixels, dpi, kDesignDpi); };
  std::vector<TWinControl*> pending{this};
  while (!pending.empty()) {
    TWinControl* w = pending.back();
    pending.pop_back();
    for (int i = 0; i < w->ControlCount(); ++i) {
      TControl* c = w->Controls(i);
      c->SetBounds(scale(c->Left()), scale(c->Top()), scale(c->Width()), scale(c->Height()));
      TFont f = c->Font();
      f.SetHeight(scale(f.Height()));
      c->SetFont(f);
      if (auto* sub = dynamic_cast<TWinControl*>(c)) pending.push_back(sub);
    }
  }
  RECT r = {0, 0, scale(def_.clientWidth), scale(def_.clientHeight)};
  AdjustWindowRectEx(&r, FormStyleBits(def_), FALSE, FormExStyleBits(def_));
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  font_.SetHeight(scale(font_.Height()));
}

void TForm::Place() {
  if (def_.position != poScreenCenter) return;
  RECT wr;
  GetWindowRect(Handle(), &wr);
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  int left = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  SetBounds(left < 0 ? 0 : left, top < 0 ? 0 : top, w, h);
  // Later showings keep the last position.
  def_.position = poDesigned;
}

void TForm::SetVisible(bool visible) {
  if (inShowHide_) throw EInvalidOperation(LoadStr(SVisibleChanged));
  if (visible == visible_) {
    if (visible && hwnd_) BringWindowToTop(hwnd_);
    return;
  }
  {
    inShowHide_ = true;
    ScopeExit done([this]() noexcept { inShowHide_ = false; });
    if (visible && OnShow) OnShow(*this);
    if (!visible && OnHide) OnHide(*this);
  }
  visible_ = visible;
  ShowWindowNow(visible);
}

void TForm::ShowWindowNow(bool visible) {
  if (visible) {
    ScaleControls();
    Handle();
    Place();
    // The window and all its controls are on the screen and drawn before it is activated: the
    // activation runs handlers that may stop at an error box or work for a long time, and the
    // person meanwhile sees the whole window, not a frame that fills in afterwards.
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    BringWindowToTop(hwnd_);
    return;
  }
  if (!hwnd_) return;
  const UINT quiet = SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  if (!modal_ && GetActiveWindow() == hwnd_ && !IsIconic(hwnd_)) {
    // Hand the activation to another window of ours: a normal one if there is one.
    TForm* next = nullptr;
    for (int pass = 0; pass < 2 && !next; ++pass) {
      for (int i = 0; i < Screen->FormCount(); ++i) {
        TForm* f = Screen->Forms(i);
        if (f != this && f->hwnd_ && IsWindowVisible(f->hwnd_) && IsWindowEnabled(f->hwnd_) &&
            (f->FormStyle() == fsNormal) == (pass == 0)) {
          next = f;
          break;
        }
      }
    }
    if (next) {
      SetActiveWindow(next->hwnd_);
      SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, quiet);
      return;
    }
    ShowWindow(hwnd_, SW_HIDE);
    return;
  }
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, quiet);
}

void TForm::SetActiveControl(TControl* c) { activeControl_ = c; }

TControl* TForm::ButtonFor(WPARAM key, TControl* focused) const {
  if (focused && focused->PressedBy(key, true)) return focused;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* c = dynamic_cast<TControl*>(Components(i)))
      if (c->PressedBy(key, false) && c->CanFocus()) return c;
  return nullptr;
}

void TForm::DoActivate() {
  if (OnActivate) OnActivate(*this);
}

void TForm::DoDeactivate() {
  if (OnDeactivate) OnDeactivate(*this);
}

TCloseAction TForm::CloseAction() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(*this, canClose);
  if (!canClose) return caNone;
  TCloseAction action = caHide;
  if (OnClose) OnClose(*this, action);
  return action;
}

void TForm::Close() {
  if (modal_) {
    SetModalResult(mrCancel);
    return;
  }
  const TCloseAction action = CloseAction();
  if (action == caNone) return;
  if (Application->MainForm() == this) {
    // The main window stays visible until the program ends.
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    if (hwnd_) ShowWindow(hwnd_, SW_MINIMIZE);
  } else {
    Release();
  }
}

void TForm::Release() {
  if (hwnd_) PostMessageA(hwnd_, CM_RELEASE, 0, 0);
}

void TForm::SetModalResult(int r) {
  modalResult_ = r;
  // A result may be set inside a message sent from another thread or process, which the system
  // delivers while the modal loop looks for posted ones; the loop would then sleep on until some
  // other message came. A posted message of our own wakes it to see the result at once.
  if (modal_ && r != mrNone && hwnd_) PostMessageA(hwnd_, WM_NULL, 0, 0);
}

int TForm::ShowModal() {
  if (visible_ || !enabled_ || modal_) throw EInvalidOperation(LoadStr(SCannotShowModal));
  // Made before anything is changed, so that a window that cannot be made leaves nothing to undo.
  HWND self = Handle();
  if (GetCapture()) ReleaseCapture();
  modal_ = true;
  HWND activeWindow = GetActiveWindow();
  TForm* focused = Screen->FocusedForm();
  Screen->SetFocusedForm(this);
  TCursor cursor = Screen->Cursor();
  Screen->SetCursor(crDefault);
  std::vector<HWND> disabled;
  // Whatever ends the showing, an error included, the window is hidden and the rest given back.
  // The other windows take input again before this one goes: hiding it may hold the thread (an
  // X display without a window manager makes Wine wait two seconds for the window to be
  // withdrawn), and a window hidden while its owner is still disabled hands the activation to
  // another program.
  ScopeExit restore([&]() noexcept {
    Screen->SetCursor(cursor);
    Application->EnableTaskWindows(disabled);
    // The focused window comes back before the activation, so it gets no activation event.
    Screen->SetFocusedForm(focused);
    if (activeWindow && IsWindow(activeWindow)) SetActiveWindow(activeWindow);
    if (hwnd_) {
      visible_ = false;
      SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    modal_ = false;
  });
  disabled = Application->DisableTaskWindows(self);
  Show();
  SendMessageA(hwnd_, CM_ACTIVATE, 0, 0);
  modalResult_ = mrNone;
  do {
    Application->HandleMessage();
    if (Application->Terminated()) {
      modalResult_ = mrCancel;
    } else if (modalResult_ != mrNone) {
      try {
        // The loop's end hides the window, so only freeing asks for more.
        const TCloseAction action = CloseAction();
        if (action == caNone) modalResult_ = mrNone;
        else if (action == caFree) Release();
      } catch (...) {
        modalResult_ = mrNone;
        Application->HandleCurrentException();
      }
    }
  } while (modalResult_ == mrNone);
  SendMessageA(hwnd_, CM_DEACTIVATE, 0, 0);
  if (GetActiveWindow() != hwnd_) activeWindow = nullptr;
  return modalResult_;
}

void TForm::FocusControl() {
  if (activeControl_ && activeControl_->CanFocus()) {
    activeControl_->SetFocus();
    return;
  }
  std::vector<TControl*> tabs;
  TabList(tabs);
  if (!tabs.empty()) {
    tabs.front()->SetFocus();
    return;
  }
  ::SetFocus(hwnd_);
}

void TForm::SelectNext(bool forward) {
  std::vector<TControl*> tabs;
  TabList(tabs);
  if (tabs.empty()) return;
  int current = -1;
  for (size_t i = 0; i < tabs.size(); ++i)
    if (tabs[i]->Focused()) current = static_cast<int>(i);
  int n = static_cast<int>(tabs.size());
  int next = current < 0 ? 0 : (current + (forward ? 1 : n - 1)) % n;
  tabs[static_cast<size_t>(next)]->SetFocus();
}

bool TForm::PreProcessKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  if (GetKeyState(VK_MENU) < 0 || GetKeyState(VK_CONTROL) < 0) return false;
  HWND focus = GetFocus();
  TControl* focused = TControl::FromHandle(focus);
  if (!focused) focused = TControl::FromHandle(GetParent(focus));
  if (msg.wParam == VK_TAB) {
    SelectNext(GetKeyState(VK_SHIFT) >= 0);
    return true;
  }
  if (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE) return false;
  if (focused && focused->WantsKey(msg.wParam)) return false;
  TControl* button = ButtonFor(msg.wParam, focused);
  if (!button) return false;
  button->Click();
  return true;
}

LRESULT TForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp)) FocusControl();
      return 0;
    case WM_SETFOCUS: {
      // A window without a focusable control holds the focus itself.
      std::vector<TControl*> tabs;
      TabList(tabs);
      if (tabs.empty()) Screen->ControlFocused(this);
      return 0;
    }
    case WM_ACTIVATEAPP:
      if (wp) Application->RestoreTopMosts();
      else Application->NormalizeTopMosts();
      break;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_SIZE: {
      RECT r;
      GetWindowRect(hwnd_, &r);
      width_ = r.right - r.left;
      height_ = r.bottom - r.top;
      break;
    }
    case WM_MOVE: {
      RECT r;
      GetWindowRect(hwnd_, &r);
      left_ = r.left;
      top_ = r.top;
      break;
    }
    default:
      if (msg == CM_ACTIVATE) {
        DoActivate();
        return 0;
      }
      if (msg == CM_DEACTIVATE) {
        DoDeactivate();
        return 0;
      }
      if (msg == CM_RELEASE) {
        delete this;
        return 0;
      }
  }
  return TWinControl::WndProc(msg, wp, lp);
}
