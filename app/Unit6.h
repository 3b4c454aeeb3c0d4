#pragma once
// The About box.
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class TAboutBox : public TForm {
public:
  explicit TAboutBox(TComponent* owner);
  TPanel* Panel1;
  TImage* ProgramIcon;
  TLabel* ProductName;
  TLabel* Version;
  TLabel* Copyright;
  TLabel* Comments;
  TButton* OKButton;
  void OKButtonClick(TComponent& sender);
};

namespace velmora {
extern TAboutBox* AboutBox;
}
