// The real installer started in a product directory and worked from outside with the driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "driver/Driver.h"
#include "support/Files.h"
#include "support/Progman.h"
#include "support/Program.h"

namespace {
const char kCaption[] = "The Velmora Installer V1.00";
const char kScript[] =
    "\\Widget\r\nWidget\r\nWidget 2.0\r\nwidget.exe\r\nwidget\r\n:install\r\nWIDGET.EX_\r\n";

// A tiny valid 24-bit bitmap of 2 x 2 pixels.
std::string TinyBitmap() {
  std::string b = "BM";
  auto put32 = [&](unsigned v) {
    for (int i = 0; i < 4; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  auto put16 = [&](unsigned v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
  };
  put32(54 + 16); put32(0); put32(54);
  put32(40); put32(2); put32(2); put16(1); put16(24); put32(0); put32(16);
  put32(2835); put32(2835); put32(0); put32(0);
  b += std::string(16, '\x7f');
  return b;
}

struct Menu {
  Menu() {
    CreateDirectoryA(StartMenuPrograms().c_str(), nullptr);
    for (const char* f : {"Games", "Tools"}) CreateDirectoryA((StartMenuPrograms() + "\\" + f).c_str(), nullptr);
  }
  ~Menu() {
    for (const char* f : {"Games", "Tools"}) RemoveTree(StartMenuPrograms() + "\\" + f);
  }
};

class MainWindow : public ::testing::Test {
protected:
  HWND Start(ProductDir& dir) {
    program.reset(dir.Start());
    HWND w = drv::WaitWindow(kCaption, 20000, program->Id());
    // The window is on the screen before its activation has filled it in; a person waits
    // until the source directory shows.
    drv::WaitText(w, 74, 216, dir.Path(), 20000);
    return w;
  }
  // After an error box the window goes on making its controls; a control is waited for.
  static HWND ControlAt(HWND w, int x, int y) {
    for (int i = 0; i < 200 && !drv::ControlAt(w, x, y); ++i) Sleep(50);
    return drv::RequireControlAt(w, x, y);
  }
  std::string TextAt(HWND w, int x, int y) { return drv::Text(ControlAt(w, x, y)); }
  void Exit(HWND w) {
    // After an error box the window takes input again a moment after the box has gone.
    for (int i = 0; i < 200 && !IsWindowEnabled(w); ++i) Sleep(50);
    drv::Click(ControlAt(w, 344 + 37, 328 + 12));
    EXPECT_TRUE(program->WaitExit(10000)) << "Exit ends the program";
  }
  std::unique_ptr<RunningProgram> program;
};
}  // namespace

TEST_F(MainWindow, ShowsTheProposedValuesAndTheExistingFolders) {
  Menu menu;
  ProductDir dir(kScript);
  HWND w = Start(dir);
  EXPECT_EQ(TextAt(w, 74, 216), dir.Path());
  EXPECT_EQ(TextAt(w, 74, 264), "c:\\program files\\Widget");
  HWND smenu = drv::RequireControlAt(w, 74, 306);
  EXPECT_EQ(drv::Text(smenu), "Widget");
  // Every folder there is listed: the two made here and any other test left behind.
  std::vector<std::string> folders = FolderNames(StartMenuPrograms());
  std::sort(folders.begin(), folders.end(),
            [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
  EXPECT_EQ(drv::Items(smenu), folders);
  EXPECT_NE(std::find(folders.begin(), folders.end(), "Games"), folders.end());
  EXPECT_EQ(TextAt(w, 60, 70), "Widget 2.0") << "the title label shows script line 2";
  EXPECT_EQ(TextAt(w, 70, 198), "Source Directory");

  // The destination browse opens Select Path at C:\ with the main window hidden; Select writes
  // C: and the sub-path back. The source browse then stays on drive C, and Select gives C:\.
  drv::Click(drv::RequireControlAt(w, 344 + 12, 248 + 12));
  HWND open = drv::WaitWindow("Select Path", 10000, program->Id());
  EXPECT_EQ(drv::FindWindowByCaption(kCaption, program->Id()), nullptr);
  drv::PressButton(open, "Select");
  w = drv::WaitWindow(kCaption, 10000, program->Id());
  drv::WaitText(w, 74, 264, "C:\\Widget");
  drv::Click(drv::RequireControlAt(w, 344 + 12, 200 + 12));
  drv::PressButton(drv::WaitWindow("Select Path", 10000, program->Id()), "Select");
  w = drv::WaitWindow(kCaption, 10000, program->Id());
  drv::WaitText(w, 74, 216, "C:\\");
  EXPECT_EQ(TextAt(w, 74, 264), "C:\\Widget");
  EXPECT_EQ(drv::Text(smenu), "Widget");
  Exit(w);
}

TEST_F(MainWindow, WithATitlePictureTheTitleTextStaysEmpty) {
  Menu menu;
  ProductDir dir(kScript);
  WriteFileBytes(dir / "title.bmp", TinyBitmap());
  HWND w = Start(dir);
  EXPECT_EQ(TextAt(w, 60, 70), "");
  EXPECT_EQ(TextAt(w, 74, 264), "c:\\program files\\Widget");
  Exit(w);
}

TEST_F(MainWindow, WithoutTheScriptTheOpenErrorIsShownAndTheFieldsKeepTheirDesignTexts) {
  ProductDir dir("", false);
  program.reset(dir.Start());
  HWND box = drv::WaitDialog("Setup", 20000, program->Id());
  EXPECT_EQ(drv::MessageText(box), "Cannot open file setup.ini.");
  drv::PressButton(box, "OK");
  HWND w = drv::WaitWindow(kCaption, 10000, program->Id());
  drv::WaitText(w, 74, 216, "s", 10000);
  drv::WaitText(w, 74, 264, "d", 10000);
  EXPECT_EQ(TextAt(w, 74, 306), "");
  Exit(w);
}

TEST_F(MainWindow, AShortScriptStopsAtTheMissingLine) {
  ProductDir dir("\\Widget\r\nWidget\r\n");
  program.reset(dir.Start());
  HWND box = drv::WaitDialog("Setup", 20000, program->Id());
  EXPECT_EQ(drv::MessageText(box), "List index out of bounds.");
  drv::PressButton(box, "OK");
  HWND w = drv::WaitWindow(kCaption, 10000, program->Id());
  drv::WaitText(w, 74, 264, "d", 10000);
  EXPECT_EQ(TextAt(w, 74, 216), "s") << "line 2 is needed before the source is filled in";
  Exit(w);
}

TEST_F(MainWindow, InstallWithNoFolderAsksForOneAndChangesNothing) {
  Menu menu;
  ProductDir dir(kScript);
  HWND w = Start(dir);
  HWND smenu = drv::RequireControlAt(w, 74, 306);
  drv::SetText(smenu, "");
  HWND install = drv::RequireControlAt(w, 248 + 37, 328 + 12);
  drv::Click(install);
  HWND prompt = drv::WaitWindow("Setup Message", 10000, program->Id());
  EXPECT_EQ(TextAt(prompt, 20, 20), "Please enter a Start Menu Folder");
  EXPECT_FALSE(IsWindowEnabled(w)) << "the main window takes no input meanwhile";
  drv::PressButton(prompt, "OK");
  drv::WaitGone("Setup Message", 10000, program->Id());
  for (int i = 0; i < 100 && !IsWindowEnabled(w); ++i) Sleep(50);
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_TRUE(IsWindowVisible(install));
  EXPECT_EQ(TextAt(w, 74, 264), "c:\\program files\\Widget");
  EXPECT_EQ(drv::FindWindowByCaption("Installing", program->Id()), nullptr);
  Exit(w);
}

TEST_F(MainWindow, AboutOpensAndClosesWithEnter) {
  Menu menu;
  ProductDir dir(kScript);
  HWND w = Start(dir);
  drv::Click(drv::RequireControlAt(w, 8 + 37, 328 + 12));
  HWND about = drv::WaitWindow("About", 10000, program->Id());
  EXPECT_EQ(TextAt(about, 8 + 88 + 5, 8 + 40 + 5), "1.00");
  drv::PressKey(drv::FindButton(about, "OK"), drv::Key::Enter);
  drv::WaitGone("About", 10000, program->Id());
  // The box is hidden first and the main window enabled right after it.
  for (int i = 0; i < 100 && !IsWindowEnabled(w); ++i) Sleep(50);
  EXPECT_TRUE(IsWindowEnabled(w));
  Exit(w);
}

TEST_F(MainWindow, InstallRunsToDoneAndDoneEndsTheProgram) {
  Menu menu;
  ProgmanServer server;  // Wine's shell would leave a folder window open for the group
  const std::string record = "vtest_endtoend";
  ProductDir dir("\\Velmora EndToEnd\r\nEndToEnd\r\nEndToEnd 1.0\r\ne2e.exe\r\n" + record +
                 "\r\n:install\r\nE2E.EX_\r\nnotes.txt\r\n");
  WriteFileBytes(dir / "E2E.EX_", "program");
  WriteFileBytes(dir / "notes.txt", "notes");
  const std::string dest = "c:\\program files\\Velmora EndToEnd";
  HWND w = Start(dir);
  drv::Click(drv::RequireControlAt(w, 248 + 37, 328 + 12));
  HWND installing = drv::WaitWindow("Installing", 20000, program->Id());
  drv::WaitText(installing, 8 + 5, 16 + 5, "Click DONE to exit.", 30000);
  EXPECT_FALSE(IsWindowVisible(w)) << "the main window is hidden during the run";
  drv::PressButton(installing, "Done");
  EXPECT_TRUE(program->WaitExit(10000)) << "Done ends the program";
  EXPECT_EQ(ReadFileBytes(dest + "\\e2e.exe"), "program");
  EXPECT_EQ(ReadFileBytes(dest + "\\notes.txt"), "notes");
  const std::string unin = ReadFileBytes(dest + "\\unin.ini");
  EXPECT_EQ(unin.substr(0, 14), "EndToEnd 1.0\r\n");
  EXPECT_NE(unin.find(dest + "\\e2e.exe\r\n"), std::string::npos);
  char win[MAX_PATH];
  const std::string locationRecord =
      std::string(win, GetWindowsDirectoryA(win, MAX_PATH)) + "\\" + record + ".ini";
  EXPECT_EQ(ReadFileBytes(locationRecord), ":run\r\n" + dest + "\r\n");
  DeleteFileA(locationRecord.c_str());
  RemoveTree(dest);
  RemoveTree(StartMenuPrograms() + "\\EndToEnd");
}
