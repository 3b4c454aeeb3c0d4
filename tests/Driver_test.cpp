// The driver against real windows: a host window on a thread of its own with its own message
// loop, so that every message the driver sends crosses threads as it crosses processes when the
// driver works the installer.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "driver/Driver.h"
#include "support/Wait.h"

namespace {

const char kHostCaption[] = "Driver Test Host";
const char kHiddenCaption[] = "Driver Test Hidden";
const char kSpareCaption[] = "Driver Test Spare";
const char kBoxCaption[] = "Driver Test Box";
const int kButtonId = 101;
const UINT kShowBox = WM_APP + 1;  // wParam: the message box's flags

// What the host thread made and saw; written there, read by the test thread after waits.
struct Host {
  HWND top = nullptr, hidden = nullptr, spare = nullptr;
  HWND edit = nullptr, button = nullptr, list = nullptr, combo = nullptr, label = nullptr;
  HWND pad = nullptr, overLabel = nullptr, inner = nullptr;
  HANDLE ready = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE clicked = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE padClicked = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE boxClosed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::atomic<int> boxResult{0};
  std::atomic<int> padX{-1}, padY{-1};
};
Host* host = nullptr;

int Px(int designPixels) {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return MulDiv(designPixels, dpi, 96);
}

HWND Child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w,
           int h, int id = 0) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, Px(x), Px(y), Px(w), Px(h),
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == kButtonId && HIWORD(wp) == BN_CLICKED) SetEvent(host->clicked);
      return 0;
    case kShowBox:
      host->boxResult = MessageBoxA(hwnd, "Something happened.", kBoxCaption,
                                    static_cast<UINT>(wp));
      SetEvent(host->boxClosed);
      return 0;
    case WM_DESTROY:
      if (hwnd == host->top) PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// A control of our own class, standing in for a picture button: it counts a press and a
// release of the left button inside it as a click.
LRESULT CALLBACK PadProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  static bool down = false;
  switch (msg) {
    case WM_LBUTTONDOWN:
      down = true;
      return 0;
    case WM_LBUTTONUP:
      if (down) {
        host->padX = static_cast<short>(LOWORD(lp));
        host->padY = static_cast<short>(HIWORD(lp));
        SetEvent(host->padClicked);
      }
      down = false;
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

DWORD WINAPI HostThread(void*) {
  HINSTANCE self = GetModuleHandleA(nullptr);
  WNDCLASSA wc = {};
  wc.hInstance = self;
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpfnWndProc = HostProc;
  wc.lpszClassName = "DriverTestHost";
  RegisterClassA(&wc);
  wc.lpfnWndProc = PadProc;
  wc.lpszClassName = "DriverTestPad";
  RegisterClassA(&wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "DriverTestPanel";
  RegisterClassA(&wc);

  RECT r = {0, 0, Px(300), Px(220)};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  auto topLevel = [&](const char* caption, bool visible) {
    return CreateWindowExA(0, "DriverTestHost", caption,
                           WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 20, 20,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, self, nullptr);
  };
  host->top = topLevel(kHostCaption, true);
  host->hidden = topLevel(kHiddenCaption, false);
  host->spare = topLevel(kSpareCaption, true);

  HWND top = host->top;
  host->edit = Child(top, "EDIT", "edit text", WS_BORDER | ES_AUTOHSCROLL, 10, 10, 100, 20);
  host->button = Child(top, "BUTTON", "Press &Me", BS_PUSHBUTTON, 120, 10, 80, 24, kButtonId);
  host->list = Child(top, "LISTBOX", "", WS_BORDER, 10, 40, 100, 60);
  for (const char* item : {"one", "two", "three"})
    SendMessageA(host->list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SendMessageA(host->list, LB_SETCURSEL, 1, 0);
  host->combo = Child(top, "COMBOBOX", "", CBS_DROPDOWN, 120, 40, 100, 100);
  for (const char* item : {"alpha", "beta"})
    SendMessageA(host->combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  host->label = Child(top, "STATIC", "a label", 0, 10, 110, 100, 16);
  // A hidden button over the label: a person sees the label there.
  host->overLabel = Child(top, "BUTTON", "hidden", 0, 10, 110, 50, 16);
  ShowWindow(host->overLabel, SW_HIDE);
  host->pad = Child(top, "DriverTestPad", "pad", 0, 120, 110, 40, 30);
  HWND panel = Child(top, "DriverTestPanel", "", 0, 10, 150, 100, 40);
  host->inner = Child(panel, "STATIC", "inner", 0, 5, 5, 60, 16);
  SetEvent(host->ready);

  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return 0;
}

class Driver : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    host = new Host;
    thread_ = CreateThread(nullptr, 0, HostThread, nullptr, 0, nullptr);
    // The first window of a new prefix can take long, while Wine sets up its fonts.
    ASSERT_EQ(WaitForSingleObject(host->ready, 120000), WAIT_OBJECT_0);
  }
  static void TearDownTestSuite() {
    PostMessageA(host->top, WM_CLOSE, 0, 0);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    delete host;
    host = nullptr;
  }
  static bool Signalled(HANDLE event) { return WaitForSingleObject(event, 10000) == WAIT_OBJECT_0; }
  static HANDLE thread_;
};
HANDLE Driver::thread_ = nullptr;

TEST_F(Driver, FindsVisibleWindowsByExactCaption) {
  EXPECT_EQ(drv::WaitWindow(kHostCaption, 1000), host->top);
  EXPECT_EQ(drv::FindWindowByCaption(kHostCaption, GetCurrentProcessId()), host->top);
  EXPECT_EQ(drv::FindWindowByCaption(kHostCaption, GetCurrentProcessId() + 4), nullptr);
  EXPECT_EQ(drv::FindWindowByCaption("Driver Test"), nullptr);
  EXPECT_EQ(drv::FindWindowByCaption(kHiddenCaption), nullptr);
  EXPECT_THROW(drv::WaitWindow(kHiddenCaption, 200), drv::Error);

  bool listed = false;
  for (const drv::WindowInfo& w : drv::VisibleWindows()) {
    EXPECT_NE(w.hwnd, host->hidden);
    if (w.hwnd == host->top) {
      listed = true;
      EXPECT_EQ(w.caption, kHostCaption);
      EXPECT_EQ(w.className, "DriverTestHost");
      EXPECT_EQ(w.pid, GetCurrentProcessId());
    }
  }
  EXPECT_TRUE(listed);
}

TEST_F(Driver, ControlAtPositionIsTheDeepestVisibleOne) {
  HWND top = host->top;
  EXPECT_EQ(drv::ControlAt(top, 15, 15), host->edit);
  EXPECT_EQ(drv::ControlAt(top, 199, 33), host->button);
  EXPECT_EQ(drv::ControlAt(top, 15, 45), host->list);
  EXPECT_EQ(drv::ControlAt(top, 125, 45), host->combo);  // not the edit field inside it
  EXPECT_EQ(drv::ControlAt(top, 15, 115), host->label);  // not the hidden button over it
  EXPECT_EQ(drv::ControlAt(top, 125, 115), host->pad);
  EXPECT_EQ(drv::ControlAt(top, 20, 160), host->inner);  // inside the panel
  EXPECT_EQ(drv::ControlAt(top, 250, 200), nullptr);
  EXPECT_THROW(drv::RequireControlAt(top, 250, 200), drv::Error);
}

TEST_F(Driver, ReadsAndSetsText) {
  EXPECT_EQ(drv::Text(host->label), "a label");
  EXPECT_EQ(drv::Text(host->edit), "edit text");
  drv::SetText(host->edit, "typed & set");
  char buf[64];
  GetWindowTextA(host->edit, buf, sizeof buf);
  EXPECT_STREQ(buf, "typed & set");
  EXPECT_EQ(drv::Text(host->edit), "typed & set");
  drv::SetText(host->edit, "");
  EXPECT_EQ(drv::Text(host->edit), "");

  drv::SetText(host->label, "ready");
  drv::WaitText(host->top, 15, 115, "ready", 1000);
  try {
    drv::WaitText(host->top, 15, 115, "never", 200);
    FAIL() << "no error for a text that never comes";
  } catch (const drv::Error& e) {
    EXPECT_NE(std::string(e.what()).find("\"ready\""), std::string::npos) << e.what();
  }
}

TEST_F(Driver, ClicksPushButtonsAndOwnControls) {
  ResetEvent(host->clicked);
  drv::Click(host->button);
  EXPECT_TRUE(Signalled(host->clicked));

  drv::PressButton(host->top, "Press Me");  // found by its text without the '&'
  EXPECT_TRUE(Signalled(host->clicked));

  drv::PressKey(host->button, drv::Key::Space);
  EXPECT_TRUE(Signalled(host->clicked));

  drv::Click(host->pad);
  ASSERT_TRUE(Signalled(host->padClicked));
  EXPECT_EQ(host->padX, Px(40) / 2);
  EXPECT_EQ(host->padY, Px(30) / 2);

  // A person cannot click what is disabled, nor anything in a disabled window.
  EnableWindow(host->button, FALSE);
  EXPECT_THROW(drv::Click(host->button), drv::Error);
  EnableWindow(host->button, TRUE);
  EnableWindow(host->top, FALSE);
  EXPECT_THROW(drv::Click(host->pad), drv::Error);
  EnableWindow(host->top, TRUE);
  EXPECT_THROW(drv::Click(host->overLabel), drv::Error);
  EXPECT_THROW(drv::PressButton(host->top, "Nothing"), drv::Error);
}

TEST_F(Driver, ListsItemsAndSelection) {
  EXPECT_EQ(drv::Items(host->list), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(drv::SelectedIndex(host->list), 1);
  EXPECT_EQ(drv::Items(host->combo), (std::vector<std::string>{"alpha", "beta"}));
  EXPECT_EQ(drv::SelectedIndex(host->combo), -1);
  EXPECT_THROW(drv::Items(host->edit), drv::Error);
}

// A message box on the host's thread is found, read and answered: by button text, by id and by
// the Enter key, each giving the answer of that button.
TEST_F(Driver, AnswersMessageBoxes) {
  struct Answer {
    UINT flags;
    int expected;
  };
  for (Answer a : {Answer{MB_OKCANCEL | MB_ICONINFORMATION, IDCANCEL},
                   Answer{MB_YESNO | MB_ICONQUESTION, IDNO}, Answer{MB_OK, IDOK}}) {
    ResetEvent(host->boxClosed);
    PostMessageA(host->top, kShowBox, a.flags, 0);
    HWND box = drv::WaitDialog(kBoxCaption, 10000, GetCurrentProcessId());
    EXPECT_EQ(drv::MessageText(box), "Something happened.");
    if (a.expected == IDCANCEL) drv::PressButton(box, "Cancel");
    else if (a.expected == IDNO) drv::PressButton(box, IDNO);
    else drv::PressKey(drv::FindButton(box, "OK"), drv::Key::Enter);
    ASSERT_TRUE(Signalled(host->boxClosed));
    EXPECT_EQ(host->boxResult, a.expected);
    drv::WaitGone(kBoxCaption, 10000);
  }
  // The host's own window has the caption searched for but is no dialog box.
  EXPECT_THROW(drv::WaitDialog(kHostCaption, 200), drv::Error);
}

TEST_F(Driver, ClosesWindows) {
  ASSERT_NE(drv::FindWindowByCaption(kSpareCaption), nullptr);
  drv::Close(host->spare);
  drv::WaitGone(kSpareCaption, 10000);
  // The window is hidden a moment before it is destroyed.
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(host->spare); }, 5000));
  EXPECT_THROW(drv::WaitGone(kHostCaption, 200), drv::Error);
}

}  // namespace
