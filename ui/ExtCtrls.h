#pragma once
// Pictures, bevels, panels, picture buttons, the status bar and the progress bar.
#include "ui/Control.h"

class TImage : public TControl {
public:
  explicit TImage(TComponent* owner) : TControl(owner) {}
  bool IsGraphic() const override { return true; }
  const TBitmap& Picture() const { return picture_; }
  void SetPicture(TBitmap&& b);
  void SetStretch(bool s) { stretch_ = s; Invalidate(); }
  // Shows an icon resource of this program instead of a bitmap.
  void SetIcon(const char* resourceName);
  void PaintContent(HDC dc) override;

protected:
  const char* ClassName() const override { return "TImage"; }

private:
  TBitmap picture_;  // owned
  HICON icon_ = nullptr;  // a shared resource icon; the system frees it with the module
  bool stretch_ = false;
  // The picture stretched to the control's size, made at the first drawing that needs it: every
  // label lying on the picture draws it again below itself, and copying is cheaper than
  // stretching. Made again when the picture or the size changes.
  GdiObject<HBITMAP> stretched_;
  int stretchedWidth_ = 0, stretchedHeight_ = 0;
};

enum TBevelShape { bsBox, bsFrame };

class TBevel : public TControl {
public:
  explicit TBevel(TComponent* owner, TBevelShape shape = bsFrame, bool lowered = true)
      : TControl(owner), shape_(shape), lowered_(lowered) {}
  bool IsGraphic() const override { return true; }
  void PaintContent(HDC dc) override;

protected:
  const char* ClassName() const override { return "TBevel"; }

private:
  TBevelShape shape_;
  bool lowered_;
};

class TPanel : public TWinControl {
public:
  explicit TPanel(TComponent* owner) : TWinControl(owner) {}

protected:
  const char* ClassName() const override { return "TPanel"; }
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

// A flat button with a glyph that never takes the keyboard focus. The glyph holds the normal and
// the disabled image side by side; its bottom-left pixel's colour is left out.
class TSpeedButton : public TControl {
public:
  explicit TSpeedButton(TComponent* owner) : TControl(owner) {}
  void SetGlyph(TBitmap&& glyph, int numGlyphs);
  bool CanFocus() const override { return false; }

protected:
  const char* ClassName() const override { return "TSpeedButton"; }
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
  void Paint(HDC dc);
  TBitmap glyph_;  // owned
  int numGlyphs_ = 1;
  bool down_ = false;
};

// The bar along the bottom edge of a window; it holds no text. When the window can be sized, the
// bar's right-hand corner holds the grip that sizes it. Drawn here rather than by the common
// controls' class, whose library would be loaded before the first window shows for this alone.
class TStatusBar : public TControl {
public:
  explicit TStatusBar(TComponent* owner) : TControl(owner) { align_ = alBottom; }

protected:
  const char* ClassName() const override { return "TStatusBar"; }
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
  // The grip's place in the bar, or an empty rectangle when the window cannot be sized now.
  RECT Grip() const;
};

class TProgressBar : public TControl {
public:
  explicit TProgressBar(TComponent* owner) : TControl(owner) {}
  void SetRange(int min, int max);
  int Position() const { return position_; }
  void SetPosition(int p);
  void SetStep(int s) { step_ = s; }

protected:
  void GetCreateParams(CreateParams& params) override;
  void CreateWnd() override;

private:
  int min_ = 0, max_ = 100, step_ = 10, position_ = 0;
};
