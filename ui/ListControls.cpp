#include "ui/ListControls.h"

#include "ui/Application.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace {
const TItemMessages kListBoxMessages = {LB_GETCOUNT,     LB_GETTEXTLEN,  LB_GETTEXT,
                                        LB_GETITEMDATA,  LB_SETITEMDATA, LB_ADDSTRING,
                                        LB_RESETCONTENT, LB_GETCURSEL,   LB_SETCURSEL};
const TItemMessages kComboBoxMessages = {CB_GETCOUNT,     CB_GETLBTEXTLEN, CB_GETLBTEXT,
                                         CB_GETITEMDATA,  CB_SETITEMDATA,  CB_ADDSTRING,
                                         CB_RESETCONTENT, CB_GETCURSEL,    CB_SETCURSEL};
// The drop-down list of a combo box shows this many items before it scrolls.
const int kDropDownItems = 8;
}  // namespace

TItemControl::TItemControl(TComponent* owner, const TItemMessages& messages)
    : TControl(owner), messages_(messages) {
  tabStop_ = true;
  color_ = GetSysColor(COLOR_WINDOW);
}

void TItemControl::CheckIndex(int index) {
  if (index < 0 || index >= Count()) throw EListError(LoadStr(SListIndexError));
}

int TItemControl::Count() {
  return static_cast<int>(SendMessageA(Handle(), messages_.count, 0, 0));
}

std::string TItemControl::ItemText(int index) {
  LRESULT n = SendMessageA(hwnd_, messages_.textLength, static_cast<WPARAM>(index), 0);
  if (n < 0) return std::string();
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = SendMessageA(hwnd_, messages_.text, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&s[0]));
  s.resize(n < 0 ? 0 : static_cast<size_t>(n));
  return s;
}

std::string TItemControl::Strings(int index) {
  CheckIndex(index);
  return ItemText(index);
}

void* TItemControl::Objects(int index) {
  CheckIndex(index);
  return reinterpret_cast<void*>(
      SendMessageA(hwnd_, messages_.getData, static_cast<WPARAM>(index), 0));
}

int TItemControl::AddItem(const std::string& text, void* data) {
  LRESULT i = SendMessageA(Handle(), messages_.add, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (i < 0) throw EListError(LoadStr(SInsertLineError));
  SendMessageA(hwnd_, messages_.setData, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(data));
  return static_cast<int>(i);
}

void TItemControl::Clear() { SendMessageA(Handle(), messages_.reset, 0, 0); }

int TItemControl::ItemIndex() {
  return static_cast<int>(SendMessageA(Handle(), messages_.getIndex, 0, 0));
}

void TItemControl::SetItemIndex(int index) {
  SendMessageA(Handle(), messages_.setIndex, static_cast<WPARAM>(index), 0);
}

bool TItemControl::DrawItem(const DRAWITEMSTRUCT& dis) {
  // No item: an empty list with the focus, or the closed field of a box with none selected.
  if (static_cast<int>(dis.itemID) < 0) {
    FillRect(dis.hDC, &dis.rcItem, GetSysColorBrush(COLOR_WINDOW));
    return true;
  }
  DrawItemAt(dis.hDC, static_cast<int>(dis.itemID), dis.rcItem,
             (dis.itemState & ODS_SELECTED) != 0);
  if (dis.itemState & ODS_FOCUS) DrawFocusRect(dis.hDC, &dis.rcItem);
  return true;
}

void TItemControl::DrawItemAt(HDC dc, int index, const RECT& rect, bool selected) {
  FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT r = rect;
  r.left += 2;
  DrawTextA(dc, ItemText(index).c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

TCustomListBox::TCustomListBox(TComponent* owner, const TListDef& def)
    : TItemControl(owner, kListBoxMessages), listDef_(def) {}

void TCustomListBox::GetCreateParams(CreateParams& params) {
  params.className = "LISTBOX";
  params.subclass = true;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                 (listDef_.sorted ? LBS_SORT : 0) |
                 (listDef_.ownerDrawFixed ? LBS_OWNERDRAWFIXED | LBS_HASSTRINGS : 0);
  params.exStyle = WS_EX_CLIENTEDGE;
}

void TItemControl::FontChanged() {
  TControl::FontChanged();
  if (int h = ItemHeightNeeded()) SetItemHeight(h);
}

void TCustomListBox::CreateWnd() {
  if (listDef_.ownerDrawFixed) SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, itemHeight_);
}

bool TCustomListBox::Selected(int index) {
  CheckIndex(index);
  return SendMessageA(hwnd_, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void TCustomListBox::SetItemHeight(int h) {
  itemHeight_ = h;
  if (hwnd_ && listDef_.ownerDrawFixed) {
    SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, h);
    Invalidate();
  }
}

void TCustomListBox::BeginUpdate() { SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0); }

void TCustomListBox::EndUpdate() {
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  Invalidate();
}

void TCustomListBox::CommandNotify(WORD code) {
  if (code == LBN_SELCHANGE)
    Click();
  else if (code == LBN_DBLCLK)
    DblClick();
}

void TCustomListBox::DblClick() {
  if (OnDblClick) OnDblClick(*this);
}

void TCustomListBox::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(*this, key);
}

TComboBox::TComboBox(TComponent* owner, TComboStyle style)
    : TItemControl(owner, kComboBoxMessages), style_(style) {}

void TComboBox::GetCreateParams(CreateParams& params) {
  params.className = "COMBOBOX";
  params.subclass = true;
  DWORD kind = style_ == csDropDown       ? CBS_DROPDOWN
               : style_ == csDropDownList ? CBS_DROPDOWNLIST
                                          : CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | CBS_AUTOHSCROLL | kind;
}

void TComboBox::CreateWnd() {
  // The height given is that of the closed box; the drop-down list gets room for some items.
  SetWindowPos(hwnd_, nullptr, 0, 0, width_, height_ + kDropDownItems * (itemHeight_ + 2),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetItemHeight(itemHeight_);
  // The window name given at creation does not reach the edit inside; a text set before the
  // window existed is put there now.
  if (style_ == csDropDown && !text_.empty()) SetWindowTextA(hwnd_, text_.c_str());
}

LRESULT TComboBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) {
    if (HBRUSH b = CtlColor(reinterpret_cast<HDC>(wp))) return reinterpret_cast<LRESULT>(b);
  }
  return TControl::WndProc(msg, wp, lp);
}

HBRUSH TComboBox::CtlColor(HDC dc) { return OwnColors(dc); }

void TComboBox::Clear() {
  std::string text = Text();
  TItemControl::Clear();
  if (style_ == csDropDown) SetWindowTextA(hwnd_, text.c_str());
}

void TComboBox::SetItemHeight(int h) {
  itemHeight_ = h;
  if (!hwnd_) return;
  SendMessageA(hwnd_, CB_SETITEMHEIGHT, 0, h);
  // An owner-drawn box draws its closed field as one more item of the same height; left alone,
  // the system sizes that field to the font, and the closed box comes out taller than designed.
  if (style_ == csOwnerDrawFixed) SendMessageA(hwnd_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), h);
}

bool TComboBox::DroppedDown() const {
  return hwnd_ && SendMessageA(hwnd_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

bool TComboBox::WantsKey(WPARAM key) const {
  return (key == VK_RETURN || key == VK_ESCAPE) && DroppedDown();
}

void TComboBox::CommandNotify(WORD code) {
  if (code == CBN_SELCHANGE) Click();
  // The edit inside an editable box takes the focus in its place; the box then tells its window,
  // as any control that takes the focus does.
  else if (code == CBN_SETFOCUS)
    FocusEntered();
}
