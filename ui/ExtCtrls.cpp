#include "ui/ExtCtrls.h"

#include <commctrl.h>

#include "platform/SystemLibrary.h"

namespace {
// The size of the program's icons, in which an unstretched icon is drawn.
const int kIconSize = 32;
}  // namespace

void TImage::SetPicture(TBitmap&& b) {
  picture_ = std::move(b);
  stretched_.Reset();
  Invalidate();
}

void TImage::SetIcon(const char* resourceName) {
  icon_ = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), resourceName, IMAGE_ICON,
                                        kIconSize, kIconSize, LR_SHARED));
  Invalidate();
}

void TImage::PaintContent(HDC dc) {
  if (icon_) {
    DrawIconEx(dc, 0, 0, icon_, stretch_ ? width_ : kIconSize, stretch_ ? height_ : kIconSize, 0,
               nullptr, DI_NORMAL);
    return;
  }
  if (stretch_) {
    if (picture_.Empty()) return;
    RECT r = {0, 0, width_, height_};
    if (!stretched_ || stretchedWidth_ != width_ || stretchedHeight_ != height_) {
      stretched_.Reset(
          CreateCompatibleBitmap(dc, width_ > 0 ? width_ : 1, height_ > 0 ? height_ : 1));
      if (!stretched_) {
        picture_.StretchDraw(dc, r);  // no memory for the copy: drawn the long way
        return;
      }
      MemoryDC mem(dc);
      SelectedObject sel(mem.Get(), stretched_.Get());
      picture_.StretchDraw(mem.Get(), r);
      stretchedWidth_ = width_;
      stretchedHeight_ = height_;
    }
    MemoryDC mem(dc);
    SelectedObject sel(mem.Get(), stretched_.Get());
    BitBlt(dc, 0, 0, width_, height_, mem.Get(), 0, 0, SRCCOPY);
  } else {
    picture_.Draw(dc, 0, 0);
  }
}

void TBevel::PaintContent(HDC dc) {
  RECT r = {0, 0, width_, height_};
  UINT edge = shape_ == bsFrame ? (lowered_ ? EDGE_ETCHED : EDGE_BUMP)
                                : (lowered_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER);
  DrawEdge(dc, &r, edge, BF_RECT);
}

LRESULT TPanel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT r;
    GetClientRect(hwnd_, &r);
    // Outer bevel lowered, inner bevel raised.
    DrawEdge(dc, &r, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_RECT);
    EndPaint(hwnd_, &ps);
    return 0;
  }
  return TWinControl::WndProc(msg, wp, lp);
}

void TSpeedButton::SetGlyph(TBitmap&& glyph, int numGlyphs) {
  glyph_ = std::move(glyph);
  numGlyphs_ = numGlyphs < 1 ? 1 : numGlyphs;
  Invalidate();
}

void TSpeedButton::Paint(HDC dc) {
  RECT r = {0, 0, width_, height_};
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &r, down_ ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  if (glyph_.Empty()) return;
  int gw = glyph_.Width() / numGlyphs_, gh = glyph_.Height();
  int image = (!enabled_ && numGlyphs_ > 1) ? 1 : 0;
  int x = (width_ - gw) / 2 + (down_ ? 1 : 0), y = (height_ - gh) / 2 + (down_ ? 1 : 0);
  glyph_.DrawTransparent(dc, x, y, image * gw, 0, gw, gh);
}

LRESULT TSpeedButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      Paint(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // No SetFocus here: the focus stays where it was.
      down_ = true;
      SetCapture(hwnd_);
      Invalidate();
      return 0;
    case WM_LBUTTONUP: {
      bool wasDown = down_;
      down_ = false;
      if (GetCapture() == hwnd_) ReleaseCapture();
      Invalidate();
      POINT pt = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT r = {0, 0, width_, height_};
      if (wasDown && PtInRect(&r, pt)) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      down_ = false;
      Invalidate();
      break;
    case BM_CLICK:
      Click();
      return 0;
  }
  return TControl::WndProc(msg, wp, lp);
}

RECT TStatusBar::Grip() const {
  RECT grip = {0, 0, 0, 0};
  HWND top = GetAncestor(hwnd_, GA_ROOT);
  if (!top || (GetWindowLongPtrA(top, GWL_STYLE) & WS_THICKFRAME) == 0 || IsZoomed(top)) return grip;
  RECT r;
  GetClientRect(hwnd_, &r);
  const int size = GetSystemMetrics(SM_CXVSCROLL);
  grip.left = r.right - size > 0 ? r.right - size : 0;
  grip.top = r.bottom - size > 0 ? r.bottom - size : 0;
  grip.right = r.right;
  grip.bottom = r.bottom;
  return grip;
}

LRESULT TStatusBar::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      RECT r;
      GetClientRect(hwnd_, &r);
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      // A line along the top parts the bar from the window above it.
      RECT line = {r.left, r.top, r.right, r.top + 1};
      FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
      RECT grip = Grip();
      if (!IsRectEmpty(&grip)) {
        // Six dots of two by two pixels in a triangle, three apart, three pixels in from the corner.
        for (int row = 0; row < 3; ++row) {
          for (int col = 2 - row; col < 3; ++col) {
            const int x = r.right - 10 + 3 * col, y = r.bottom - 10 + 3 * row;
            RECT dot = {x, y, x + 2, y + 2};
            FillRect(dc, &dot, GetSysColorBrush(COLOR_BTNSHADOW));
          }
        }
      }
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_SIZE:
      // The grip follows the corner, and comes or goes as the window is maximised or restored.
      InvalidateRect(hwnd_, nullptr, FALSE);
      break;
    case WM_NCHITTEST: {
      RECT grip = Grip();
      POINT pt = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      ScreenToClient(hwnd_, &pt);
      if (PtInRect(&grip, pt)) return HTBOTTOMRIGHT;
      break;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      // Pressed on the grip, the window is sized, not this bar.
      if (wp == HTBOTTOMRIGHT) return SendMessageA(GetAncestor(hwnd_, GA_ROOT), msg, wp, lp);
      break;
  }
  return TControl::WndProc(msg, wp, lp);
}

void TProgressBar::GetCreateParams(CreateParams& params) {
  // The common controls' library is loaded when the first bar is made, not at the start: the
  // windows that show at the start have none of its classes.
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init = SystemFunctionOf<InitFn>("comctl32.dll", "InitCommonControlsEx");
    return init && init(&icc);
  }();
  (void)registered;  // a class that is not there shows as a failed creation, which is checked
  params.className = PROGRESS_CLASSA;
  params.subclass = true;
  params.style = WS_CHILD | WS_CLIPSIBLINGS;
}

void TProgressBar::CreateWnd() {
  SendMessageA(hwnd_, PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(hwnd_, PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
  SendMessageA(hwnd_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetRange(int min, int max) {
  min_ = min;
  max_ = max;
  if (hwnd_) SendMessageA(hwnd_, PBM_SETRANGE32, static_cast<WPARAM>(min), max);
}

void TProgressBar::SetPosition(int p) {
  // A bar set on every step of a long task mostly stays where it stands: no message then.
  if (p == position_) return;
  position_ = p;
  if (hwnd_) SendMessageA(hwnd_, PBM_SETPOS, static_cast<WPARAM>(p), 0);
}
