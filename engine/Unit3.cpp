#include "engine/Unit3.h"

#include <windows.h>

#include "dde/DdeClientConv.h"
#include "engine/EngineText.h"
#include "engine/ProgramGroup.h"
#include "engine/ScriptStore.h"
#include "engine/WindowsDir.h"
#include "filectrl/DirHelpers.h"
#include "ui/Application.h"
#include "ui/Errors.h"
#include "ui/FileSystem.h"

namespace velmora {
Tcopyfiles* copyfiles = nullptr;
}

namespace {
// The conversation is made from a stored definition that holds its connect mode alone.
const char kDdeClientConv1Definition[] = "object DdeClientConv1: TDdeClientConv\n"
                                         "  ConnectMode = ddeManual\n"
                                         "end\n";
}  // namespace

Tcopyfiles::Tcopyfiles(TComponent* owner)
    : TForm(owner, TFormDef{"Installing", 418, 57, bsDialog, true, false, poScreenCenter,
                            fsStayOnTop, TFont("MS Sans Serif", 13), false}) {
  SetName("copyfiles");
  DdeClientConv1 = new TDdeClientConv(this);
  DdeClientConv1->SetName("DdeClientConv1");
  LoadComponent(*DdeClientConv1, kDdeClientConv1Definition);

  Button1 = new TButton(this);
  Button1->Define(this, "Button1", 336, 24, 75, 25, "Done");
  Button1->SetTabOrder(0);
  Button1->OnClick = [this](TComponent& c) { Button1Click(c); };

  progress = new TProgressBar(this);
  progress->Define(this, "progress", 8, 32, 313, 17);
  progress->SetRange(0, 100);
  progress->SetStep(1);

  Label1 = new TLabel(this);
  Label1->SetFont(TFont("MS Sans Serif", 13, fsBold));
  Label1->Define(this, "Label1", 8, 16, 0, 16);

  OnActivate = [this](TComponent& c) { FormActivate(c); };
}

void Tcopyfiles::Button1Click(TComponent&) { Close(); }

void Tcopyfiles::ShowStatus(const std::string& text) {
  Label1->SetCaption(text);
  RepaintNow();
}

void Tcopyfiles::RepaintNow() {
  // The copy holds the thread, so the dialog is drawn now rather than by the message loop.
  // Only what a change made invalid is drawn: the label's new text, the area it left, the bar.
  if (HandleAllocated()) RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  lastPaint_ = GetTickCount();
}

void Tcopyfiles::RepaintFileStatus() {
  // Small files go by faster than a screen refreshes: the label and the bar take every file's
  // state at once (their windows carry it), and are drawn when a refresh's time has passed
  // since the last drawing, so that the run does not spend its time drawing unseen frames.
  const DWORD kRefreshMs = 16;
  if (GetTickCount() - lastPaint_ >= kRefreshMs) RepaintNow();
}

void Tcopyfiles::FormActivate(TComponent&) {
  const std::string quote = "\"";
  un.Clear();
  un.Add(ini->Line(2));
  const std::string windowsDir = WindowsDirectory();
  const std::string destination = d->Text();
  if (destination.empty()) throw Exception(EngineText(kNoDestination));
  CreateDirectoryChain(destination);
  Button1->Hide();

  std::string lastTarget;
  CopyPass(windowsDir, lastTarget);

  WaitForProgramFile(destination + "\\" + ini->Line(3));
  ShowStatus("Generating Icons.");

  Edit1 = ini->Line(1);
  Edit2 = ini->Line(2);
  Edit3 = quote + destination + "\\" + ini->Line(3) + quote;
  Edit4 = ini->Line(2) + " Uninstaller";
  Edit5 = quote + destination + "\\remove.exe" + quote;

  const std::string group = StartMenuProgramsDirectory(windowsDir) + "\\" + Edit1 + "\\";
  un.Add(group + Edit2 + ".lnk");
  un.Add(group + Edit2 + " Uninstaller" + ".lnk");
  un.Add("+" + group);

  CreateProgramGroup(*DdeClientConv1, ProgramGroupTexts{Edit1, Edit2, Edit3, Edit4, Edit5});

  un.Add(":" + lastTarget);
  un.SaveToFile(destination + "\\unin.ini");
  SaveLocationRecord(windowsDir, destination);

  Button1->Show();
  progress->SetPosition(100);
  ShowStatus("Click DONE to exit.");
}

void Tcopyfiles::CopyPass(const std::string& windowsDir, std::string& targetPrefix) {
  std::string sourcePrefix;
  bool sectionOpen = false;
  // Count is read again after every line; the pass starts at line 4, so a record name
  // beginning with ':' opens a section of its own.
  for (int i = 4; i <= ini->Count() - 1; ++i) {
    std::string L = ini->Line(i);
    if (L.empty()) {
      sectionOpen = false;
      L = " ";
    }
    if (sectionOpen) {
      const std::string line = ini->Line(i);
      const std::string restored = RestoredName(line);
      Label1->SetCaption("Copying file: " + line);
      double fraction = static_cast<double>(i) / static_cast<double>(ini->Count() - 1) * 100.0;
      progress->SetPosition(static_cast<int>(fraction));
      RepaintFileStatus();
      // A lone "_" names no file: copying it would aim at the target directory itself.
      if (!restored.empty()) {
        const std::string target = targetPrefix + restored;
        CopyFileA((sourcePrefix + line).c_str(), target.c_str(), FALSE);
        un.Add(target);
      }
    }
    // A marker met inside an open section has been copied as a file entry above.
    if (L[0] == ':') {
      std::string T = L.substr(1);
      if (T == "win") T = windowsDir + "\\";
      if (T == "win\\system") T = windowsDir + "\\system\\";
      if (T == "install") T = d->Text() + "\\";
      sourcePrefix = s->Text() + "\\";
      targetPrefix = T;
      sectionOpen = true;
    }
  }
}

void Tcopyfiles::WaitForProgramFile(const std::string& path) {
  const int stepMs = 100;
  for (int waited = 0; !IsExistingFile(path); waited += stepMs) {
    if (waited >= kProgramFileWaitMs) {
      Application->MessageBox(EngineText(kProgramFileMissing, path), Application->Title(),
                              MB_OK | MB_ICONWARNING);
      return;
    }
    Sleep(stepMs);
    RepaintNow();
  }
}

void Tcopyfiles::SaveLocationRecord(const std::string& windowsDir, const std::string& destination) {
  un.Clear();
  un.Add(":run");
  un.Add(destination);
  for (int k = 0; k <= ini->Count() - 1; ++k) {
    if (ini->Line(k) != ":ini") continue;
    // A section ends at its first line beginning with ':' or at the end of the script;
    // empty lines inside it contribute nothing.
    for (int j = k + 1; j <= ini->Count() - 1; ++j) {
      const std::string line = ini->Line(j);
      if (line.empty()) continue;
      if (line[0] == '>') un.Add(windowsDir);
      else if (line[0] == '~') un.Add(destination + line.substr(1));
      if (line[0] == ':') break;
    }
  }
  un.SaveToFile(windowsDir + "\\" + ini->Line(4) + ".ini");
}
