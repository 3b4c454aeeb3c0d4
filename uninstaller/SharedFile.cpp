#include "uninstaller/SharedFile.h"

#include "uninstaller/RemoveText.h"

namespace velmora {
Tshared* shared = nullptr;
}

Tshared::Tshared(TComponent* owner)
    : TForm(owner, TFormDef{"Shared File", 336, 128, bsDialog, false, false, poScreenCenter,
                            fsStayOnTop}) {
  SetName("shared");
  Bevel1 = new TBevel(this, bsFrame, true);
  Bevel1->Define(this, "Bevel1", 8, 8, 321, 81);
  Label1 = new TLabel(this);
  Label1->SetAutoSize(false);
  Label1->SetWordWrap(true);
  Label1->SetShowAccelChar(false);  // it shows a name it did not choose
  Label1->Define(this, "Label1", 16, 16, 305, 65);
  // Each answer's modal result ends the showing; no handler is needed.
  Button1 = PushButton(this, "Button1", 8, 96, 0, "Yes");
  Button1->SetModalResult(saYes);
  Button2 = PushButton(this, "Button2", 90, 96, 1, "No");
  Button2->SetModalResult(saNo);
  Button3 = PushButton(this, "Button3", 172, 96, 2, "Yes to All");
  Button3->SetModalResult(saYesToAll);
  Button4 = PushButton(this, "Button4", 254, 96, 3, "No to All");
  Button4->SetModalResult(saNoToAll);
  Button2->SetDefault(true);
  Button2->SetCancel(true);
  SetActiveControl(Button2);
}

int Tshared::Ask(const std::string& path) {
  Label1->SetCaption(RemoveText(kSharedQuestion, path));
  SetActiveControl(Button2);
  int answer = ShowModal();
  // Only the four buttons end the showing; anything else counts as the default.
  return answer == saYes || answer == saYesToAll || answer == saNoToAll ? answer : saNo;
}
