#pragma once
// The Select Path dialog: a directory list and a drive selector, Select and Cancel. The result
// of the last closing by a button is the caption of its own var1: "s" or "c".
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class TDirectoryListBox;
class TDriveComboBox;

class TOpen : public TForm {
public:
  explicit TOpen(TComponent* owner);

  TLabel* var1;
  TDirectoryListBox* dir;
  TDriveComboBox* drive;
  TButton* Button1;
  TButton* Button2;
  // The main window's var1, whose caption names the drive to open on; set by the browse
  // handlers before each showing. Not owned.
  TLabel* mainVar1 = nullptr;

  void FormActivate(TComponent& sender);
  void driveChange(TComponent& sender);
  void Button1Click(TComponent& sender);
  void Button2Click(TComponent& sender);
};

namespace velmora {
extern TOpen* Open;
}
