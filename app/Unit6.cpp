#include "app/Unit6.h"

namespace velmora {
TAboutBox* AboutBox = nullptr;
}

TAboutBox::TAboutBox(TComponent* owner)
    : TForm(owner, TFormDef{"About", 298, 213, bsDialog, true, false, poScreenCenter, fsStayOnTop}) {
  SetName("AboutBox");
  Panel1 = new TPanel(this);
  Panel1->Define(this, "Panel1", 8, 8, 281, 161);
  Panel1->SetTabOrder(0);
  ProgramIcon = new TImage(this);
  ProgramIcon->SetStretch(true);
  ProgramIcon->SetIcon("MAINICON");
  ProgramIcon->Define(Panel1, "ProgramIcon", 24, 16, 33, 33);
  ProductName = new TLabel(this);
  ProductName->Define(Panel1, "ProductName", 88, 16, 51, 13, "The Velmora Installer");
  Version = new TLabel(this);
  Version->Define(Panel1, "Version", 88, 40, 21, 13, "1.00");
  Copyright = new TLabel(this);
  Copyright->Define(Panel1, "Copyright", 8, 80, 191, 13,
                    "Copyright \xA9 2026 The Velmora Installer developers");
  Comments = new TLabel(this);
  Comments->SetBounds(8, 104, 73, 39);
  Comments->SetWordWrap(true);
  Comments->Define(Panel1, "Comments", 8, 104, 73, 39, "Written by the Velmora team");
  OKButton = PushButton(this, "OKButton", 111, 180, 1, "OK",
                        [this](TComponent& c) { OKButtonClick(c); });
  OKButton->SetDefault(true);
  OKButton->SetModalResult(mrOk);
}

void TAboutBox::OKButtonClick(TComponent&) { Close(); }
