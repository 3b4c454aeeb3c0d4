#include "ui/ListControls.h"

#include "ui/Application.h"
#include "ui/Errors.h"
#include "ui/Form.h"
#include "ui/Messages.h"

namespace {
std::string ItemText(HWND h, UINT lenMsg, UINT textMsg, int index) {
  LRESULT n = SendMessageA(h, lenMsg, static_cast<WPARAM>(index), 0);
  if (n < 0) return std::string();
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = SendMessageA(h, textMsg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&s[0]));
  s.resize(n < 0 ? 0 : static_cast<size_t>(n));
  return s;
}

void DrawPlainItem(HDC dc, const std::string& text, const RECT& rect, bool selected) {
  FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT r = rect;
  r.left += 2;
  DrawTextA(dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}
}  // namespace

TCustomListBox::TCustomListBox(TComponent* owner, const TListDef& def)
    : TControl(owner), listDef_(def) {
  tabStop_ = true;
  color_ = GetSysColor(COLOR_WINDOW);
}

void TCustomListBox::GetCreateParams(CreateParams& params) {
  params.className = "LISTBOX";
  params.subclass = true;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                 (listDef_.sorted ? LBS_SORT : 0) |
                 (listDef_.ownerDrawFixed ? LBS_OWNERDRAWFIXED | LBS_HASSTRINGS : 0);
  params.exStyle = WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd() {
  if (listDef_.ownerDrawFixed) SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, itemHeight_);
}

void TCustomListBox::CheckIndex(int index) {
  if (index < 0 || index >= Count()) throw EListError(LoadStr(SListIndexError));
}

int TCustomListBox::Count() { return static_cast<int>(SendMessageA(Handle(), LB_GETCOUNT, 0, 0)); }

std::string TCustomListBox::Strings(int index) {
  CheckIndex(index);
  return ItemText(hwnd_, LB_GETTEXTLEN, LB_GETTEXT, index);
}

void* TCustomListBox::Objects(int index) {
  CheckIndex(index);
  return reinterpret_cast<void*>(SendMessageA(hwnd_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

int TCustomListBox::AddItem(const std::string& text, void* data) {
  LRESULT i = SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (i < 0) throw EListError(LoadStr(SInsertLineError));
  SendMessageA(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(data));
  return static_cast<int>(i);
}

int TCustomListBox::InsertItem(int index, const std::string& text, void* data) {
  LRESULT i = SendMessageA(Handle(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(text.c_str()));
  if (i < 0) throw EListError(LoadStr(SInsertLineError));
  SendMessageA(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(data));
  return static_cast<int>(i);
}

void TCustomListBox::DeleteItem(int index) {
  CheckIndex(index);
  SendMessageA(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TCustomListBox::Clear() { SendMessageA(Handle(), LB_RESETCONTENT, 0, 0); }

int TCustomListBox::IndexOf(const std::string& text) {
  int n = Count();
  for (int i = 0; i < n; ++i)
    if (lstrcmpiA(Strings(i).c_str(), text.c_str()) == 0) return i;
  return -1;
}

int TCustomListBox::ItemIndex() { return static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0)); }

void TCustomListBox::SetItemIndex(int index) {
  SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
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
  if (code == LBN_SELCHANGE) Click();
  else if (code == LBN_DBLCLK) DblClick();
}

void TCustomListBox::DblClick() {
  if (OnDblClick) OnDblClick(*this);
}

void TCustomListBox::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(*this, key);
}

bool TCustomListBox::DrawItem(const DRAWITEMSTRUCT& dis) {
  if (static_cast<int>(dis.itemID) < 0) return true;
  DrawItemAt(dis.hDC, static_cast<int>(dis.itemID), dis.rcItem, (dis.itemState & ODS_SELECTED) != 0);
  if (dis.itemState & ODS_FOCUS) DrawFocusRect(dis.hDC, &dis.rcItem);
  return true;
}

void TCustomListBox::DrawItemAt(HDC dc, int index, const RECT& rect, bool selected) {
  DrawPlainItem(dc, ItemText(hwnd_, LB_GETTEXTLEN, LB_GETTEXT, index), rect, selected);
}

TComboBox::TComboBox(TComponent* owner, TComboStyle style) : TControl(owner), style_(style) {
  tabStop_ = true;
  color_ = GetSysColor(COLOR_WINDOW);
}

void TComboBox::GetCreateParams(CreateParams& params) {
  params.className = "COMBOBOX";
  params.subclass = true;
  DWORD kind = style_ == csDropDown ? CBS_DROPDOWN
             : style_ == csDropDownList ? CBS_DROPDOWNLIST
             : CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | CBS_AUTOHSCROLL | kind;
}

void TComboBox::CreateWnd() {
  // The height given is that of the closed box; the drop-down list gets room for some items.
  SetWindowPos(hwnd_, nullptr, 0, 0, width_, height_ + 8 * (itemHeight_ + 2),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetItemHeight(itemHeight_);
  // The window name given at creation does not reach the edit inside; a text set before the
  // window existed is put there now.
  if (style_ == csDropDown && !text_.empty()) SetWindowTextA(hwnd_, text_.c_str());
  if (style_ == csDropDown) {
    // The edit inside takes the focus; it must tell the window, as any control does.
    HWND edit = GetWindow(hwnd_, GW_CHILD);
    if (edit) {
      SetPropA(edit, "VelmoraCombo", this);
      editProc_ = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
    }
  }
}

LRESULT CALLBACK TComboBox::EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* combo = static_cast<TComboBox*>(GetPropA(hwnd, "VelmoraCombo"));
  if (!combo) return DefWindowProcA(hwnd, msg, wp, lp);
  WNDPROC old = combo->editProc_;
  if (msg == WM_SETFOCUS) {
    try {
      if (TForm* f = combo->ParentForm()) {
        f->SetActiveControl(combo);
        Screen->ControlFocused(f);
      }
    } catch (const std::exception& e) {
      Application->HandleException(e);
    }
  } else if (msg == WM_NCDESTROY) {
    RemovePropA(hwnd, "VelmoraCombo");
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
  }
  return CallWindowProcA(old, hwnd, msg, wp, lp);
}

LRESULT TComboBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) {
    if (HBRUSH b = CtlColor(reinterpret_cast<HDC>(wp))) return reinterpret_cast<LRESULT>(b);
  }
  if (msg == WM_SETCURSOR && Screen && Screen->Cursor() != crDefault) {
    ::SetCursor(Screen->CursorHandle());
    return TRUE;
  }
  return TControl::WndProc(msg, wp, lp);
}

HBRUSH TComboBox::CtlColor(HDC dc) {
  if (!brush_) brush_.Reset(CreateSolidBrush(color_));
  SetBkColor(dc, color_);
  SetTextColor(dc, font_.Color());
  return brush_.Get();
}

void TComboBox::CheckIndex(int index) {
  if (index < 0 || index >= Count()) throw EListError(LoadStr(SListIndexError));
}

int TComboBox::Count() { return static_cast<int>(SendMessageA(Handle(), CB_GETCOUNT, 0, 0)); }

std::string TComboBox::Strings(int index) {
  CheckIndex(index);
  return ItemText(hwnd_, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

void* TComboBox::Objects(int index) {
  CheckIndex(index);
  return reinterpret_cast<void*>(SendMessageA(hwnd_, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

int TComboBox::AddItem(const std::string& text, void* data) {
  LRESULT i = SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (i < 0) throw EListError(LoadStr(SInsertLineError));
  SendMessageA(hwnd_, CB_SETITEMDATA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(data));
  return static_cast<int>(i);
}

void TComboBox::Clear() {
  // Emptying the list keeps the text of an editable box.
  std::string text = Text();
  SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
  if (style_ == csDropDown) SetWindowTextA(hwnd_, text.c_str());
}

int TComboBox::ItemIndex() { return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0)); }

void TComboBox::SetItemIndex(int index) {
  SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TComboBox::SetItemHeight(int h) {
  itemHeight_ = h;
  if (!hwnd_) return;
  SendMessageA(hwnd_, CB_SETITEMHEIGHT, 0, h);
  // An owner-drawn box draws its closed field as one more item of the same height; left alone,
  // the system sizes that field to the font, and the closed box comes out taller than designed.
  if (style_ == csOwnerDrawFixed)
    SendMessageA(hwnd_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), h);
}

bool TComboBox::DroppedDown() const {
  return hwnd_ && SendMessageA(hwnd_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TComboBox::CommandNotify(WORD code) {
  if (code == CBN_SELCHANGE) Click();
}

bool TComboBox::DrawItem(const DRAWITEMSTRUCT& dis) {
  if (static_cast<int>(dis.itemID) < 0) {
    FillRect(dis.hDC, &dis.rcItem, GetSysColorBrush(COLOR_WINDOW));
    return true;
  }
  DrawItemAt(dis.hDC, static_cast<int>(dis.itemID), dis.rcItem, (dis.itemState & ODS_SELECTED) != 0);
  if (dis.itemState & ODS_FOCUS) DrawFocusRect(dis.hDC, &dis.rcItem);
  return true;
}

void TComboBox::DrawItemAt(HDC dc, int index, const RECT& rect, bool selected) {
  DrawPlainItem(dc, ItemText(hwnd_, CB_GETLBTEXTLEN, CB_GETLBTEXT, index), rect, selected);
}
