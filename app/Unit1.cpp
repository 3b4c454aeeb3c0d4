#include "app/Unit1.h"

#include <windows.h>

#include "app/Browse.h"
#include "app/Unit5.h"
#include "app/Unit6.h"
#include "engine/EngineText.h"
#include "engine/Unit3.h"
#include "engine/WindowsDir.h"
#include "filectrl/FileListBox.h"
#include "ui/Application.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Messages.h"
#include "setupcore/Places.h"

namespace velmora {
Tmain* main = nullptr;
}

namespace {
const COLORREF kWhite = RGB(255, 255, 255);

TLabel* WhiteLabel(TForm* form, const char* name, int l, int t, int w, int h, const char* text) {
  auto* label = new TLabel(form);
  TFont f = form->Font();
  f.SetColor(kWhite);
  label->SetFont(f);
  label->Define(form, name, l, t, w, h, text);
  return label;
}

TEdit* FieldEdit(TForm* form, const char* name, int l, int t, int tab, const char* text) {
  auto* e = new TEdit(form);
  e->SetBorder(false);
  e->SetColor(kWhite);
  e->Define(form, name, l, t, 265, 17, text);
  e->SetTabOrder(tab);
  return e;
}

// The folder of the running program's file, as the current directory would read there: no
// trailing backslash but for a drive's root.
std::string ProgramFolder() {
  const std::string file = ProgramFilePath();
  const size_t sep = file.find_last_of('\\');
  if (sep == std::string::npos) return std::string();
  return file.substr(0, sep == 2 && file[1] == ':' ? sep + 1 : sep);
}

std::string InFolder(const std::string& folder, const char* name) {
  return folder.empty() || folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

// Reads the file `name` of the program's folder; a file that cannot be opened is told by its
// name alone, as it always was.
template <class Read>
void ReadBeside(const std::string& folder, const char* name, Read read) {
  try {
    read(InFolder(folder, name));
  } catch (const EFOpenError&) {
    throw EFOpenError(FmtLoadStr(SFOpenError, name));
  }
}

}  // namespace

Tmain::Tmain(TComponent* owner)
    : TForm(owner, TFormDef{"The Velmora Installer V1.00", 432, 379, bsSizeable, true, true,
                            poScreenCenter, fsStayOnTop}) {
  SetName("main");
  Image1 = new TImage(this);
  Image1->SetStretch(true);
  Image1->SetPicture(TBitmap::FromResource("BACKGROUND"));
  Image1->Define(this, "Image1", 0, 0, 432, 360);
  Image1->SetAlign(alClient);

  var1 = new TLabel(this);
  var1->SetVisible(false);
  var1->Define(this, "var1", 80, 416, 21, 13, "var1");
  Label1 = WhiteLabel(this, "Label1", 64, 192, 79, 13, "Source Directory");
  Label3 = WhiteLabel(this, "Label3", 64, 240, 98, 13, "Destination Directory");

  SpeedButton1 = new TSpeedButton(this);
  SpeedButton1->SetGlyph(TBitmap::FromResource("BROWSE"), 2);
  SpeedButton1->Define(this, "SpeedButton1", 344, 200, 25, 25);
  SpeedButton1->OnClick = [this](TComponent& c) { SpeedButton1Click(c); };
  SpeedButton3 = new TSpeedButton(this);
  SpeedButton3->SetGlyph(TBitmap::FromResource("BROWSE"), 2);
  SpeedButton3->Define(this, "SpeedButton3", 344, 248, 25, 25);
  SpeedButton3->OnClick = [this](TComponent& c) { SpeedButton3Click(c); };

  title = new TImage(this);
  title->SetStretch(true);
  title->Define(this, "title", 24, 24, 385, 145);
  Label2 = WhiteLabel(this, "Label2", 64, 280, 84, 13, "Start Menu Folder");

  Label4 = new TLabel(this);
  Label4->SetFont(TFont("Times New Roman", 33, fsBold | fsItalic, kWhite));
  Label4->SetAutoSize(false);
  Label4->SetWordWrap(true);
  Label4->SetAlignment(taCenter);
  Label4->Define(this, "Label4", 40, 56, 353, 97);

  s = FieldEdit(this, "s", 64, 208, 0, "s");
  d = FieldEdit(this, "d", 64, 256, 1, "d");
  Button2 = PushButton(this, "Button2", 248, 328, 2, "Install");
  Button2->OnClick = [this](TComponent& c) { Button2Click(c); };
  Button1 = PushButton(this, "Button1", 344, 328, 3, "Exit");
  Button1->OnClick = [this](TComponent& c) { Button1Click(c); };

  StatusBar1 = new TStatusBar(this);
  StatusBar1->Define(this, "StatusBar1", 0, 360, 432, 19);

  smenu = new TComboBox(this, csDropDown);
  smenu->SetColor(kWhite);
  smenu->SetItemHeight(13);
  smenu->Define(this, "smenu", 64, 296, 265, 21);
  smenu->SetTabOrder(6);

  smenubox = new TFileListBox(this);
  smenubox->SetVisible(false);
  smenubox->SetFileType(TFileType{ftDirectory});
  smenubox->Define(this, "smenubox", 120, 416, 65, 25);

  Button3 = PushButton(this, "Button3", 8, 328, 8, "About");
  Button3->OnClick = [this](TComponent& c) { Button3Click(c); };

  OnActivate = [this](TComponent& c) {
    try {
      FormActivate(c);
    } catch (const std::exception& e) {
      if (!prepared_) notPreparedBecause_ = e.what();
      throw;
    }
  };
}

void Tmain::FormActivate(TComponent&) {
  // The script, the picture and the files come from the folder setup.exe lies in, never from the
  // directory it was started in: a scheduled task or a deployment tool may start it anywhere,
  // and an administrator's run would install whatever lay there. A run started in its own
  // folder reads what it always read.
  const std::string folder = ProgramFolder();
  ReadBeside(folder, "setup.ini", [this](const std::string& path) { ini.Load(path); });
  if (IsExistingFile(InFolder(folder, "title.bmp"))) {
    TBitmap picture;
    // Shown stretched, the picture never needs more pixels than its box has.
    ReadBeside(folder, "title.bmp", [&](const std::string& path) {
      picture.LoadFromFile(path, title->Width(), title->Height());
    });
    title->SetPicture(std::move(picture));
  } else {
    title->Hide();
    Label4->SetCaption(ini.Line(2));
  }
  s->SetText(folder);
  d->SetText(switches.dir.empty() ? setupcore::ProposedDestination(ini.Line(0)) : switches.dir);
  prepared_ = true;
  if (!listFoldersLater) ListStartMenuFolders();
  smenu->SetText(switches.group.empty() ? ini.Line(1) : switches.group);
}

void Tmain::ListStartMenuFolders() {
  // From here on the process's current directory is the Start Menu programs folder.
  smenubox->SetDirectory(programsDir);
  // Emptying the box keeps the folder typed or proposed in its field.
  smenu->Clear();
  // Items 0 and 1 are the folder itself and its parent; the brackets are dropped.
  for (int i = 2; i < smenubox->Count(); ++i) {
    const std::string item = smenubox->Strings(i);
    smenu->AddItem(item.size() >= 2 ? item.substr(1, item.size() - 2) : std::string());
  }
}

int Tmain::InstallUnattended(bool showProgress) {
  try {
    FormActivate(*this);
  } catch (const std::exception& e) {
    if (!prepared_) {
      report.Tell(std::string(e.what()) + ".", MB_OK | MB_ICONSTOP);
      return setupcore::kSetupNothingChanged;
    }
    // The folder list is there to choose from by hand; the run needs only what came before it.
    report.Log(e.what());
  }
  const std::string group = switches.group.empty() ? ini.Line(1) : switches.group;
  if (group.empty()) {
    report.Tell(velmora::efolder->Label1->Caption(), MB_OK);
    return setupcore::kSetupNothingChanged;
  }
  std::string destination;
  const std::string refusal = InstallRefusal(d->Text(), group, destination);
  if (!refusal.empty()) {
    report.Tell(refusal + ".", MB_OK | MB_ICONWARNING);
    return setupcore::kSetupNothingChanged;
  }
  return velmora::copyfiles->InstallUnattended(InstallInputs{s->Text(), d->Text(), ini, group},
                                               showProgress);
}

void Tmain::SpeedButton1Click(TComponent&) { BrowseSource(*s, *var1); }

void Tmain::SpeedButton3Click(TComponent&) { BrowseDestination(*d, *var1, ini); }

void Tmain::Button2Click(TComponent&) {
  // A window the start-up did not fill shows design texts, not a destination to install into;
  // asking for a Start Menu folder first would be asking in vain.
  if (!prepared_) {
    Application->MessageBox(EngineText(kNotPrepared, notPreparedBecause_) + ".",
                            Application->Title(), MB_OK | MB_ICONSTOP);
    return;
  }
  if (smenu->Text().empty()) {
    velmora::efolder->ShowModal();
    return;
  }
  // Nothing may be created or copied for a destination that is not a full path, nor for a folder
  // the program group cannot take: the user is told and can change them.
  std::string destination;
  const std::string refusal = InstallRefusal(d->Text(), smenu->Text(), destination);
  if (!refusal.empty()) {
    Application->MessageBox(refusal + ".", Application->Title(), MB_OK | MB_ICONWARNING);
    return;
  }
  Hide();
  velmora::copyfiles->Open(InstallInputs{s->Text(), d->Text(), ini, smenu->Text()});
  Show();
  Button2->Hide();
  Close();
}

void Tmain::Button1Click(TComponent&) { Close(); }

void Tmain::Button3Click(TComponent&) { velmora::AboutBox->ShowModal(); }
