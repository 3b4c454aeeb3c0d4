#include "ui/Control.h"

#include <algorithm>
#include <exception>
#include <set>

#include "ui/Application.h"
#include "platform/Errors.h"
#include "ui/Form.h"
#include "platform/Messages.h"

namespace {
// The object behind each of our windows. Kept in the process rather than on the window (a
// property or the window's user word): every message looks it up, a property costs a round trip
// to the window server under Wine, and nothing another process or a system dialog writes on a
// window can pass for one of our objects. The windows all belong to the one thread.
struct WindowObject {
  HWND hwnd;
  TControl* object;
};

std::vector<WindowObject>& Objects() {
  static std::vector<WindowObject> objects;
  return objects;
}

TControl* ObjectOf(HWND hwnd) {
  for (const WindowObject& o : Objects())
    if (o.hwnd == hwnd) return o.object;
  return nullptr;
}

void KeepObject(HWND hwnd, TControl* object) { Objects().push_back({hwnd, object}); }

void ForgetObject(HWND hwnd) {
  auto& objects = Objects();
  for (size_t i = 0; i < objects.size(); ++i) {
    if (objects[i].hwnd == hwnd) {
      objects[i] = objects.back();
      objects.pop_back();
      return;
    }
  }
}

// Child windows are numbered from here on, in the order they are made; ids below are left to
// the system's own dialog items (IDOK, IDCANCEL and the like).
const int kFirstControlId = 100;
int gNextId = kFirstControlId;

const char* RegisterOwnClass(const char* name, bool isForm) {
  static std::set<std::string> registered;
  if (registered.insert(name).second) {
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ControlTrampoline;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = isForm ? LoadIconA(GetModuleHandleA(nullptr), "MAINICON") : nullptr;
    wc.lpszClassName = name;
    // A registration that fails shows as a failed creation of the window, which is checked.
    RegisterClassA(&wc);
  }
  return name;
}
}  // namespace

LRESULT CALLBACK ControlTrampoline(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TControl* c = ObjectOf(hwnd);
  if (!c && msg == WM_NCCREATE) {
    c = static_cast<TControl*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    if (c) {
      c->hwnd_ = hwnd;
      KeepObject(hwnd, c);
    }
  }
  if (!c) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    LRESULT r = c->DefaultHandler(msg, wp, lp);
    ForgetObject(hwnd);
    if (c->oldProc_) SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(c->oldProc_));
    c->hwnd_ = nullptr;
    c->oldProc_ = nullptr;
    return r;
  }
  try {
    return c->WndProc(msg, wp, lp);
  } catch (...) {
    if (Application) Application->HandleCurrentException();
  }
  return 0;
}

TControl* TControl::FromHandle(HWND hwnd) {
  return hwnd ? ObjectOf(hwnd) : nullptr;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
  if (TForm* f = ParentForm()) {
    if (f->ActiveControl() == this) f->SetActiveControl(nullptr);
  }
  DestroyHandle();
  if (parent_) parent_->RemoveControl(this);
}

void TControl::Define(TWinControl* parent, const std::string& name, int left, int top, int width,
                      int height, const std::string& text) {
  SetName(name);
  SetBounds(left, top, width, height);
  if (!text.empty()) SetText(text);
  SetParent(parent);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent_ == parent) return;
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

TForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c) {
    if (const TForm* f = dynamic_cast<const TForm*>(c)) return const_cast<TForm*>(f);
    c = c->parent_;
  }
  return nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (hwnd_)
    SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TControl::SetAlign(TAlign a) {
  align_ = a;
  if (parent_) parent_->Realign();
}

void TControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  if (!hwnd_) return;
  ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
  if (IsGraphic()) Invalidate();
}

void TControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (hwnd_) EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

std::string TControl::Text() const {
  if (!hwnd_) return text_;
  int n = GetWindowTextLengthA(hwnd_);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = GetWindowTextA(hwnd_, &s[0], n + 1);
  s.resize(static_cast<size_t>(n < 0 ? 0 : n));
  return s;
}

void TControl::SetText(const std::string& text) {
  text_ = text;
  if (hwnd_) {
    SetWindowTextA(hwnd_, text.c_str());
    if (IsGraphic()) Invalidate();
  }
}

void TControl::SetFont(const TFont& font) {
  font_ = font;
  FontChanged();
}

void TControl::FontChanged() {
  if (hwnd_) {
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
    Invalidate();
  }
}

void TControl::SetColor(COLORREF c) {
  color_ = c;
  brush_.Reset();
  Invalidate();
}

bool TControl::CanFocus() const {
  if (IsGraphic()) return false;
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_ || !c->enabled_) return false;
  return true;
}

void TControl::SetFocus() {
  if (Handle()) ::SetFocus(hwnd_);
}

bool TControl::Focused() const {
  HWND f = GetFocus();
  return hwnd_ && (f == hwnd_ || IsChild(hwnd_, f));
}

HWND TControl::Handle() {
  if (!hwnd_) CreateHandle();
  return hwnd_;
}

void TControl::GetCreateParams(CreateParams& params) {
  params.style = WS_CHILD | WS_CLIPSIBLINGS;
}

void TControl::CreateHandle() {
  if (hwnd_) return;
  HWND parentWnd = parent_ ? parent_->Handle() : nullptr;
  if (hwnd_) return;  // the parent's creation made this window too
  CreateParams p;
  GetCreateParams(p);
  const char* cls = p.className;
  if (!cls) cls = RegisterOwnClass(ClassName(), dynamic_cast<TForm*>(this) != nullptr);
  if (!parentWnd) parentWnd = OwnerWindow();
  // A top-level window is made hidden and shown by its own Show once every control on it
  // exists: made visible here it would be activated, and its activation handler run, while it
  // still had no controls.
  const bool child = (p.style & WS_CHILD) != 0;
  DWORD style = p.style | (visible_ && child ? WS_VISIBLE : 0) | (enabled_ ? 0 : WS_DISABLED);
  HWND h = CreateWindowExA(p.exStyle, cls, text_.c_str(), style, left_, top_, width_, height_,
                           parentWnd,
                           child ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(gNextId++))
                                              : nullptr,
                           GetModuleHandleA(nullptr), this);
  if (!h) throw Exception(LoadStr(SCreateWindowError));
  if (p.subclass) {
    hwnd_ = h;
    KeepObject(h, this);
    oldProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlTrampoline)));
  }
  SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
  CreateWnd();
}

void TControl::DestroyHandle() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void TControl::Invalidate() {
  if (!hwnd_) return;
  if (IsGraphic() && parent_ && parent_->hwnd_) {
    // Drawn-through controls lying above this one show it as well, so they are drawn again too.
    RECT r = {left_, top_, left_ + width_, top_ + height_};
    RedrawWindow(parent_->hwnd_, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return;
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void TControl::FocusEntered() {
  if (TForm* f = ParentForm()) {
    if (f != this) f->SetActiveControl(this);
    Screen->ControlFocused(f);
  }
}

void TControl::Click() {
  if (OnClick) OnClick(*this);
}

LRESULT TControl::DefaultHandler(UINT msg, WPARAM wp, LPARAM lp) {
  if (oldProc_) return CallWindowProcA(oldProc_, hwnd_, msg, wp, lp);
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

void TControl::PaintThrough(HDC target) {
  RECT r = {0, 0, width_, height_};
  MemoryDC mem(target);
  GdiObject<HBITMAP> bits(CreateCompatibleBitmap(target, width_ > 0 ? width_ : 1,
                                                 height_ > 0 ? height_ : 1));
  SelectedObject sel(mem.Get(), bits.Get());
  COLORREF back = parent_ ? parent_->Color() : GetSysColor(COLOR_BTNFACE);
  GdiObject<HBRUSH> brush(CreateSolidBrush(back));
  FillRect(mem.Get(), &r, brush.Get());
  if (parent_) parent_->PaintGraphicsBelow(mem.Get(), this, left_, top_);
  else PaintContent(mem.Get());
  BitBlt(target, 0, 0, width_, height_, mem.Get(), 0, 0, SRCCOPY);
}

bool TControl::HasNoFrame() const {
  const LONG_PTR frame = WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL;
  const LONG_PTR edges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
  const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
  return (style & WS_CHILD) && !(style & frame) && !(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) & edges);
}

LRESULT TControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETFOCUS:
      FocusEntered();
      break;
    case WM_SETCURSOR:
      if (Screen && Screen->Cursor() != crDefault) {
        ::SetCursor(Screen->CursorHandle());
        return TRUE;
      }
      break;
    case WM_CHAR: {
      char ch = static_cast<char>(wp);
      KeyPress(ch);
      if (ch == 0) return 0;
      wp = static_cast<unsigned char>(ch);
      break;
    }
    case WM_ERASEBKGND:
      if (IsGraphic()) return 1;
      break;
    case WM_PAINT:
      if (IsGraphic()) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        PaintThrough(dc);
        EndPaint(hwnd_, &ps);
        return 0;
      }
      break;
    case WM_NCPAINT:
      // A window of our own kind without a border or scroll bars has no frame to draw; the
      // system's drawing of it would only ask for a window DC.
      if (!oldProc_ && HasNoFrame()) return 0;
      break;
    case WM_NCHITTEST:
      // Pictures and labels let the mouse through to what lies below, as drawn things do.
      if (IsGraphic() && !OnClick) return HTTRANSPARENT;
      break;
  }
  return DefaultHandler(msg, wp, lp);
}

TWinControl::~TWinControl() {
  for (TControl* c : controls_) c->parent_ = nullptr;
  controls_.clear();
}

void TWinControl::InsertControl(TControl* c) {
  controls_.push_back(c);
  c->parent_ = this;
  if (hwnd_) {
    c->CreateHandle();
    Restack();
  }
}

void TWinControl::RemoveControl(TControl* c) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  c->parent_ = nullptr;
}

void TWinControl::CreateHandle() {
  if (hwnd_) return;
  TControl::CreateHandle();
  if (!hwnd_) return;
  // A child whose creation handler fails (a list that cannot read its directory) must not keep
  // its later siblings from getting windows; the first failure is passed on afterwards.
  std::exception_ptr failure;
  for (size_t i = 0; i < controls_.size(); ++i) {
    try {
      controls_[i]->CreateHandle();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  Restack();
  Realign();
  if (failure) std::rethrow_exception(failure);
}

void TWinControl::Restack() {
  // Windowed controls stay above drawn ones; among each kind the later one lies above.
  std::vector<TControl*> order;
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
    if (!(*it)->IsGraphic()) order.push_back(*it);
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
    if ((*it)->IsGraphic()) order.push_back(*it);
  HWND after = HWND_TOP;
  for (TControl* c : order) {
    if (!c->hwnd_) continue;
    SetWindowPos(c->hwnd_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = c->hwnd_;
  }
}

void TWinControl::Realign() {
  if (!hwnd_) return;
  RECT r;
  GetClientRect(hwnd_, &r);
  for (TControl* c : controls_) {
    if (c->align_ == alBottom && c->visible_) {
      c->SetBounds(0, r.bottom - c->height_, r.right, c->height_);
      r.bottom -= c->height_;
    }
  }
  for (TControl* c : controls_)
    if (c->align_ == alClient) c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TWinControl::TabList(std::vector<TControl*>& out) const {
  std::vector<TControl*> sorted(controls_.begin(), controls_.end());
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](TControl* a, TControl* b) { return a->TabOrder() < b->TabOrder(); });
  for (TControl* c : sorted) {
    if (c->TabStop() && c->CanFocus()) out.push_back(c);
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      if (w->visible_ && w->enabled_) w->TabList(out);
    }
  }
}

void TWinControl::PaintGraphicsBelow(HDC dc, const TControl* upTo, int originX, int originY) {
  RECT target = {originX, originY, originX + upTo->width_, originY + upTo->height_};
  for (TControl* c : controls_) {
    if (c->IsGraphic() && c->visible_) {
      RECT cr = {c->left_, c->top_, c->left_ + c->width_, c->top_ + c->height_};
      RECT both;
      if (IntersectRect(&both, &cr, &target)) {
        POINT old;
        SetViewportOrgEx(dc, c->left_ - originX, c->top_ - originY, &old);
        c->PaintContent(dc);
        SetViewportOrgEx(dc, old.x, old.y, nullptr);
      }
    }
    if (c == upTo) break;
  }
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (lp) {
        if (TControl* c = FromHandle(reinterpret_cast<HWND>(lp))) {
          c->CommandNotify(HIWORD(wp));
          return 0;
        }
      }
      break;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (TControl* c = FromHandle(dis->hwndItem))
        if (c->DrawItem(*dis)) return TRUE;
      break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
      HWND child = reinterpret_cast<HWND>(lp);
      TControl* c = FromHandle(child);
      if (!c) c = FromHandle(GetParent(child));  // the edit inside a combo box
      if (c) {
        if (HBRUSH b = c->CtlColor(reinterpret_cast<HDC>(wp))) return reinterpret_cast<LRESULT>(b);
      }
      break;
    }
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd_, &r);
      if (!brush_) brush_.Reset(CreateSolidBrush(color_));
      FillRect(reinterpret_cast<HDC>(wp), &r, brush_.Get());
      return 1;
    }
    case WM_SIZE:
      Realign();
      break;
  }
  return TControl::WndProc(msg, wp, lp);
}

HBRUSH TControl::OwnColors(HDC dc) {
  if (!brush_) brush_.Reset(CreateSolidBrush(color_));
  SetBkColor(dc, color_);
  SetTextColor(dc, font_.Color());
  return brush_.Get();
}
