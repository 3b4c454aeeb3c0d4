#include "ui/ExtCtrls.h"

#include <commctrl.h>

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

void TStatusBar::GetCreateParams(CreateParams& params) {
  params.className = STATUSCLASSNAMEA;
  params.subclass = true;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | CCS_NOPARENTALIGN | CCS_NORESIZE | SBARS_SIZEGRIP;
}

void TProgressBar::GetCreateParams(CreateParams& params) {
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
