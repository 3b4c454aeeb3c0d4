// The Select Path dialog behind the two browse buttons, in this process with real windows: a
// helper thread works the dialog as a person would (walks the directory list with Enter, presses
// Select or Cancel) while the browse handler waits in the dialog's modal loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/Browse.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "driver/Driver.h"
#include "filectrl/DirHelpers.h"
#include "filectrl/DirectoryListBox.h"
#include "filectrl/DriveComboBox.h"
#include "support/BoxWatcher.h"
#include "support/Files.h"
#include "support/Listing.h"
#include "support/Wait.h"
#include "ui/Application.h"
#include "platform/Errors.h"
#include "ui/Form.h"
#include "ui/ListControls.h"

namespace {
const char kCaption[] = "Select Path";

// What the helper saw while the dialog was open.
struct Seen {
  bool shown = false;
  bool mainVisible = true;
  std::string cwdAtOpen;
  std::string cwdAtClose;
  bool keyboardClosed = false;
};

HWND DirListOf(HWND dialog) {
  for (HWND h = GetWindow(dialog, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    if (drv::ClassNameOf(h) == "ListBox") return h;
  return nullptr;
}

// Opens the item with that text in the dialog's directory list, as Enter on it does.
void OpenItem(HWND dialog, const std::string& text) {
  HWND list = DirListOf(dialog);
  std::wstring wide(text.begin(), text.end());
  LRESULT i = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(wide.c_str()));
  ASSERT_NE(i, LB_ERR) << "no item " << text;
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
  SendMessageW(list, WM_CHAR, '\r', 1);
}

// Walks the dialog's directory list from where it stands to a path on the same drive: first the
// root (item 0), then each directory on the way down.
void WalkTo(HWND dialog, const std::string& path) {
  HWND list = DirListOf(dialog);
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  SendMessageW(list, WM_CHAR, '\r', 1);
  size_t start = 3;
  while (start < path.size()) {
    size_t sep = path.find('\\', start);
    if (sep == std::string::npos) sep = path.size();
    OpenItem(dialog, path.substr(start, sep - start));
    start = sep + 1;
  }
}

class Browse : public ::testing::Test {
protected:
  void SetUp() override {
    start = Cwd();
    // The program "starts" on drive Z, as it does when run from this build tree.
    SetCurrentDirectoryA("Z:\\tmp");
    InitApplication();
    Application->CreateForm(mainForm);
    // The main window itself, without its start-up: the handlers only read and write its fields.
    mainForm->OnActivate = nullptr;
    Application->CreateForm(velmora::Open);
    WriteFileBytes(work / "setup.ini", "\\Widget\r\nWidget\r\nWidget 2.0\r\nwidget.exe\r\nwidget\r\n");
    ini.Load(work / "setup.ini");
    mainForm->smenu->SetText("Widget");
    mainForm->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    if (!expectBoxes) {
      for (const SeenBox& box : boxes.Seen()) ADD_FAILURE() << "error box: " << box.text;
    }
    DoneApplication();
    velmora::Open = nullptr;
    SetCurrentDirectoryA(start.c_str());
  }

  // Runs `browse` while a helper waits for the dialog, runs `work` on it and presses `button`.
  Seen Run(const std::function<void()>& browse, const std::string& button,
           const std::function<void(HWND)>& act = nullptr) {
    Seen seen;
    HWND mainHwnd = mainForm->Handle();
    std::thread helper([&] {
      HWND dialog = nullptr;
      try {
        dialog = drv::WaitWindow(kCaption, 10000, GetCurrentProcessId());
      } catch (const drv::Error&) {
        return;
      }
      // Answered once the dialog's loop runs, that is after its activation handler.
      DWORD_PTR ignored;
      SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
      // An error box of the activation disables the dialog until it is answered.
      WaitUntil([&] { return IsWindowEnabled(dialog) != FALSE; }, 10000);
      seen.shown = true;
      seen.mainVisible = IsWindowVisible(mainHwnd) != FALSE;
      seen.cwdAtOpen = Cwd();
      if (act) act(dialog);
      seen.cwdAtClose = Cwd();
      if (button == "alt+f4") {
        HWND focus = DirListOf(dialog);
        PostMessageA(focus, WM_SYSKEYDOWN, VK_F4, 0x203E0001);
        PostMessageA(focus, WM_SYSKEYUP, VK_F4, 0xE03E0001);
        WaitUntil([&] { return !IsWindowVisible(dialog); }, 5000);
        seen.keyboardClosed = !IsWindowVisible(dialog);
        // A platform that keeps the dialog open is answered with Cancel, so the test ends.
        if (!seen.keyboardClosed) PostMessageA(drv::FindButton(dialog, "Cancel"), BM_CLICK, 0, 0);
      } else {
        PostMessageA(drv::FindButton(dialog, button), BM_CLICK, 0, 0);
      }
    });
    try {
      browse();
    } catch (...) {
      helper.join();
      throw;
    }
    helper.join();
    return seen;
  }
  void Source(const std::string& button, const std::function<void(HWND)>& act = nullptr) {
    last = Run([&] { BrowseSource(*mainForm->s, *mainForm->var1); }, button, act);
  }
  void Destination(const std::string& button, const std::function<void(HWND)>& act = nullptr) {
    last = Run([&] { BrowseDestination(*mainForm->d, *mainForm->var1, ini); }, button, act);
  }

  std::string start;
  // Error boxes are answered, so that no test waits for a person; a test that expects none
  // fails when one was shown.
  BoxWatcher boxes;
  bool expectBoxes = false;
  TempDir work{"browse"};
  Tmain* mainForm = nullptr;
  TScriptStore ini;
  Seen last;
};
}  // namespace

TEST_F(Browse, SourceSelectOnARootKeepsItsBackslash) {
  mainForm->s->SetText("c:\\somewhere");
  mainForm->d->SetText("c:\\program files\\Widget");
  Source("Select", [](HWND dialog) { WalkTo(dialog, "C:\\"); });
  ASSERT_TRUE(last.shown);
  EXPECT_FALSE(last.mainVisible) << "the main window is hidden while the dialog is shown";
  EXPECT_TRUE(IsWindowVisible(mainForm->Handle()));
  EXPECT_PRED2(SamePath, last.cwdAtOpen.substr(0, 2), "C:") << "the dialog opens on the drive of s";
  EXPECT_EQ(mainForm->var1->Caption(), "c");
  EXPECT_PRED2(SamePath, mainForm->s->Text(), "C:\\");
  EXPECT_PRED2(SamePath, Cwd(), "C:\\");
  EXPECT_EQ(velmora::Open->var1->Caption(), "s");
  EXPECT_EQ(mainForm->d->Text(), "c:\\program files\\Widget") << "the other field is untouched";
  EXPECT_EQ(mainForm->smenu->Text(), "Widget");
}

TEST_F(Browse, DestinationSelectAppendsTheSubPath) {
  const std::string target = Canonical(work.Path()) + "\\Widget";
  CreateDirectoryA(target.c_str(), nullptr);
  mainForm->s->SetText("z:\\source");
  mainForm->d->SetText("C:\\program files\\Widget");
  Destination("Select");
  EXPECT_PRED2(SamePath, last.cwdAtOpen, "C:\\") << "a destination browse on drive C opens at C:\\";
  EXPECT_PRED2(SamePath, mainForm->d->Text(), "C:\\Widget");

  // Select on a folder that already ends in the sub-path: it is appended all the same.
  Destination("Select", [&](HWND dialog) { WalkTo(dialog, target); });
  EXPECT_PRED2(SamePath, last.cwdAtOpen, "C:\\");
  EXPECT_PRED2(SamePath, mainForm->d->Text(), target + "\\Widget");
  EXPECT_PRED2(SamePath, Cwd(), target);
  EXPECT_EQ(mainForm->s->Text(), "z:\\source");
  EXPECT_EQ(mainForm->smenu->Text(), "Widget");
}

TEST_F(Browse, CancelLeavesTheFieldsButNotTheCurrentDirectory) {
  CreateDirectoryA((work / "Moved").c_str(), nullptr);
  const std::string moved = Canonical(work / "Moved");
  mainForm->s->SetText("c:\\keep");
  mainForm->d->SetText("c:\\dest");
  Source("Cancel", [&](HWND dialog) { WalkTo(dialog, moved); });
  EXPECT_PRED2(SamePath, last.cwdAtClose, moved);
  EXPECT_EQ(mainForm->s->Text(), "c:\\keep");
  EXPECT_EQ(velmora::Open->var1->Caption(), "c");
  EXPECT_PRED2(SamePath, Cwd(), moved) << "nothing restores the earlier current directory";
  Destination("Cancel", [&](HWND dialog) { WalkTo(dialog, moved); });
  EXPECT_EQ(mainForm->d->Text(), "c:\\dest");
  EXPECT_PRED2(SamePath, Cwd(), moved);
}

TEST_F(Browse, AnEmptyFieldPassesDriveCAndDoesNotResetTheList) {
  CreateDirectoryA((work / "Left").c_str(), nullptr);
  const std::string left = Canonical(work / "Left");
  velmora::Open->drive->SetDrive('c');
  velmora::Open->dir->SetDirectory(left);
  mainForm->d->SetText("");
  Destination("Cancel");
  EXPECT_EQ(mainForm->var1->Caption(), "c");
  EXPECT_PRED2(SamePath, last.cwdAtOpen, left) << "the list opens where it was left";
  EXPECT_EQ(mainForm->d->Text(), "");
  mainForm->var1->SetCaption("");
  mainForm->s->SetText("");
  Source("Cancel");
  EXPECT_EQ(mainForm->var1->Caption(), "c") << "an empty source passes drive C as well";
  EXPECT_EQ(mainForm->s->Text(), "");
}

TEST_F(Browse, TheFirstShowingMovesTheListToTheStartDriveBeforeTheActivation) {
  std::vector<std::string> moves;
  velmora::Open->dir->OnChange = [&](TComponent&) {
    moves.push_back(std::string(1, static_cast<char>(velmora::Open->dir->Directory()[0] & ~0x20)));
  };
  mainForm->d->SetText("c:\\program files\\Widget");
  Destination("Cancel");
  // Seeded at C:\, moved to drive Z by the selector's window, back to drive C by the activation.
  EXPECT_EQ(moves, (std::vector<std::string>{"C", "Z", "C"}));
  EXPECT_PRED2(SamePath, last.cwdAtOpen.substr(0, 2), "C:");
}

TEST_F(Browse, ADriveThatCannotBeEnteredIsReportedAndTheDialogStaysOpen) {
  expectBoxes = true;
  const char missing = MissingDrive();
  ASSERT_NE(missing, 0);
  velmora::Open->drive->SetDrive('z');
  velmora::Open->dir->SetDirectory("Z:\\tmp");
  mainForm->s->SetText(std::string(1, missing) + ":\\setup");
  Source("Select");
  ASSERT_TRUE(last.shown) << "the dialog stays open after the error";
  const auto seen = boxes.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Browse_test");
  EXPECT_EQ(seen[0].text.back(), '.');
  EXPECT_EQ(velmora::Open->drive->ItemIndex(), -1) << "no item for a drive that is not there";
  EXPECT_PRED2(SamePath, mainForm->s->Text(), "Z:\\tmp") << "the list stayed where it was";
}

TEST_F(Browse, ADestinationSeedThatCannotBeEnteredIsReportedAndNoDialogOpens) {
  expectBoxes = true;
  // c:\ is entered by way of drive C's own current directory, which the system keeps in the
  // variable "=C:"; here that directory has gone away.
  struct GoneDriveDirectory {
    explicit GoneDriveDirectory(const std::string& path) {
      SetEnvironmentVariableA("=C:", path.c_str());
    }
    ~GoneDriveDirectory() { SetEnvironmentVariableA("=C:", nullptr); }
  } gone(Canonical(work.Path()) + "\\gone");
  int activations = 0;
  auto activate = velmora::Open->OnActivate;
  velmora::Open->OnActivate = [&](TComponent& sender) {
    ++activations;
    activate(sender);
    velmora::Open->Close();  // were it shown after all, the test must not wait for a person
  };
  auto* button = new TButton(mainForm);
  button->Define(mainForm, "SpeedButton3", 344, 248, 25, 25, "...");
  button->OnClick = [&](TComponent&) { BrowseDestination(*mainForm->d, *mainForm->var1, ini); };
  mainForm->d->SetText("c:\\dest");
  const std::string before = Cwd();
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);  // dispatched as the click of a person
  auto seen = boxes.Seen();
  ASSERT_EQ(seen.size(), 1u);
  // Wine reports the missing directory as a missing file; Windows as a missing path.
  EXPECT_TRUE(seen[0].text == "File not found." || seen[0].text == "Invalid filename.")
      << seen[0].text;
  EXPECT_EQ(activations, 0) << "the dialog is not opened";
  EXPECT_TRUE(IsWindowVisible(mainForm->Handle()));
  EXPECT_EQ(mainForm->d->Text(), "c:\\dest");
  EXPECT_EQ(Cwd(), before);
}

TEST_F(Browse, ClosingByTheKeyboardWritesNoResult) {
  mainForm->s->SetText("z:\\first");
  Source("Select");
  ASSERT_EQ(mainForm->s->Text(), velmora::Open->dir->Directory());
  mainForm->s->SetText("z:\\second");
  Source("alt+f4");
  EXPECT_TRUE(last.shown);
  EXPECT_TRUE(last.keyboardClosed) << "Alt+F4 closes the dialog without title-bar buttons";
  EXPECT_EQ(mainForm->s->Text(), "z:\\second") << "the earlier Select does not count again";
  EXPECT_EQ(velmora::Open->var1->Caption(), "");
}

TEST_F(Browse, AShowingThatFailsStillBringsTheMainWindowBack) {
  velmora::Open->Show();
  mainForm->s->SetText("c:\\x");
  const auto browse = [&] { BrowseSource(*mainForm->s, *mainForm->var1); };
  EXPECT_EQ(ThrownMessage<EInvalidOperation>(browse), "Cannot make a visible window modal");
  EXPECT_TRUE(IsWindowVisible(mainForm->Handle()));
  EXPECT_EQ(mainForm->s->Text(), "c:\\x");
}

TEST_F(Browse, TheDialogStaysOnTopWithoutACloseBoxAndItsDriveBoxFitsItsItems) {
  TOpen* open = velmora::Open;
  HWND h = open->Handle();
  EXPECT_FALSE(GetWindowLongA(h, GWL_STYLE) & WS_SYSMENU) << "no close box";
  EXPECT_TRUE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(open->Button1->Default()) << "Enter opens a directory, it does not select";
  // The items follow the dialog's font, whose metrics depend on the fonts Wine came with, but
  // never drop below the drive glyphs; the closed field is one such item inside the box's frame.
  BITMAP glyph = {};
  HBITMAP floppy = LoadBitmapA(GetModuleHandleA(nullptr), "FLOPPY");
  ASSERT_TRUE(floppy);
  GetObjectA(floppy, sizeof glyph, &glyph);
  DeleteObject(floppy);
  const int itemHeight = std::max(FontLineHeight(open->drive->Font().Handle()), int(glyph.bmHeight));
  EXPECT_EQ(open->drive->ItemHeight(), itemHeight);
  RECT box;
  GetWindowRect(open->drive->Handle(), &box);
  EXPECT_EQ(box.bottom - box.top, itemHeight + 2 * GetSystemMetrics(SM_CYEDGE) + 2)
      << "the closed drive box is as high as its items, not as the system would size it";
}
