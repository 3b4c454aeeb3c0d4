#pragma once
// Controls: every control is a child window that carries its own text, so what a person sees can
// be read from outside with the standard window messages. Standard controls are subclassed so
// that their messages pass through the same trampoline as our own window classes.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Component.h"
#include "ui/Graphics.h"

class TWinControl;
class TForm;

LRESULT CALLBACK ControlTrampoline(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

using TNotifyEvent = std::function<void(TComponent& sender)>;

enum TAlign { alNone, alClient, alBottom };

class TControl : public TComponent {
public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // Places the control as a window definition gives it: parent, name, bounds, text.
  void Define(TWinControl* parent, const std::string& name, int left, int top, int width,
              int height, const std::string& text = std::string());

  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* parent);
  // The form this control sits on (walking up the parents), or nullptr.
  TForm* ParentForm() const;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  virtual void SetBounds(int left, int top, int width, int height);
  void SetHeight(int h) { SetBounds(left_, top_, width_, h); }
  TAlign Align() const { return align_; }
  void SetAlign(TAlign a);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  // The caption or text; read from the window when it exists, since a person may have typed.
  virtual std::string Text() const;
  virtual void SetText(const std::string& text);
  std::string Caption() const { return Text(); }
  void SetCaption(const std::string& text) { SetText(text); }

  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);
  COLORREF Color() const { return color_; }
  void SetColor(COLORREF c);

  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int order) { tabOrder_ = order; }
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool t) { tabStop_ = t; }
  // Whether the control can take the keyboard focus now.
  virtual bool CanFocus() const;
  void SetFocus();
  bool Focused() const;

  // The window, made on first use (with its parent's first).
  HWND Handle();
  HWND WindowHandle() const { return hwnd_; }
  bool HandleAllocated() const { return hwnd_ != nullptr; }
  virtual void CreateHandle();
  void DestroyHandle();
  void Invalidate();

  // Drawn through: labels, pictures and bevels show what lies below them.
  virtual bool IsGraphic() const { return false; }
  // Draws the control's own content with its top-left corner at the DC's origin.
  virtual void PaintContent(HDC) {}

  TNotifyEvent OnClick;
  virtual void Click();

  // Enter and Escape belong to the window before the focused control: they press its default and
  // cancel buttons. A control that needs one of them for itself while it has the focus says so.
  virtual bool WantsKey(WPARAM) const { return false; }
  // Whether Enter or Escape presses this control, given whether it has the focus.
  virtual bool PressedBy(WPARAM, bool /*focused*/) const { return false; }

  // The object behind one of our windows, or nullptr.
  static TControl* FromHandle(HWND hwnd);

protected:
  struct CreateParams {
    const char* className = nullptr;  // nullptr: our own class for this kind
    DWORD style = 0;
    DWORD exStyle = 0;
    bool subclass = false;            // a standard control, subclassed after creation
  };
  virtual void GetCreateParams(CreateParams& params);
  // The window class of our own kinds, readable from outside.
  virtual const char* ClassName() const { return "TControl"; }
  // The owner of a top-level window; children use their parent's window.
  virtual HWND OwnerWindow() const { return nullptr; }
  // Runs after the window exists (and its children, for containers).
  virtual void CreateWnd() {}
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultHandler(UINT msg, WPARAM wp, LPARAM lp);

  // Notifications the parent reflects to the control they concern.
  virtual void CommandNotify(WORD) {}
  virtual bool DrawItem(const DRAWITEMSTRUCT&) { return false; }
  virtual HBRUSH CtlColor(HDC) { return nullptr; }
  // The answer of a control drawn in its own colours: the DC takes the control's colour as its
  // background and the font's as its text, and the brush of the control's colour fills the rest.
  HBRUSH OwnColors(HDC dc);
  virtual void FontChanged();
  virtual void KeyPress(char&) {}

  // A child window without a border, an edge or scroll bars: nothing outside its client area.
  bool HasNoFrame() const;
  // Paints through: the graphic controls below this one first, then this one.
  void PaintThrough(HDC dc);
  // The keyboard focus entered this control: it becomes its window's active control, and the
  // window the focused one.
  void FocusEntered();

  friend class TWinControl;
  friend class TForm;
  friend LRESULT CALLBACK ControlTrampoline(HWND, UINT, WPARAM, LPARAM);

  HWND hwnd_ = nullptr;
  WNDPROC oldProc_ = nullptr;
  TWinControl* parent_ = nullptr;  // not owned; the parent lists this control among its children
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  std::string text_;
  TFont font_;
  COLORREF color_ = GetSysColor(COLOR_BTNFACE);
  GdiObject<HBRUSH> brush_;
  int tabOrder_ = 0;
  bool tabStop_ = false;
};

// A control that holds other controls and has a tab order among them.
class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* owner) : TControl(owner) {}
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int i) const { return controls_.at(i); }
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  void CreateHandle() override;

  // The focusable controls below this one, in tab order.
  void TabList(std::vector<TControl*>& out) const;
  // Paints the graphic children below `upTo` (in creation order) into a DC whose origin is at
  // `originX, originY` of this control's client area.
  void PaintGraphicsBelow(HDC dc, const TControl* upTo, int originX, int originY);
  void Realign();

protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void Restack();

private:
  std::vector<TControl*> controls_;  // not owned (the owner destroys them); creation order
};
