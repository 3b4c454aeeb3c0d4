// The window framework's rules, with real windows and messages.
#include <gtest/gtest.h>

#include <windows.h>

#include "support/BoxWatcher.h"
#include "support/Files.h"
#include "support/Wait.h"
#include "ui/Application.h"
#include "platform/Errors.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/Graphics.h"
#include "ui/ListControls.h"
#include "ui/StdCtrls.h"

namespace {
class Framework : public ::testing::Test {
protected:
  void SetUp() override { InitApplication(); }
  void TearDown() override { DoneApplication(); }

  TForm* MakeForm(const std::string& caption, int* activations = nullptr) {
    auto* f = new TForm(Application, TFormDef{caption, 200, 100, bsDialog});
    auto* edit = new TEdit(f);
    edit->Define(f, "edit", 8, 8, 100, 20);
    if (activations) f->OnActivate = [activations](TComponent&) { ++*activations; };
    return f;
  }

  void Pump(int ms = 200) {
    DWORD end = GetTickCount() + ms;
    while (GetTickCount() < end) {
      Application->ProcessMessages();
      Sleep(10);
    }
  }
};

// Closes a modal window as soon as it is shown, as a person pressing Escape would.
void CloseWhenShown(TForm* f) {
  auto previous = f->OnActivate;
  f->OnActivate = [f, previous](TComponent& c) {
    if (previous) previous(c);
    PostMessageA(f->WindowHandle(), WM_CLOSE, 0, 0);
  };
}
}  // namespace

TEST_F(Framework, ModalShowingActivatesOncePerShowingAndNotTheWindowBelow) {
  int mainActivations = 0, dialogActivations = 0;
  TForm* mainForm = MakeForm("main form", &mainActivations);
  Application->SetMainForm(mainForm);
  TForm* dialog = MakeForm("dialog", &dialogActivations);
  CloseWhenShown(dialog);

  mainForm->Show();
  Pump();
  EXPECT_EQ(mainActivations, 1);

  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  Pump();
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  Pump();
  EXPECT_EQ(dialogActivations, 2);
  EXPECT_EQ(mainActivations, 1) << "the window below a closed modal gets no activation";
  EXPECT_FALSE(dialog->Visible());
  EXPECT_TRUE(IsWindowEnabled(mainForm->WindowHandle()));
}

// What the activation handler finds: every control of the window made, visible and drawn.
struct BuiltState {
  bool activated = false;
  std::vector<std::string> missing;  // controls without a window, hidden, or not yet drawn
};

void NoteBuiltState(TWinControl* w, BuiltState& state) {
  for (int i = 0; i < w->ControlCount(); ++i) {
    TControl* c = w->Controls(i);
    HWND h = c->WindowHandle();
    if (!h) state.missing.push_back(c->Name() + " has no window");
    else if (!IsWindowVisible(h)) state.missing.push_back(c->Name() + " is not visible");
    else if (GetUpdateRect(h, nullptr, FALSE)) state.missing.push_back(c->Name() + " is not drawn");
    if (auto* sub = dynamic_cast<TWinControl*>(c)) NoteBuiltState(sub, state);
  }
}

TEST_F(Framework, EveryControlIsMadeAndDrawnBeforeTheWindowsActivation) {
  for (bool modal : {false, true}) {
    SCOPED_TRACE(modal ? "shown modally" : "shown");
    DoneApplication();
    InitApplication();
    TForm* f = MakeForm(modal ? "built modal" : "built");
    auto* label = new TLabel(f);
    label->Define(f, "label", 8, 36, 80, 13, "A label");
    auto* button = new TButton(f);
    button->Define(f, "button", 100, 36, 75, 25, "Button");
    button->SetTabOrder(1);
    auto* panel = new TPanel(f);
    panel->Define(f, "panel", 8, 64, 180, 30);
    auto* inner = new TLabel(f);
    inner->Define(panel, "inner", 4, 4, 60, 13, "Inside");
    auto* bevel = new TBevel(f);
    bevel->Define(panel, "bevel", 70, 4, 100, 20);
    BuiltState state;
    f->OnActivate = [&](TComponent&) {
      state.activated = true;
      if (!IsWindowVisible(f->WindowHandle())) state.missing.push_back("the window is not visible");
      else if (GetUpdateRect(f->WindowHandle(), nullptr, FALSE))
        state.missing.push_back("the window is not drawn");
      NoteBuiltState(f, state);
      if (modal) PostMessageA(f->WindowHandle(), WM_CLOSE, 0, 0);
    };
    if (modal) {
      f->ShowModal();
    } else {
      Application->SetMainForm(f);
      f->Show();
    }
    f->OnActivate = nullptr;  // `state` ends with this round
    EXPECT_TRUE(state.activated);
    EXPECT_EQ(state.missing, std::vector<std::string>());
  }
}

TEST_F(Framework, TheWorkAfterShowingFindsTheMainWindowFilledAndDrawn) {
  TForm* f = MakeForm("run");
  Application->SetMainForm(f);
  auto* edit = dynamic_cast<TEdit*>(f->Controls(0));
  ASSERT_NE(edit, nullptr);
  f->OnActivate = [edit](TComponent&) { edit->SetText("filled by the activation"); };
  int runs = 0;
  std::string seen;
  Application->Run([&] {
    ++runs;
    HWND h = f->WindowHandle();
    if (!IsWindowVisible(h)) seen += "the window is not visible; ";
    if (edit->Text() != "filled by the activation") seen += "the window is not filled; ";
    if (GetUpdateRect(h, nullptr, FALSE) || GetUpdateRect(edit->WindowHandle(), nullptr, FALSE))
      seen += "the window is not drawn; ";
    Application->Terminate();
  });
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(seen, "");
}

TEST_F(Framework, TheStatusBarsGripSizesOnlyAWindowThatCanBeSizedNow) {
  struct Row {
    TBorderStyle border;
    bool maximised;
    bool grip;
  } rows[] = {{bsSizeable, false, true}, {bsSizeable, true, false}, {bsDialog, false, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.border == bsDialog ? "dialog" : "sizeable") +
                 (row.maximised ? ", maximised" : ""));
    auto* f = new TForm(Application, TFormDef{"status", 200, 100, row.border});
    auto* bar = new TStatusBar(f);
    bar->Define(f, "bar", 0, 81, 200, 19);
    f->Show();
    if (row.maximised) ShowWindow(f->WindowHandle(), SW_MAXIMIZE);
    Pump(50);
    RECT r;
    GetWindowRect(bar->WindowHandle(), &r);
    auto hit = [&](int x, int y) {
      return SendMessageA(bar->WindowHandle(), WM_NCHITTEST, 0, MAKELPARAM(x, y));
    };
    EXPECT_EQ(hit(r.right - 2, r.bottom - 2) == HTBOTTOMRIGHT, row.grip);
    EXPECT_NE(hit((r.left + r.right) / 2, r.bottom - 2), HTBOTTOMRIGHT);
    delete f;
  }
}

TEST_F(Framework, TheTextOfAnEditableComboBoxTakingTheFocusMakesTheBoxTheActiveControl) {
  TForm* f = MakeForm("combo");
  Application->SetMainForm(f);
  auto* combo = new TComboBox(f, csDropDown);
  combo->Define(f, "combo", 8, 40, 120, 21);
  combo->SetTabOrder(1);
  f->Show();
  Pump();
  ASSERT_NE(f->ActiveControl(), combo);
  // A click into the box's text gives the focus to the edit inside it, not to the box.
  HWND edit = GetWindow(combo->Handle(), GW_CHILD);
  ASSERT_NE(edit, nullptr);
  SetFocus(edit);
  Pump();
  EXPECT_EQ(f->ActiveControl(), combo);
  // So a modal showing gives the focus back to the box.
  TForm* dialog = MakeForm("dialog");
  CloseWhenShown(dialog);
  dialog->ShowModal();
  Pump();
  EXPECT_EQ(GetFocus(), edit);
}

TEST_F(Framework, ShowingRulesAndTheRestoreAfterAnError) {
  TForm* f = MakeForm("shown");
  std::string inShow;
  f->OnShow = [&](TComponent&) { inShow = ThrownMessage<EInvalidOperation>([&] { f->Hide(); }); };
  f->Show();
  EXPECT_EQ(inShow, "Cannot change Visible in OnShow or OnHide");
  EXPECT_TRUE(f->Visible());
  EXPECT_EQ(ThrownMessage<EInvalidOperation>([&] { f->ShowModal(); }), "Cannot make a visible window modal");
  f->OnShow = nullptr;
  f->Hide();

  TForm* other = MakeForm("other");
  other->Show();
  TForm* dialog = MakeForm("failing");
  bool thrown = false;
  dialog->OnShow = [&](TComponent&) {
    thrown = true;
    throw Exception("broken");
  };
  EXPECT_THROW(dialog->ShowModal(), Exception);
  EXPECT_TRUE(thrown);
  EXPECT_FALSE(dialog->Modal());
  EXPECT_TRUE(IsWindowEnabled(other->WindowHandle()))
      << "disabled windows come back after an error";
}

TEST_F(Framework, AnErrorInAHandlerShowsTheBoxAndTheProgramGoesOn) {
  BoxWatcher boxes;
  TForm* f = MakeForm("errors");
  auto* button = new TButton(f);
  button->Define(f, "button", 8, 40, 75, 25, "Go");
  int after = 0;
  button->OnClick = [&](TComponent&) {
    throw EListError("List index out of bounds");
    ++after;
  };
  f->Show();
  Pump();
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  Pump(300);
  auto seen = boxes.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Framework_test");
  EXPECT_EQ(seen[0].text, "List index out of bounds.");
  EXPECT_EQ(after, 0);
  // The program goes on: the window still answers.
  button->OnClick = [&](TComponent&) { ++after; };
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(after, 1);
}

TEST_F(Framework, EnterAndEscapePressTheButtonsTheyBelongTo) {
  const int mrOther = 7;
  // Where the focus is, the key, and the result the showing ends with. A click on the other
  // button follows the key, so that a key that presses nothing (an open drop-down list keeps
  // its key) still ends the showing.
  struct Row {
    const char* focus;
    WPARAM key;
    int result;
  } rows[] = {
      {"edit", VK_RETURN, mrOk},     {"edit", VK_ESCAPE, mrCancel},
      {"other", VK_RETURN, mrOther}, {"other", VK_ESCAPE, mrCancel},
      {"combo", VK_RETURN, mrOther}, {"combo", VK_ESCAPE, mrOther},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.focus) + (row.key == VK_RETURN ? " Enter" : " Escape"));
    TForm* dialog = MakeForm("buttons");
    auto* combo = new TComboBox(dialog, csDropDownList);
    combo->Define(dialog, "combo", 8, 32, 100, 21);
    auto* ok = PushButton(dialog, "ok", 8, 60, 2, "OK");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = PushButton(dialog, "cancel", 88, 60, 3, "Cancel");
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    auto* other = PushButton(dialog, "other", 8, 8, 4, "Other");
    other->SetModalResult(mrOther);
    dialog->OnActivate = [&](TComponent&) {
      combo->AddItem("one");
      const std::string name = row.focus;
      TControl* focus = name == "combo"   ? static_cast<TControl*>(combo)
                        : name == "other" ? static_cast<TControl*>(other)
                                          : dialog->Controls(0);
      focus->SetFocus();
      if (focus == combo) SendMessageA(combo->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
      PostMessageA(GetFocus(), WM_KEYDOWN, row.key, 0);
      PostMessageA(other->Handle(), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(dialog->ShowModal(), row.result);
    delete dialog;
  }
}

TEST_F(Framework, TheCloseActionDecidesWhatClosingDoes) {
  // The first closing is answered by the row; a modal window it keeps is closed again, and that
  // second closing hides it.
  struct Row {
    bool modal;
    bool canClose;
    TCloseAction action;
    const char* outcome;
    int closings;
  } rows[] = {
      {false, true, caHide, "hidden", 1},     {false, true, caMinimize, "minimized", 1},
      {false, true, caFree, "freed", 1},      {false, true, caNone, "shown", 1},
      {false, false, caHide, "shown", 1},     {true, true, caHide, "hidden", 1},
      {true, true, caMinimize, "hidden", 1},  {true, true, caFree, "freed", 1},
      {true, true, caNone, "hidden", 2},      {true, false, caHide, "hidden", 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.modal ? "modal " : "") + row.outcome + " " +
                 std::to_string(row.action) + (row.canClose ? "" : " refused"));
    TForm* f = MakeForm("closing");
    int closings = 0;
    auto again = [&] {
      if (closings == 1 && row.modal) PostMessageA(f->WindowHandle(), WM_CLOSE, 0, 0);
    };
    f->OnCloseQuery = [&](TComponent&, bool& can) {
      ++closings;
      can = row.canClose || closings > 1;
      if (!can) again();
    };
    f->OnClose = [&](TComponent&, TCloseAction& action) {
      if (row.canClose) action = closings > 1 ? caHide : row.action;
      if (action == caNone) again();
    };
    HWND window;
    if (row.modal) {
      f->OnActivate = [&](TComponent&) { PostMessageA(f->WindowHandle(), WM_CLOSE, 0, 0); };
      window = f->Handle();
      EXPECT_EQ(f->ShowModal(), mrCancel);
      EXPECT_EQ(closings, row.closings) << "closings before the showing ended";
    } else {
      f->Show();
      window = f->WindowHandle();
      PostMessageA(window, WM_CLOSE, 0, 0);
      Pump();
      EXPECT_EQ(closings, row.closings);
    }
    Pump();
    const std::string outcome = !IsWindow(window)           ? "freed"
                                : IsIconic(window)          ? "minimized"
                                : IsWindowVisible(window)   ? "shown"
                                                            : "hidden";
    EXPECT_EQ(outcome, row.outcome);
    if (outcome != "freed") delete f;
  }
}

// A stretched picture fills its control at each size it is given, and a new picture replaces the
// old one everywhere, through a label lying on it as well.
TEST_F(Framework, AStretchedPictureShowsItsLatestPictureAtItsLatestSize) {
  TempDir dir("pictures");
  const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
  auto picture = [&](bool isRed) {
    const std::string px = isRed ? std::string("\0\0\xFF", 3) : std::string("\xFF\0\0", 3);
    const std::string row = px + px + std::string(2, '\0');
    WriteFileBytes(dir / "p.bmp", BitmapFile(2, 2, 24, BI_RGB, "", row + row));
    TBitmap b;
    b.LoadFromFile(dir / "p.bmp", 2, 2);
    return b;
  };
  auto* f = new TForm(Application, TFormDef{"pictures", 200, 100, bsDialog});
  auto* image = new TImage(f);
  image->SetStretch(true);
  image->SetPicture(picture(true));
  image->Define(f, "image", 0, 0, 100, 50);
  auto* label = new TLabel(f);
  label->SetAutoSize(false);
  label->Define(f, "label", 10, 10, 40, 20);
  Application->SetMainForm(f);
  f->Show();
  auto colourAt = [&](TControl* c, int x, int y, COLORREF wanted) {
    POINT p = {x, y};
    ClientToScreen(c->WindowHandle(), &p);
    HDC screen = GetDC(nullptr);
    COLORREF seen = CLR_INVALID;
    WaitUntil([&] {
      Application->ProcessMessages();
      return (seen = GetPixel(screen, p.x, p.y)) == wanted;
    }, 2000);
    ReleaseDC(nullptr, screen);
    return seen;
  };
  EXPECT_EQ(colourAt(image, 90, 40, red), red);
  EXPECT_EQ(colourAt(label, 20, 10, red), red) << "seen through the label";
  image->SetPicture(picture(false));
  EXPECT_EQ(colourAt(image, 90, 40, blue), blue);
  EXPECT_EQ(colourAt(label, 20, 10, blue), blue) << "seen through the label";
  image->SetBounds(0, 0, 190, 90);
  EXPECT_EQ(colourAt(image, 180, 80, blue), blue) << "the picture fills the larger control";
}

namespace {
std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

// One row of four pixels, red or blue, in a stored form; rows are padded to four bytes.
std::string PlainRow(int bits, unsigned compression, bool red) {
  switch (bits) {
    case 1: return Bytes({red ? 0xF0 : 0x00, 0, 0, 0});
    case 4: return Bytes({red ? 0x11 : 0x00, red ? 0x11 : 0x00, 0, 0});
    case 8: return std::string(4, red ? '\1' : '\0');
    case 16: {
      // 5-5-5 plainly, 5-6-5 with the masks given.
      unsigned v = red ? (compression == BI_BITFIELDS ? 0xF800u : 0x7C00u) : 0x001Fu;
      std::string px = Bytes({static_cast<int>(v & 0xFF), static_cast<int>(v >> 8)});
      return px + px + px + px;
    }
    case 24: {
      std::string px = red ? Bytes({0, 0, 0xFF}) : Bytes({0xFF, 0, 0});
      return px + px + px + px;
    }
    default: {
      std::string px = red ? Bytes({0, 0, 0xFF, 0}) : Bytes({0xFF, 0, 0, 0});
      return px + px + px + px;
    }
  }
}

bool Near(COLORREF seen, COLORREF wanted) {
  auto close = [](int a, int b) { return a - b < 16 && b - a < 16; };
  return close(GetRValue(seen), GetRValue(wanted)) && close(GetGValue(seen), GetGValue(wanted)) &&
         close(GetBValue(seen), GetBValue(wanted));
}

COLORREF PixelOf(const TBitmap& b, int x, int y) {
  ScreenDC screen;
  MemoryDC mem(screen.Get());
  SelectedObject picked(mem.Get(), b.Handle());
  return GetPixel(mem.Get(), x, y);
}
}  // namespace

// Every kind of bitmap file a title picture may be, four by four pixels with the upper half red
// and the lower half blue: read whole, and reduced to two by two while it is read.
TEST(TitlePictureFiles, EveryKindReadsTheRightWayUpWholeAndReduced) {
  struct Kind {
    const char* what;
    int bits;
    unsigned compression;
    bool topDown;
  };
  const Kind kinds[] = {
      {"1 bit", 1, BI_RGB, false},          {"4 bits", 4, BI_RGB, false},
      {"8 bits", 8, BI_RGB, false},         {"16 bits", 16, BI_RGB, false},
      {"16 bits, 5-6-5 masks", 16, BI_BITFIELDS, false},
      {"24 bits", 24, BI_RGB, false},       {"24 bits, top-down", 24, BI_RGB, true},
      {"32 bits", 32, BI_RGB, false},       {"8 bits, runs", 8, BI_RLE8, false},
      {"4 bits, runs", 4, BI_RLE4, false},
  };
  const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
  TempDir dir("pictures");
  for (const Kind& k : kinds) {
    SCOPED_TRACE(k.what);
    std::string table;
    if (k.bits <= 8) table = Bytes({0xFF, 0, 0, 0, 0, 0, 0xFF, 0});  // blue, red
    if (k.compression == BI_BITFIELDS) table = Bytes({0, 0xF8, 0, 0, 0xE0, 7, 0, 0, 0x1F, 0, 0, 0});
    std::string pixels;
    for (int stored = 0; stored < 4; ++stored) {
      int fromTop = k.topDown ? stored : 3 - stored;
      bool isRed = fromTop < 2;
      if (k.compression == BI_RLE8) pixels += Bytes({4, isRed ? 1 : 0, 0, 0});
      else if (k.compression == BI_RLE4) pixels += Bytes({4, isRed ? 0x11 : 0, 0, 0});
      else pixels += PlainRow(k.bits, k.compression, isRed);
    }
    if (k.compression == BI_RLE8 || k.compression == BI_RLE4) pixels += Bytes({0, 1});
    const std::string path = dir / "title.bmp";
    WriteFileBytes(path, BitmapFile(4, k.topDown ? -4 : 4, k.bits, k.compression, table, pixels));
    TBitmap whole, reduced;
    whole.LoadFromFile(path, 100, 100);
    EXPECT_EQ(whole.Width(), 4);
    EXPECT_EQ(whole.Height(), 4);
    EXPECT_PRED2(Near, PixelOf(whole, 0, 0), red);
    EXPECT_PRED2(Near, PixelOf(whole, 3, 1), red);
    EXPECT_PRED2(Near, PixelOf(whole, 0, 2), blue);
    EXPECT_PRED2(Near, PixelOf(whole, 3, 3), blue);
    reduced.LoadFromFile(path, 2, 2);
    EXPECT_EQ(reduced.Width(), 2);
    EXPECT_EQ(reduced.Height(), 2);
    EXPECT_PRED2(Near, PixelOf(reduced, 1, 0), red);
    EXPECT_PRED2(Near, PixelOf(reduced, 0, 1), blue);
  }
}

// A side of 16384 pixels is the most a picture may have: it is read, one pixel more is refused.
TEST(TitlePictureFiles, ASideOf16384PixelsIsReadAndOneMoreIsRefused) {
  TempDir dir("pictures");
  for (int width : {16384, 16385}) {
    const std::string row((width + 31) / 32 * 4, '\0');
    WriteFileBytes(dir / "wide.bmp", BitmapFile(width, 1, 1, BI_RGB, std::string(8, '\0'), row));
    TBitmap b;
    EXPECT_EQ(ThrownMessage<Exception>([&] { b.LoadFromFile(dir / "wide.bmp", 100, 100); }),
              width == 16384 ? "(nothing thrown)" : "Bitmap image is too large")
        << width;
  }
}
