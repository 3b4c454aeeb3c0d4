#pragma once
// List boxes and combo boxes. Items are kept by the window itself (with their strings, so they can
// be read from outside), each with one pointer of data; owner-drawn kinds draw through DrawItemAt.
#include "ui/Control.h"

struct TListDef {
  bool sorted = false;
  bool ownerDrawFixed = false;
};

class TCustomListBox : public TControl {
public:
  TCustomListBox(TComponent* owner, const TListDef& def = TListDef());

  // Item operations; they make the window when it does not exist yet.
  int Count();
  std::string Strings(int index);
  void* Objects(int index);
  // Adds an item (at its sorted place in a sorted list) and returns its index.
  int AddItem(const std::string& text, void* data = nullptr);
  int InsertItem(int index, const std::string& text, void* data = nullptr);
  void DeleteItem(int index);
  void Clear();
  int IndexOf(const std::string& text);
  int ItemIndex();
  void SetItemIndex(int index);
  bool Selected(int index);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int h);
  // Suspends and resumes drawing while the list is rebuilt.
  void BeginUpdate();
  void EndUpdate();

  TNotifyEvent OnDblClick;
  std::function<void(TComponent&, char&)> OnKeyPress;

protected:
  void GetCreateParams(CreateParams& params) override;
  void CommandNotify(WORD code) override;
  bool DrawItem(const DRAWITEMSTRUCT& dis) override;
  void KeyPress(char& key) override;
  void CreateWnd() override;
  virtual void DblClick();
  // Draws one item of an owner-drawn list; the default draws its text.
  virtual void DrawItemAt(HDC dc, int index, const RECT& rect, bool selected);
  void CheckIndex(int index);

  TListDef listDef_;
  int itemHeight_ = 13;
};

class TListBox : public TCustomListBox {
public:
  using TCustomListBox::TCustomListBox;
};

enum TComboStyle { csDropDown, csDropDownList, csOwnerDrawFixed };

class TComboBox : public TControl {
public:
  TComboBox(TComponent* owner, TComboStyle style = csDropDown);

  int Count();
  std::string Strings(int index);
  void* Objects(int index);
  int AddItem(const std::string& text, void* data = nullptr);
  void Clear();
  int ItemIndex();
  void SetItemIndex(int index);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int h);
  bool DroppedDown() const;
  // Whether the window and so the item list exist yet.
  bool HasItems() const { return HandleAllocated(); }

protected:
  void GetCreateParams(CreateParams& params) override;
  void CreateWnd() override;
  void CommandNotify(WORD code) override;
  bool DrawItem(const DRAWITEMSTRUCT& dis) override;
  HBRUSH CtlColor(HDC dc) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  virtual void DrawItemAt(HDC dc, int index, const RECT& rect, bool selected);
  void CheckIndex(int index);

  TComboStyle style_;
  int itemHeight_ = 13;

private:
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  WNDPROC editProc_ = nullptr;
};
