// Whole installation runs in temporary directories, the records checked byte for byte.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <set>

#include "dde/DdeMgr.h"
#include "engine/ScriptStore.h"
#include "engine/Unit3.h"
#include "engine/WindowsDir.h"
#include "support/BoxWatcher.h"
#include "support/Files.h"
#include "support/Progman.h"
#include "support/Records.h"
#include "ui/Application.h"

namespace {
class Install : public ProgmanSuite {
protected:
  void SetUp() override {
    InitApplication();
    InitDdeManager();
    host = new TForm(Application, TFormDef{"host", 100, 100});
    s = new TEdit(host);
    s->Define(host, "s", 0, 0, 100, 20);
    d = new TEdit(host);
    d->Define(host, "d", 0, 30, 100, 20);
    Application->CreateForm(dialog);
    dialog->ini = &ini;
    dialog->s = s;
    dialog->d = d;
    windowsDir = WindowsDirectory();
    if (!snapshotTaken) groupsBefore = Groups();  // a test that sets up again keeps the first
    snapshotTaken = true;
  }
  void TearDown() override {
    DoneApplication();
    // The server made the runs' groups in the folder the main window lists; they go again once
    // it has ended every conversation, and with it every command.
    WaitUntil([] { return server->Count("connect") == server->Count("disconnect"); }, 10000);
    for (const std::string& g : Groups())
      if (!groupsBefore.count(g)) RemoveTree(windowsDir + "\\Start Menu\\Programs\\" + g);
    if (!record.empty()) DeleteFileA(LocationRecord().c_str());
  }

  // Runs the installation as Install does and closes the dialog once it waits.
  void Run(const std::string& script, const std::string& source, const std::string& dest) {
    WriteFileBytes(work / "setup.ini", script);
    ini.Load(work / "setup.ini");
    record = ini.Count() > 4 ? ini.Line(4) : std::string();
    toldBefore = boxes.Seen().size();
    s->SetText(source);
    d->SetText(dest);
    // The dialog is closed once its activation, the run, has ended, however it ended: a close
    // asked for earlier would be taken by the loop of a message box shown during the run.
    auto run = dialog->OnActivate;
    dialog->OnActivate = [this, run](TComponent& sender) {
      struct CloseAfter {
        HWND hwnd;
        ~CloseAfter() { PostMessageA(hwnd, WM_CLOSE, 0, 0); }
      } closer{dialog->Handle()};
      // An error ends the run with the error box, as it does in the program; it is shown here
      // so that the close comes after the box rather than being taken by the box's loop.
      try {
        run(sender);
      } catch (const std::exception& e) {
        Application->HandleException(e);
      }
    };
    dialog->ShowModal();
    dialog->OnActivate = run;
  }
  std::set<std::string> Groups() const {
    const std::vector<std::string> names = FolderNames(windowsDir + "\\Start Menu\\Programs");
    return std::set<std::string>(names.begin(), names.end());
  }
  std::set<std::string> groupsBefore;
  bool snapshotTaken = false;
  std::string LocationRecord() const { return windowsDir + "\\" + record + ".ini"; }
  std::string Lines(std::initializer_list<std::string> lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
  }
  std::string Group(const std::string& name) {
    return windowsDir + "\\Start Menu\\Programs\\" + name + "\\";
  }
  // What the run said, in order.
  std::vector<std::string> Told() {
    std::vector<std::string> texts;
    const std::vector<SeenBox> seen = boxes.Seen();
    for (size_t k = toldBefore; k < seen.size(); ++k) texts.push_back(seen[k].text);
    return texts;
  }
  int Progress() {
    return static_cast<int>(SendMessageA(dialog->progress->Handle(), PBM_GETPOS, 0, 0));
  }

  TempDir work{"install"};
  BoxWatcher boxes;
  size_t toldBefore = 0;
  TScriptStore ini;
  TForm* host = nullptr;
  TEdit* s = nullptr;
  TEdit* d = nullptr;
  Tcopyfiles* dialog = nullptr;
  std::string windowsDir, record;
};
}  // namespace

TEST_F(Install, TheExampleScriptCopiesRestoresAndRecords) {
  std::string src = work / "src", dest = work / "dest\\Widget";
  CreateDirectoryA(src.c_str(), nullptr);
  WriteFileBytes(src + "\\WIDGET.EX_", "program");
  WriteFileBytes(src + "\\readme.txt", "read me");
  record = "vtest_example";
  Run("\\Widget\r\nWidget\r\nWidget 2.0\r\nwidget.exe\r\nvtest_example\r\n:install\r\n"
      "WIDGET.EX_\r\nreadme.txt\r\n\r\n:ini\r\n~\\widget.ini\r\n>\r\n:end\r\n",
      src, dest);
  EXPECT_EQ(ReadFileBytes(dest + "\\widget.exe"), "program");
  EXPECT_EQ(ReadFileBytes(dest + "\\readme.txt"), "read me");
  EXPECT_EQ(ReadFileBytes(dest + "\\unin.ini"),
            Lines({"Widget 2.0", dest + "\\widget.exe", dest + "\\readme.txt",
                   "ini~\\widget.ini", "ini>", "ini:end", Group("Widget") + "Widget 2.0.lnk",
                   Group("Widget") + "Widget 2.0 Uninstaller.lnk", "+" + Group("Widget"), ":end"}));
  EXPECT_EQ(ReadFileBytes(LocationRecord()),
            Lines({":run", dest, dest + "\\widget.ini", windowsDir}));
  EXPECT_EQ(dialog->Label1->Caption(), "Click DONE to exit.");
  EXPECT_TRUE(dialog->Button1->Visible());
  EXPECT_EQ(Progress(), 100);
  // The ini lines are recorded, but they name no files: nothing failed, so nothing is told.
  EXPECT_EQ(Told(), std::vector<std::string>{});
}

TEST_F(Install, ExistingTargetsAndRecordsAreReplaced) {
  std::string src = work / "src", dest = work / "rep";
  CreateDirectoryA(src.c_str(), nullptr);
  CreateDirectoryA(dest.c_str(), nullptr);
  WriteFileBytes(src + "\\r.txt", "new");
  WriteFileBytes(dest + "\\r.txt", "old and longer");
  WriteFileBytes(dest + "\\unin.ini", std::string(5000, 'x'));
  Run("\\r\nR\nR 1\nr.txt\nvtest_rep\n:install\nr.txt\n", src, dest);
  EXPECT_EQ(ReadFileBytes(dest + "\\r.txt"), "new");
  EXPECT_EQ(ReadFileBytes(dest + "\\unin.ini").substr(0, 5), "R 1\r\n");
  EXPECT_LT(ReadFileBytes(dest + "\\unin.ini").size(), 5000u);
}

TEST_F(Install, ADestinationWithATrailingBackslashDoublesIt) {
  std::string src = work / "src", dest = work / "slash\\";
  CreateDirectoryA(src.c_str(), nullptr);
  WriteFileBytes(src + "\\t.txt", "t");
  Run("\\t\nT\nT 1\nt.txt\nvtest_slash\n:install\nt.txt\n", src, dest);
  std::string unin = ReadFileBytes(dest + "\\unin.ini");
  EXPECT_NE(unin.find(dest + "\\t.txt"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(work / "slash\\t.txt"), "t");
}
