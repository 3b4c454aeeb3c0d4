#include "Driver.h"

#include <algorithm>

namespace drv {
namespace {

constexpr DWORD kPollMs = 50;
// How long one message may wait for the program's thread; a program busy copying files answers
// late, and the waits below simply try again.
constexpr UINT kAnswerMs = 5000;

std::wstring Wide(const std::string& s) {
  if (s.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
  return w;
}

std::string Narrow(const wchar_t* w, int length) {
  if (length <= 0) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, w, length, nullptr, 0, nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_ACP, 0, w, length, &s[0], n, nullptr, nullptr);
  return s;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string Describe(HWND hwnd) {
  char buf[32];
  wsprintfA(buf, "%p", static_cast<void*>(hwnd));
  return "window " + std::string(buf) + " (class " + Quoted(ClassNameOf(hwnd)) + ")";
}

// Messages to another thread's or process's window go through here, so that a program that has
// stopped answering gives an error instead of holding the driver for ever. Texts travel as
// UTF-16 (the system converts them for the program's ANSI windows): the ANSI forms of the item
// messages bring only the first character across processes.
LRESULT Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_NORMAL | SMTO_ABORTIFHUNG, kAnswerMs, &result)) {
    if (!IsWindow(hwnd)) throw Error("the window is gone");
    throw Error(Describe(hwnd) + " did not answer");
  }
  return static_cast<LRESULT>(result);
}

bool IsClass(HWND hwnd, const char* name) {
  return lstrcmpiA(ClassNameOf(hwnd).c_str(), name) == 0;
}

std::string CaptionOf(HWND hwnd) {
  wchar_t buf[512];
  int n = GetWindowTextW(hwnd, buf, 512);
  return Narrow(buf, n);
}

struct CaptionSearch {
  const std::string* caption;
  DWORD pid;
  bool dialogsOnly;
  HWND found;
};

BOOL CALLBACK MatchCaption(HWND hwnd, LPARAM lp) {
  CaptionSearch* s = reinterpret_cast<CaptionSearch*>(lp);
  if (!IsWindowVisible(hwnd)) return TRUE;
  if (s->pid && ProcessOf(hwnd) != s->pid) return TRUE;
  if (s->dialogsOnly && !IsClass(hwnd, "#32770")) return TRUE;
  if (CaptionOf(hwnd) != *s->caption) return TRUE;
  s->found = hwnd;
  return FALSE;
}

HWND FindTop(const std::string& caption, DWORD pid, bool dialogsOnly) {
  CaptionSearch s = {&caption, pid, dialogsOnly, nullptr};
  EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND WaitTop(const std::string& caption, DWORD timeoutMs, DWORD pid, bool dialogsOnly) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND h = FindTop(caption, pid, dialogsOnly)) return h;
    if (GetTickCount() - start >= timeoutMs) break;
    Sleep(kPollMs);
  }
  throw Error(std::string(dialogsOnly ? "no dialog box" : "no window") + " captioned " +
              Quoted(caption) + " appeared within " + std::to_string(timeoutMs) + " ms");
}

int ScaleToScreen(int designPixels) {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return MulDiv(designPixels, dpi > 0 ? dpi : 96, 96);
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
  return all;
}

BOOL CALLBACK CollectVisible(HWND hwnd, LPARAM lp) {
  if (IsWindowVisible(hwnd))
    reinterpret_cast<std::vector<WindowInfo>*>(lp)->push_back(
        {hwnd, CaptionOf(hwnd), ClassNameOf(hwnd), ProcessOf(hwnd)});
  return TRUE;
}

std::string WithoutMnemonics(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&' && i + 1 < s.size()) ++i;  // "&&" stands for one ampersand
    else if (s[i] == '&') continue;
    out += s[i];
  }
  return out;
}

void RequireClickable(HWND hwnd) {
  if (!IsWindow(hwnd)) throw Error("the control is gone");
  if (!IsWindowVisible(hwnd)) throw Error(Describe(hwnd) + " " + Quoted(Text(hwnd)) + " is hidden");
  for (HWND h = hwnd; h; h = GetAncestor(h, GA_PARENT)) {
    if (h == GetDesktopWindow()) break;
    if (!IsWindowEnabled(h))
      throw Error(Describe(hwnd) + " " + Quoted(Text(hwnd)) +
                  (h == hwnd ? " is disabled" : " lies in a disabled window"));
  }
}

}  // namespace

HWND FindWindowByCaption(const std::string& caption, DWORD pid) {
  return FindTop(caption, pid, false);
}

std::vector<WindowInfo> VisibleWindows() {
  std::vector<WindowInfo> out;
  EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&out));
  return out;
}

HWND WaitWindow(const std::string& caption, DWORD timeoutMs, DWORD pid) {
  return WaitTop(caption, timeoutMs, pid, false);
}

void WaitGone(const std::string& caption, DWORD timeoutMs, DWORD pid) {
  DWORD start = GetTickCount();
  while (FindTop(caption, pid, false)) {
    if (GetTickCount() - start >= timeoutMs)
      throw Error("the window captioned " + Quoted(caption) + " was still there after " +
                  std::to_string(timeoutMs) + " ms");
    Sleep(kPollMs);
  }
}

HWND ControlAt(HWND top, int x, int y) {
  POINT pt = {ScaleToScreen(x), ScaleToScreen(y)};
  HWND parent = top, found = nullptr;
  for (;;) {
    HWND child = ChildWindowFromPointEx(parent, pt, CWP_SKIPINVISIBLE);
    if (!child || child == parent) break;
    found = child;
    // A person sees a combo box as one control, not as an edit field inside one.
    if (IsClass(child, "ComboBox")) break;
    MapWindowPoints(parent, child, &pt, 1);
    parent = child;
  }
  return found;
}

HWND RequireControlAt(HWND top, int x, int y) {
  HWND h = ControlAt(top, x, y);
  if (!h)
    throw Error("no control at " + std::to_string(x) + ", " + std::to_string(y) +
                " of the window " + Quoted(CaptionOf(top)));
  return h;
}

std::string ClassNameOf(HWND hwnd) {
  char buf[256];
  int n = GetClassNameA(hwnd, buf, sizeof buf);
  return std::string(buf, n > 0 ? n : 0);
}

std::string Text(HWND hwnd) {
  LRESULT length = Send(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring buf(static_cast<size_t>(length) + 1, L'\0');
  LRESULT got = Send(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(&buf[0]));
  return Narrow(buf.c_str(), static_cast<int>(std::min<LRESULT>(got, length)));
}

void SetText(HWND hwnd, const std::string& text) {
  std::wstring w = Wide(text);
  if (!Send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str())))
    throw Error(Describe(hwnd) + " refused the text " + Quoted(text));
}

void WaitText(HWND top, int x, int y, const std::string& text, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  std::string seen = "no control there";
  for (;;) {
    if (!IsWindow(top)) throw Error("the window closed while waiting for " + Quoted(text));
    if (HWND h = ControlAt(top, x, y)) {
      try {
        std::string now = Text(h);
        if (now == text) return;
        seen = "it reads " + Quoted(now);
      } catch (const Error&) {
        seen = "it did not answer";  // busy; the next round asks again
      }
    }
    if (GetTickCount() - start >= timeoutMs) break;
    Sleep(kPollMs);
  }
  throw Error("the control at " + std::to_string(x) + ", " + std::to_string(y) + " of " +
              Quoted(CaptionOf(top)) + " did not read " + Quoted(text) + " within " +
              std::to_string(timeoutMs) + " ms; " + seen);
}

void Click(HWND hwnd) {
  RequireClickable(hwnd);
  if (IsClass(hwnd, "Button")) {
    PostMessageW(hwnd, BM_CLICK, 0, 0);
    return;
  }
  RECT r;
  GetClientRect(hwnd, &r);
  LPARAM centre = MAKELPARAM(r.right / 2, r.bottom / 2);
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  PostMessageW(hwnd, WM_LBUTTONUP, 0, centre);
}

std::vector<std::string> Items(HWND hwnd) {
  bool combo = IsClass(hwnd, "ComboBox");
  if (!combo && !IsClass(hwnd, "ListBox") && !IsClass(hwnd, "ComboLBox"))
    throw Error(Describe(hwnd) + " is neither a list box nor a combo box");
  LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  bool ownerDrawn = combo ? (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0
                          : (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
  bool hasStrings = (style & (combo ? CBS_HASSTRINGS : LBS_HASSTRINGS)) != 0;
  if (ownerDrawn && !hasStrings) throw Error(Describe(hwnd) + " keeps no item texts");
  UINT getCount = combo ? CB_GETCOUNT : LB_GETCOUNT;
  UINT getLength = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  UINT getText = combo ? CB_GETLBTEXT : LB_GETTEXT;
  LRESULT count = Send(hwnd, getCount, 0, 0);
  if (count < 0) throw Error(Describe(hwnd) + " did not give its number of items");
  std::vector<std::string> items;
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = Send(hwnd, getLength, i, 0);
    if (length < 0) throw Error(Describe(hwnd) + " lost item " + std::to_string(i));
    std::wstring buf(static_cast<size_t>(length) + 1, L'\0');
    LRESULT got = Send(hwnd, getText, i, reinterpret_cast<LPARAM>(&buf[0]));
    if (got < 0) throw Error(Describe(hwnd) + " lost item " + std::to_string(i));
    items.push_back(Narrow(buf.c_str(), static_cast<int>(std::min(got, length))));
  }
  return items;
}

int SelectedIndex(HWND hwnd) {
  bool combo = IsClass(hwnd, "ComboBox");
  if (!combo && !IsClass(hwnd, "ListBox") && !IsClass(hwnd, "ComboLBox"))
    throw Error(Describe(hwnd) + " is neither a list box nor a combo box");
  LRESULT i = Send(hwnd, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
  return i < 0 ? -1 : static_cast<int>(i);
}

HWND WaitDialog(const std::string& caption, DWORD timeoutMs, DWORD pid) {
  return WaitTop(caption, timeoutMs, pid, true);
}

std::string MessageText(HWND box) {
  for (HWND h : Descendants(box)) {
    if (!IsClass(h, "Static")) continue;
    if ((GetWindowLongA(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
    return Text(h);
  }
  throw Error(Describe(box) + " " + Quoted(CaptionOf(box)) + " shows no message");
}

HWND FindButton(HWND window, const std::string& text) {
  std::string wanted = WithoutMnemonics(text);
  for (HWND h : Descendants(window))
    if (IsClass(h, "Button") && WithoutMnemonics(Text(h)) == wanted) return h;
  throw Error("the window " + Quoted(CaptionOf(window)) + " has no button " + Quoted(text));
}

void PressButton(HWND window, const std::string& text) { Click(FindButton(window, text)); }

void PressButton(HWND window, int id) {
  HWND h = GetDlgItem(window, id);
  if (!h)
    throw Error("the window " + Quoted(CaptionOf(window)) + " has no control with id " +
                std::to_string(id));
  Click(h);
}

Key ParseKey(const std::string& name) {
  std::string n = name;
  for (char& c : n) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (n == "enter" || n == "return") return Key::Enter;
  if (n == "escape" || n == "esc") return Key::Escape;
  if (n == "space") return Key::Space;
  if (n == "tab") return Key::Tab;
  throw Error("unknown key " + Quoted(name) + " (keys: enter, escape, space, tab)");
}

void PressKey(HWND hwnd, Key key) {
  UINT vk = VK_RETURN;
  wchar_t ch = L'\r';
  switch (key) {
    case Key::Enter: vk = VK_RETURN; ch = L'\r'; break;
    case Key::Escape: vk = VK_ESCAPE; ch = 0x1B; break;
    case Key::Space: vk = VK_SPACE; ch = L' '; break;
    case Key::Tab: vk = VK_TAB; ch = L'\t'; break;
  }
  if (!IsWindow(hwnd)) throw Error("the control is gone");
  LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
  LPARAM down = 1 | scan;
  // Key up: the previous-state and transition bits set.
  LPARAM up = static_cast<LPARAM>(static_cast<DWORD>(down) | 0xC0000000u);
  PostMessageW(hwnd, WM_KEYDOWN, vk, down);
  PostMessageW(hwnd, WM_CHAR, ch, down);
  PostMessageW(hwnd, WM_KEYUP, vk, up);
}

void Close(HWND top) {
  if (!PostMessageW(top, WM_CLOSE, 0, 0)) throw Error("the window is gone");
}

bool WaitProcess(HANDLE process, DWORD timeoutMs) {
  return WaitForSingleObject(process, timeoutMs) != WAIT_TIMEOUT;
}

bool WaitProcessId(DWORD pid, DWORD timeoutMs) {
  HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!h) return true;
  bool ended = WaitProcess(h, timeoutMs);
  CloseHandle(h);
  return ended;
}

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

}  // namespace drv
