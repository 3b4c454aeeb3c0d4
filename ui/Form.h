#pragma once
// Top-level windows: visibility, modal showing with its nested loop, closing, placement,
// stay-on-top, the active control and the six window events.
#include "ui/Control.h"

enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TBorderStyle { bsSizeable, bsDialog };
enum TPosition { poDesigned, poScreenCenter };
enum TFormStyle { fsNormal, fsStayOnTop };

using TCloseEvent = std::function<void(TComponent& sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TComponent& sender, bool& canClose)>;

// The definition of a window, read like the table it comes from.
struct TFormDef {
  std::string caption;
  int clientWidth = 0;
  int clientHeight = 0;
  TBorderStyle border = bsSizeable;
  bool systemMenu = true;    // dialog frames: the close box comes with the system menu
  bool minMaxBoxes = true;   // sizeable frames only
  TPosition position = poScreenCenter;
  TFormStyle style = fsStayOnTop;
  TFont font{"MS Sans Serif", 11};
  bool scaled = true;        // scale from 96 pixels per inch
};

class TForm : public TWinControl {
public:
  TForm(TComponent* owner, const TFormDef& def);
  ~TForm() override;

  void SetVisible(bool visible) override;
  void Close();
  int ShowModal();
  void Release();

  bool Modal() const { return modal_; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int r);
  TControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TControl* c);
  TFormStyle FormStyle() const { return def_.style; }

  TNotifyEvent OnActivate, OnDeactivate, OnShow, OnHide;
  TCloseQueryEvent OnCloseQuery;
  TCloseEvent OnClose;

  // Events, fired by the framework.
  void DoActivate();
  void DoDeactivate();

  // Moves the focus to the next focusable control (or the previous one).
  void SelectNext(bool forward);
  // Sets the focus to the active control, or the first focusable one, or the window itself.
  void FocusControl();
  // Scales every control's bounds from design pixels; done once after construction.
  void ScaleControls();

  // Handles Tab, Enter and Escape before a message is dispatched; true if taken.
  bool PreProcessKey(const MSG& msg);

protected:
  void GetCreateParams(CreateParams& params) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void CreateWnd() override;
  const char* ClassName() const override { return "TForm"; }
  HWND OwnerWindow() const override;

private:
  // The push button Enter or Escape presses, or nullptr.
  TControl* ButtonFor(WPARAM key, TControl* focused) const;
  // Asks whether the window may close and what closing does: caNone when it stays.
  TCloseAction CloseAction();
  void Place();
  void ShowWindowNow(bool visible);

  TFormDef def_;
  bool modal_ = false;
  int modalResult_ = mrNone;
  bool inShowHide_ = false;
  bool scaledOnce_ = false;
  TControl* activeControl_ = nullptr;  // not owned; cleared when that control goes
};
