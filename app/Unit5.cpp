#include "app/Unit5.h"

namespace velmora {
Tefolder* efolder = nullptr;
}

Tefolder::Tefolder(TComponent* owner)
    : TForm(owner, TFormDef{"Setup Message", 256, 80, bsDialog, false, false, poScreenCenter,
                            fsStayOnTop}) {
  SetName("efolder");
  Bevel1 = new TBevel(this, bsFrame, true);
  Bevel1->Define(this, "Bevel1", 8, 8, 241, 33);
  Label1 = new TLabel(this);
  Label1->SetFont(TFont("MS Sans Serif", 13, fsBold, RGB(0, 0, 0)));
  Label1->Define(this, "Label1", 16, 16, 228, 16, "Please enter a Start Menu Folder");
  Button1 = PushButton(this, "Button1", 176, 48, 0, "OK",
                       [this](TComponent& c) { Button1Click(c); });
}

void Tefolder::Button1Click(TComponent&) { Close(); }
