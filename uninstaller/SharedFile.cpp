#include "uninstaller/SharedFile.h"

#include "uninstaller/RemoveText.h"

namespace velmora {
Tshared* shared = nullptr;
}

namespace {
TButton* AnswerButton(Tshared* form, const char* name, int left, int tab, const char* text,
                      int answer) {
  auto* b = new TButton(form);
  b->Define(form, name, left, 96, 75, 25, text);
  b->SetTabOrder(tab);
  // The button's modal result ends the showing; no handler is needed.
  b->SetModalResult(answer);
  return b;
}
}  // namespace

Tshared::Tshared(TComponent* owner)
    : TForm(owner, TFormDef{"Shared File", 336, 128, bsDialog, false, false, poScreenCenter,
                            fsStayOnTop}) {
  SetName("shared");
  Bevel1 = new TBevel(this, bsFrame, true);
  Bevel1->Define(this, "Bevel1", 8, 8, 321, 81);
  Label1 = new TLabel(this);
  Label1->SetAutoSize(false);
  Label1->SetWordWrap(true);
  Label1->Define(this, "Label1", 16, 16, 305, 65);
  Button1 = AnswerButton(this, "Button1", 8, 0, "Yes", saYes);
  Button2 = AnswerButton(this, "Button2", 90, 1, "No", saNo);
  Button3 = AnswerButton(this, "Button3", 172, 2, "Yes to All", saYesToAll);
  Button4 = AnswerButton(this, "Button4", 254, 3, "No to All", saNoToAll);
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
