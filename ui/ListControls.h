#pragma once
// List boxes and combo boxes. Items are kept by the window itself (with their strings, so they can
// be read from outside), each with one pointer of data; owner-drawn kinds draw through DrawItemAt.
#include "ui/Control.h"

// The messages of one kind of item window; list boxes and combo boxes differ only in these.
struct TItemMessages {
  UINT count, textLength, text, getData, setData, add, reset, getIndex, setIndex;
};

// What list boxes and combo boxes share: their items and the selected one.
class TItemControl : public TControl {
public:
  // Item operations; they make the window when it does not exist yet.
  int Count();
  std::string Strings(int index);
  void* Objects(int index);
  // Adds an item (at its sorted place in a sorted list) and returns its index.
  int AddItem(const std::string& text, void* data = nullptr);
  virtual void Clear();
  int ItemIndex();
  void SetItemIndex(int index);
  int ItemHeight() const { return itemHeight_; }
  virtual void SetItemHeight(int h) { itemHeight_ = h; }

protected:
  TItemControl(TComponent* owner, const TItemMessages& messages);
  // The item height that an owner-drawn kind's drawing needs with the present font; 0 keeps the
  // height as it is. Asked again whenever the font changes.
  virtual int ItemHeightNeeded() { return 0; }
  void FontChanged() override;
  bool DrawItem(const DRAWITEMSTRUCT& dis) override;
  // Draws one item of an owner-drawn kind; the default draws its text.
  virtual void DrawItemAt(HDC dc, int index, const RECT& rect, bool selected);
  void CheckIndex(int index);

  int itemHeight_ = 13;

private:
  std::string ItemText(int index);
  const TItemMessages& messages_;
};

struct TListDef {
  bool sorted = false;
  bool ownerDrawFixed = false;
};

class TCustomListBox : public TItemControl {
public:
  TCustomListBox(TComponent* owner, const TListDef& def = TListDef());

  bool Selected(int index);
  void SetItemHeight(int h) override;
  // Suspends and resumes drawing while the list is rebuilt.
  void BeginUpdate();
  void EndUpdate();

  TNotifyEvent OnDblClick;
  std::function<void(TComponent&, char&)> OnKeyPress;

protected:
  void GetCreateParams(CreateParams& params) override;
  void CommandNotify(WORD code) override;
  void KeyPress(char& key) override;
  void CreateWnd() override;
  virtual void DblClick();

  TListDef listDef_;
};

class TListBox : public TCustomListBox {
public:
  using TCustomListBox::TCustomListBox;
};

enum TComboStyle { csDropDown, csDropDownList, csOwnerDrawFixed };

class TComboBox : public TItemControl {
public:
  TComboBox(TComponent* owner, TComboStyle style = csDropDown);

  // Emptying the list keeps the text of an editable box.
  void Clear() override;
  void SetItemHeight(int h) override;
  bool DroppedDown() const;
  // An open list closes on Enter and Escape.
  bool WantsKey(WPARAM key) const override;

protected:
  void GetCreateParams(CreateParams& params) override;
  void CreateWnd() override;
  void CommandNotify(WORD code) override;
  HBRUSH CtlColor(HDC dc) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

  TComboStyle style_;
};
