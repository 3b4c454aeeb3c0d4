#include "app/Unit2.h"

#include "filectrl/DirectoryListBox.h"
#include "filectrl/DriveComboBox.h"

namespace velmora {
TOpen* Open = nullptr;
}

TOpen::TOpen(TComponent* owner)
    : TForm(owner, TFormDef{"Select Path", 171, 181, bsDialog, /*systemMenu*/ false, false,
                            poScreenCenter, fsStayOnTop}) {
  SetName("Open");
  var1 = new TLabel(this);
  var1->SetVisible(false);
  var1->Define(this, "var1", 24, 216, 3, 13);

  dir = new TDirectoryListBox(this);
  dir->SetItemHeight(16);
  dir->Define(this, "dir", 0, 0, 169, 129);
  dir->SetTabOrder(0);

  drive = new TDriveComboBox(this);
  drive->Define(this, "drive", 0, 128, 169, 19);
  drive->SetTabOrder(1);
  drive->OnChange = [this](TComponent& c) { driveChange(c); };

  Button1 = PushButton(this, "Button1", 8, 152, 2, "Select",
                       [this](TComponent& c) { Button1Click(c); });

  Button2 = PushButton(this, "Button2", 88, 152, 3, "Cancel",
                       [this](TComponent& c) { Button2Click(c); });

  OnActivate = [this](TComponent& c) { FormActivate(c); };
}

void TOpen::FormActivate(TComponent&) {
  // Whether the character names a drive is not checked: the directory list reports a drive it
  // cannot enter.
  const std::string letter = mainVar1 ? mainVar1->Caption() : std::string();
  if (!letter.empty()) drive->SetDrive(letter[0]);
}

void TOpen::driveChange(TComponent&) { dir->SetDrive(drive->Drive()); }

void TOpen::Button1Click(TComponent&) {
  var1->SetCaption("s");
  Close();
}

void TOpen::Button2Click(TComponent&) {
  var1->SetCaption("c");
  Close();
}
