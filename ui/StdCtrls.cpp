#include "ui/StdCtrls.h"

#include "ui/Form.h"

TLabel::TLabel(TComponent* owner) : TControl(owner) {}

TButton* PushButton(TForm* form, const std::string& name, int left, int top, int tabOrder,
                    const std::string& caption, TNotifyEvent onClick) {
  auto* b = new TButton(form);
  b->Define(form, name, left, top, 75, 25, caption);
  b->SetTabOrder(tabOrder);
  b->OnClick = std::move(onClick);
  return b;
}

UINT TLabel::TextFlags() const {
  UINT flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | (alignment_ == taCenter ? DT_CENTER : DT_LEFT);
  // '&' underlines the next character and "&&" draws one, as on every label, unless the label
  // shows a text that is not its own (a file name, a title): that is drawn as it is.
  return showAccelChar_ ? flags : flags | DT_NOPREFIX;
}

void TLabel::SetText(const std::string& text) {
  TControl::SetText(text);  // which invalidates the label
  if (autoSize_) FitToText(text);
}

void TLabel::FontChanged() {
  TControl::FontChanged();
  AdjustSize();
}

void TLabel::AdjustSize() {
  if (autoSize_) FitToText(Text());
  Invalidate();
}

// A status label may get a new caption many times a second, so this asks the window system as
// little as it can.
void TLabel::FitToText(const std::string& t) {
  const HDC measure = MeasureDC();
  SelectedObject sel(measure, font_.Handle());
  RECT r = {0, 0, wordWrap_ ? width_ : 0, 0};
  if (t.empty()) {
    TEXTMETRICA tm;
    GetTextMetricsA(measure, &tm);
    r.bottom = tm.tmHeight;
  } else {
    DrawTextA(measure, t.c_str(), -1, &r, TextFlags() | DT_CALCRECT);
  }
  int w = wordWrap_ ? width_ : r.right;
  if (w != width_ || r.bottom != height_) {
    // A resized drawn control leaves the part of its old area that the new one does not cover
    // to be painted again by what lies below.
    if (hwnd_ && parent_ && parent_->HandleAllocated()) {
      GdiObject<HRGN> uncovered(CreateRectRgn(left_, top_, left_ + width_, top_ + height_));
      GdiObject<HRGN> covered(CreateRectRgn(left_, top_, left_ + w, top_ + r.bottom));
      if (CombineRgn(uncovered.Get(), uncovered.Get(), covered.Get(), RGN_DIFF) != NULLREGION)
        InvalidateRgn(parent_->WindowHandle(), uncovered.Get(), TRUE);
    }
    SetBounds(left_, top_, w, r.bottom);
  }
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

HBRUSH TEdit::CtlColor(HDC dc) { return OwnColors(dc); }

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

bool TButton::PressedBy(WPARAM key, bool focused) const {
  if (key == VK_RETURN) return focused || default_;
  // Escape presses the window's first cancel button, whichever control has the focus.
  return key == VK_ESCAPE && cancel_ && !focused;
}

void TButton::Click() {
  if (TForm* f = ParentForm()) f->SetModalResult(modalResult_);
  TControl::Click();
}
