#include "engine/Unit4.h"

namespace velmora {
Tdeltemp* deltemp = nullptr;
}

Tdeltemp::Tdeltemp(TComponent* owner)
    : TForm(owner, TFormDef{"Dialogue", 170, 86, bsDialog, false, false, poScreenCenter,
                            fsStayOnTop}) {
  SetName("deltemp");
  Bevel1 = new TBevel(this);
  Bevel1->Define(this, "Bevel1", 0, 0, 170, 49);
  Label1 = new TLabel(this);
  Label1->SetFont(TFont("MS Sans Serif", 11, fsBold));
  Label1->SetAutoSize(false);
  Label1->SetAlignment(taCenter);
  Label1->Define(this, "Label1", 0, 18, 170, 16, "Delete Temp Directory?");
  Button1 = PushButton(this, "Button1", 8, 56, 0, "Yes",
                       [this](TComponent& c) { Button1Click(c); });
  Button2 = PushButton(this, "Button2", 88, 56, 1, "No",
                       [this](TComponent& c) { Button2Click(c); });
}

// The source directory is the product's medium or a folder the user keeps it in: the installer
// made none of its files, so "Yes" deletes nothing and only closes, as "No" does.
void Tdeltemp::Button1Click(TComponent&) { Close(); }

void Tdeltemp::Button2Click(TComponent&) { Close(); }
