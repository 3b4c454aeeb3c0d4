#include "ui/StdCtrls.h"

#include "ui/Form.h"

TLabel::TLabel(TComponent* owner) : TControl(owner) {}

UINT TLabel::TextFlags() const {
  UINT flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | (alignment_ == taCenter ? DT_CENTER : DT_LEFT);
  return flags;  // '&' underlines the next character and "&&" draws one, as on every label
}

void TLabel::SetText(const std::string& text) {
  TControl::SetText(text);
  AdjustSize();
  Invalidate();
}

void TLabel::FontChanged() {
  TControl::FontChanged();
  AdjustSize();
}

void TLabel::AdjustSize() {
  if (!autoSize_) {
    Invalidate();
    return;
  }
  ScreenDC screen;
  SelectedObject sel(screen.Get(), font_.Handle());
  std::string t = Text();
  RECT r = {0, 0, wordWrap_ ? width_ : 0, 0};
  if (t.empty()) {
    TEXTMETRICA tm;
    GetTextMetricsA(screen.Get(), &tm);
    r.bottom = tm.tmHeight;
  } else {
    DrawTextA(screen.Get(), t.c_str(), -1, &r, TextFlags() | DT_CALCRECT);
  }
  int w = wordWrap_ ? width_ : r.right;
  if (w != width_ || r.bottom != height_) {
    // A resized drawn control leaves its old area to be painted again by what lies below.
    if (hwnd_ && parent_ && parent_->HandleAllocated()) {
      RECT old = {left_, top_, left_ + width_, top_ + height_};
      InvalidateRect(parent_->WindowHandle(), &old, TRUE);
    }
    SetBounds(left_, top_, w, r.bottom);
  }
  Invalidate();
}

void TLabel::PaintContent(HDC dc) {
  std::string t = Text();
  if (t.empty()) return;
  SelectedObject sel(dc, font_.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, font_.Color());
  RECT r = {0, 0, width_, height_};
  DrawTextA(dc, t.c_str(), -1, &r, TextFlags());
}

TEdit::TEdit(TComponent* owner) : TControl(owner) {
  tabStop_ = true;
  color_ = GetSysColor(COLOR_WINDOW);
}

void TEdit::GetCreateParams(CreateParams& params) {
  params.className = "EDIT";
  params.subclass = true;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | ES_AUTOHSCROLL | ES_LEFT;
  params.exStyle = border_ ? WS_EX_CLIENTEDGE : 0;
}

HBRUSH TEdit::CtlColor(HDC dc) {
  if (!brush_) brush_.Reset(CreateSolidBrush(color_));
  SetBkColor(dc, color_);
  SetTextColor(dc, font_.Color());
  return brush_.Get();
}

void TEdit::SelectAll() {
  if (hwnd_) SendMessageA(hwnd_, EM_SETSEL, 0, -1);
}

TButton::TButton(TComponent* owner) : TControl(owner) { tabStop_ = true; }

void TButton::GetCreateParams(CreateParams& params) {
  params.className = "BUTTON";
  params.subclass = true;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::CommandNotify(WORD code) {
  if (code == BN_CLICKED) Click();
}

void TButton::Click() {
  if (TForm* f = ParentForm()) f->SetModalResult(modalResult_);
  TControl::Click();
}
