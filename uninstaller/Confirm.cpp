#include "uninstaller/Confirm.h"

#include "uninstaller/RemoveText.h"
#include "uninstaller/Removing.h"

namespace velmora {
Tconfirm* confirm = nullptr;
}

Tconfirm::Tconfirm(TComponent* owner)
    : TForm(owner, TFormDef{"Uninstall", 320, 96, bsDialog, false, false, poScreenCenter,
                            fsStayOnTop}) {
  SetName("confirm");
  Bevel1 = new TBevel(this, bsFrame, true);
  Bevel1->Define(this, "Bevel1", 8, 8, 305, 49);
  Label1 = new TLabel(this);
  Label1->SetFont(TFont("MS Sans Serif", 13, fsBold, RGB(0, 0, 0)));
  Label1->SetAutoSize(false);
  Label1->SetWordWrap(true);
  Label1->SetShowAccelChar(false);  // it shows a name it did not choose
  Label1->Define(this, "Label1", 16, 16, 289, 33);
  Button1 = PushButton(this, "Button1", 158, 64, 0, "Yes",
                       [this](TComponent& c) { Button1Click(c); });
  Button2 = PushButton(this, "Button2", 238, 64, 1, "No",
                       [this](TComponent& c) { Button2Click(c); });
  Button2->SetDefault(true);
  Button2->SetCancel(true);
  SetActiveControl(Button2);
}

void Tconfirm::SetProduct(const std::string& title) {
  Label1->SetCaption(RemoveText(kConfirmRemove, title));
}

void Tconfirm::Button1Click(TComponent&) {
  Hide();
  velmora::removing->ShowModal();
  Close();
}

void Tconfirm::Button2Click(TComponent&) { Close(); }
