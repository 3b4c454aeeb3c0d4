// The real installer started in a product directory and worked from outside with the driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include <windows.h>

#include <psapi.h>

#include "driver/Driver.h"
#include "support/SetupWindow.h"
#include "support/Files.h"
#include "support/Progman.h"
#include "support/Program.h"
#include "support/Wait.h"

namespace {
using mainwin::kCaption;
const char kScript[] =
    "\\Widget\r\nWidget\r\nWidget 2.0\r\nwidget.exe\r\nwidget\r\n:install\r\nWIDGET.EX_\r\n";

// A colour table of `colors` entries, dark and white in turn.
std::string Table(int colors) {
  std::string t;
  for (int i = 0; i < colors; ++i) {
    const unsigned v = i % 2 ? 0x00FFFFFF : 0x00204080 + i;
    for (int k = 0; k < 4; ++k) t += static_cast<char>((v >> (8 * k)) & 0xFF);
  }
  return t;
}

// A tiny valid 24-bit bitmap of 2 x 2 pixels.
std::string TinyBitmap() { return BitmapFile(2, 2, 24, BI_RGB, "", std::string(16, '\x7f')); }

// 8000 x 8000 white pixels in 8-bit runs: half a megabyte on disk, 64 million pixels drawn.
std::string HugeRunLengthBitmap() {
  std::string row;
  for (int x = 0; x < 8000; x += 250) row += "\xFA\x01";
  row += std::string("\0\0", 2);
  std::string pixels;
  for (int y = 0; y < 8000; ++y) pixels += row;
  pixels += std::string("\0\1", 2);
  return BitmapFile(8000, 8000, 8, BI_RLE8, Table(2), pixels);
}

// 8000 x 8000 white pixels of 4 bits, stored plainly: 32 megabytes.
std::string HugePlainBitmap() {
  return BitmapFile(8000, 8000, 4, BI_RGB, Table(16), std::string(4000u * 8000u, '\x11'));
}

// The colour a person sees at a client position of a window (at 96 pixels per inch), once it
// reads `wanted` or, after a bounded wait for the drawing, whatever is there.
COLORREF ScreenColourAt(HWND w, int x, int y, COLORREF wanted) {
  POINT p = {x, y};
  ClientToScreen(w, &p);
  HDC screen = GetDC(nullptr);
  COLORREF c = CLR_INVALID;
  WaitUntil([&] { return (c = GetPixel(screen, p.x, p.y)) == wanted; }, 2000);
  ReleaseDC(nullptr, screen);
  return c;
}

// The most memory the process has held for itself so far.
SIZE_T PeakPrivateBytes(HANDLE process) {
  using Query = BOOL(WINAPI*)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);
  auto query = reinterpret_cast<Query>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo"));
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!query || !query(process, &counters, sizeof counters)) return 0;
  return counters.PeakPagefileUsage;
}

// Two folders of the Start Menu for the window to list, gone again with the test.
Leftovers Menu() {
  CreateDirectoryA(StartMenuPrograms().c_str(), nullptr);
  Make(StartMenuPrograms(), {"Games\\", "Tools\\"});
  return Leftovers{{StartMenuPrograms() + "\\Games", StartMenuPrograms() + "\\Tools"}, {}};
}

class MainWindow : public ::testing::Test {
protected:
  HWND Start(ProductDir& dir) {
    program.reset(dir.Start());
    return mainwin::Started(*program, dir.Path());
  }
  void Exit(HWND w) {
    // After an error box the window takes input again a moment after the box has gone.
    WaitUntil([&] { return IsWindowEnabled(w) != FALSE; }, 10000);
    drv::Click(mainwin::At(w, mainwin::kExit));
    EXPECT_TRUE(program->WaitExit(10000)) << "Exit ends the program";
  }
  // A product directory for this test. The program started in it is ended before the directory
  // goes, also when a failed assertion ends the test early: a running program keeps its files.
  ProductDir& Product(const std::string& script, bool withScript = true) {
    program.reset();
    product.reset(new ProductDir(script, withScript));
    return *product;
  }
  std::unique_ptr<ProductDir> product;  // outlives `program`, which is declared after it
  std::unique_ptr<RunningProgram> program;
};
}  // namespace

TEST_F(MainWindow, ShowsTheProposedValuesAndTheExistingFolders) {
  const Leftovers menu = Menu();
  ProductDir& dir = Product(kScript);
  HWND w = Start(dir);
  EXPECT_EQ(mainwin::TextAt(w, mainwin::kSource), dir.Path());
  EXPECT_EQ(mainwin::TextAt(w, mainwin::kDestination), "c:\\program files\\Widget");
  HWND smenu = mainwin::At(w, mainwin::kFolder);
  EXPECT_EQ(drv::Text(smenu), "Widget");
  // Every folder there is listed: the two made here and any other test left behind.
  std::vector<std::string> folders = FolderNames(StartMenuPrograms());
  std::sort(folders.begin(), folders.end(),
            [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
  EXPECT_EQ(drv::Items(smenu), folders);
  EXPECT_NE(std::find(folders.begin(), folders.end(), "Games"), folders.end());
  EXPECT_EQ(mainwin::TextAt(w, mainwin::kTitleLabel), "Widget 2.0") << "the title label shows script line 2";

  // The destination browse opens Select Path at C:\ with the main window hidden; Select writes
  // C: and the sub-path back, and nothing else changes.
  drv::Click(mainwin::At(w, mainwin::kDestinationBrowse));
  HWND open = drv::WaitWindow("Select Path", 10000, program->Id());
  EXPECT_EQ(drv::FindWindowByCaption(kCaption, program->Id()), nullptr);
  drv::PressButton(open, "Select");
  w = drv::WaitWindow(kCaption, 10000, program->Id());
  mainwin::WaitText(w, mainwin::kDestination, "C:\\Widget");
  EXPECT_EQ(mainwin::TextAt(w, mainwin::kSource), dir.Path());
  EXPECT_EQ(drv::Text(smenu), "Widget");
  Exit(w);
}

TEST_F(MainWindow, ATitlePictureIsShownWithinBoundedMemoryOrRefusedClearly) {
  struct Case {
    const char* what;
    std::string picture;
    const char* error;  // nullptr: shown, the title text stays empty and the fields fill in
    COLORREF colour;    // of the picture, seen also through the title label that lies on it
  };
  const COLORREF kWhite = RGB(255, 255, 255);
  const Case cases[] = {
      {"a small picture", TinyBitmap(), nullptr, RGB(127, 127, 127)},
      {"a huge run-length picture", HugeRunLengthBitmap(), nullptr, kWhite},
      {"a huge plain picture", HugePlainBitmap(), nullptr, kWhite},
      {"a picture cut short", HugePlainBitmap().substr(0, 100000), "Bitmap image is not valid.", 0},
      {"a picture wider than any screen",
       BitmapFile(20000, 10, 4, BI_RGB, Table(16), std::string(100000, '\0')),
       "Bitmap image is too large.", 0},
  };
  // What a picture may add to the memory the program holds with a small one. Reading the huge
  // ones whole took hundreds of megabytes.
  const SIZE_T kAllowance = 64u << 20;
  SIZE_T small = 0;
  const Leftovers menu = Menu();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProductDir& dir = Product(kScript);
    WriteFileBytes(dir / "title.bmp", c.picture);
    if (c.error) {
      program.reset(dir.Start());
      HWND box = drv::WaitDialog("Setup", 20000, program->Id());
      EXPECT_EQ(drv::MessageText(box), c.error);
      drv::PressButton(box, "OK");
      HWND w = drv::WaitWindow(kCaption, 10000, program->Id());
      EXPECT_EQ(mainwin::TextAt(w, mainwin::kSource), "s") << "the window fills in nothing after the picture";
      Exit(w);
      continue;
    }
    HWND w = Start(dir);
    EXPECT_EQ(mainwin::TextAt(w, mainwin::kTitleLabel), "") << "the title text stays empty under a picture";
    EXPECT_EQ(ScreenColourAt(w, 30, 30, c.colour), c.colour) << "the picture is drawn";
    EXPECT_EQ(ScreenColourAt(w, 216, 96, c.colour), c.colour)
        << "the picture is drawn under the title text";
    EXPECT_EQ(mainwin::TextAt(w, mainwin::kDestination), "c:\\program files\\Widget");
    SIZE_T peak = PeakPrivateBytes(program->Process());
    ASSERT_GT(peak, 0u);
    if (!small) small = peak;
    EXPECT_LT(peak, small + kAllowance) << "peak " << (peak >> 20) << " MiB, with a small picture "
                                        << (small >> 20) << " MiB";
    Exit(w);
  }
}

TEST_F(MainWindow, WithoutTheScriptTheOpenErrorIsShownOverTheWholeWindow) {
  ProductDir& dir = Product("", false);
  program.reset(dir.Start());
  HWND box = drv::WaitDialog("Setup", 20000, program->Id());
  EXPECT_EQ(drv::MessageText(box), "Cannot open file setup.ini.");
  // While the box is up, the window below it is complete: every control there, shown and drawn,
  // the fields with their design texts (checked once the box is answered).
  HWND w = drv::FindWindowByCaption(kCaption, program->Id());
  ASSERT_NE(w, nullptr) << "the main window is on the screen under the box";
  int shown = 0;
  for (HWND h = GetWindow(w, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    if (!IsWindowVisible(h)) continue;
    ++shown;
    EXPECT_FALSE(GetUpdateRect(h, nullptr, FALSE)) << drv::ClassNameOf(h) << " " << drv::Text(h) << " is drawn";
  }
  EXPECT_EQ(shown, 15) << "every control of the window is there and shown";
  EXPECT_EQ(mainwin::TextAt(w, mainwin::kSourceLabel), "Source Directory");
  drv::PressButton(box, "OK");
  EXPECT_EQ(mainwin::TextAt(w, mainwin::kSource), "s");
  EXPECT_EQ(mainwin::TextAt(w, mainwin::kDestination), "d");
  Exit(w);
}

namespace {
// How a small modal window of the main window is ended. A click and a key come posted, as the
// mouse and the keyboard deliver them; the system's close command (the task bar's Close) and an
// assistive tool's press of a button come as sent messages, which the program handles while it
// looks for posted ones.
enum class Ending { OkClicked, Enter, CloseBox, SentClose, SentPress };

void End(HWND modal, Ending how) {
  DWORD_PTR answer = 0;
  switch (how) {
    case Ending::OkClicked: drv::PressButton(modal, "OK"); break;
    case Ending::Enter: drv::PressKey(drv::FindButton(modal, "OK"), drv::Key::Enter); break;
    case Ending::CloseBox: drv::Close(modal); break;
    case Ending::SentClose:
      ASSERT_TRUE(
          SendMessageTimeoutA(modal, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_NORMAL, 10000, &answer));
      break;
    case Ending::SentPress:
      ASSERT_TRUE(SendMessageTimeoutA(drv::FindButton(modal, "OK"), BM_CLICK, 0, 0, SMTO_NORMAL,
                                      10000, &answer));
      break;
  }
}

// How long the main window may take to come back with nothing more from outside: far above what
// the work takes on a busy machine. A modal loop that misses a result set by a sent message
// waits for one more posted message, which never comes here, so it stays away for good.
const DWORD kBackWithinMs = 5000;
}  // namespace

TEST_F(MainWindow, EndingAModalPromptChangesNothingAndGivesTheMainWindowBackAtOnce) {
  struct Case {
    const char* what;
    const char* caption;
    mainwin::Spot open;  // the main window's button that opens it
    Ending ending;
  };
  const mainwin::Spot install = mainwin::kInstall, about = mainwin::kAbout;
  const Case cases[] = {
      {"Start Menu prompt, OK clicked", "Setup Message", install, Ending::OkClicked},
      {"Start Menu prompt, Enter", "Setup Message", install, Ending::Enter},
      {"Start Menu prompt, OK pressed by a sent click", "Setup Message", install,
       Ending::SentPress},
      {"Start Menu prompt, the system's close command", "Setup Message", install,
       Ending::SentClose},
      {"About, OK clicked", "About", about, Ending::OkClicked},
      {"About, Enter", "About", about, Ending::Enter},
      {"About, close box", "About", about, Ending::CloseBox},
      {"About, OK pressed by a sent click", "About", about, Ending::SentPress},
      {"About, the system's close command", "About", about, Ending::SentClose},
  };
  const Leftovers menu = Menu();
  ProductDir& dir = Product(kScript);
  HWND w = Start(dir);
  HWND smenu = mainwin::At(w, mainwin::kFolder);
  drv::SetText(smenu, "");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    drv::Click(mainwin::At(w, c.open));
    HWND modal = drv::WaitWindow(c.caption, 10000, program->Id());
    ASSERT_FALSE(IsWindowEnabled(w)) << "the main window takes no input meanwhile";
    if (c.open.x == install.x) {
      EXPECT_EQ(mainwin::TextAt(modal, mainwin::kPromptText), "Please enter a Start Menu Folder");
    } else {
      EXPECT_EQ(mainwin::TextAt(modal, mainwin::kAboutVersion), "1.00");
    }
    End(modal, c.ending);
    // Nothing else reaches the program meanwhile.
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(modal); }, kBackWithinMs))
        << "the window is hidden";
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(w) != FALSE; }, kBackWithinMs))
        << "the main window is enabled again";
    EXPECT_TRUE(WaitUntil([&] { return !GetUpdateRect(w, nullptr, FALSE); }, kBackWithinMs))
        << "the main window is drawn again where the closed window was";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == w; }, kBackWithinMs))
        << "the main window is the active one again";
  }
  EXPECT_EQ(drv::FindWindowByCaption("Installing", program->Id()), nullptr);
  EXPECT_EQ(mainwin::TextAt(w, mainwin::kDestination), "c:\\program files\\Widget");
  Exit(w);
}

// Both programs write the Windows directory, so their manifest asks to run as an administrator;
// it names the systems from Vista to 10 and 11, and asks neither for the newer common controls
// nor for another scaling, which would change how the windows look. Read from the programs the
// tests start and from the i686 ones, which are shipped.
TEST(Manifest, BothProgramsAskForAnAdministratorAndChangeNothingSeen) {
  std::vector<std::string> programs;
  const std::string i686 = BuildDir().substr(0, BuildDir().find_last_of('\\')) + "\\i686";
  for (const std::string& dir : {ProductBuildDir(), i686})
    for (const char* name : {"setup", "remove"})
      if (FileExists(dir + "\\" + name + ".exe")) programs.push_back(dir + "\\" + name + ".exe");
  ASSERT_GE(programs.size(), 2u);
  for (const std::string& path : programs) {
    SCOPED_TRACE(path);
    HMODULE file = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr);
    std::string manifest;
    if (HRSRC r = FindResourceA(file, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)))
      if (HGLOBAL g = LoadResource(file, r))
        manifest.assign(static_cast<const char*>(LockResource(g)), SizeofResource(file, r));
    FreeLibrary(file);
    ASSERT_FALSE(manifest.empty()) << "no manifest";
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"requireAdministrator\" "
                            "uiAccess=\"false\"/>"),
              std::string::npos);
    for (const char* os : {"e2011457-1546-43c5-a5fe-008deee3d3f0",    // Vista
                           "35138b9a-5d96-4fbd-8e2d-a2440225f93a",    // 7
                           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",    // 8
                           "1f676c76-80e1-4239-95bb-83d0f6d0da78",    // 8.1
                           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})  // 10 and 11
      EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"{") + os + "}\"/>"), std::string::npos)
          << os;
    for (const char* never : {"Common-Controls", "dependency", "dpiAware", "dpiAwareness"})
      EXPECT_EQ(manifest.find(never), std::string::npos) << never;
  }
}
