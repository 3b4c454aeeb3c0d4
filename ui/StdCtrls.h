#pragma once
// Labels, single-line edits and push buttons.
#include "ui/Control.h"

enum TAlignment { taLeftJustify, taCenter };

// A label drawn through onto what lies below it; its window carries the caption.
class TLabel : public TControl {
public:
  explicit TLabel(TComponent* owner);
  bool IsGraphic() const override { return true; }
  void SetText(const std::string& text) override;
  void SetWordWrap(bool w) { wordWrap_ = w; AdjustSize(); }
  void SetAutoSize(bool a) { autoSize_ = a; AdjustSize(); }
  bool AutoSize() const { return autoSize_; }
  void SetAlignment(TAlignment a) { alignment_ = a; Invalidate(); }
  // False for a label that shows names it did not choose: '&' is then drawn as itself.
  void SetShowAccelChar(bool show) { showAccelChar_ = show; AdjustSize(); }
  void PaintContent(HDC dc) override;

protected:
  const char* ClassName() const override { return "TLabel"; }
  void FontChanged() override;

private:
  UINT TextFlags() const;
  void AdjustSize();
  void FitToText(const std::string& text);
  bool wordWrap_ = false;
  bool autoSize_ = true;
  TAlignment alignment_ = taLeftJustify;
  bool showAccelChar_ = true;
};

class TEdit : public TControl {
public:
  explicit TEdit(TComponent* owner);
  void SetBorder(bool b) { border_ = b; }
  void SelectAll();

protected:
  void GetCreateParams(CreateParams& params) override;
  HBRUSH CtlColor(HDC dc) override;

private:
  bool border_ = true;
};

class TButton : public TControl {
public:
  explicit TButton(TComponent* owner);
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int r) { modalResult_ = r; }
  bool Default() const { return default_; }
  void SetDefault(bool d) { default_ = d; }
  bool Cancel() const { return cancel_; }
  void SetCancel(bool c) { cancel_ = c; }
  // Sets the window's modal result to the button's, then runs the click handler.
  void Click() override;
  bool PressedBy(WPARAM key, bool focused) const override;

protected:
  void GetCreateParams(CreateParams& params) override;
  void CommandNotify(WORD code) override;

private:
  int modalResult_ = 0;
  bool default_ = false;
  bool cancel_ = false;
};

class TForm;
// A push button of the common size (75 by 25) on a form: its place, tab order, caption and what
// a click does (a button without a handler ends a modal showing with its modal result alone).
TButton* PushButton(TForm* form, const std::string& name, int left, int top, int tabOrder,
                    const std::string& caption, TNotifyEvent onClick = nullptr);
