#pragma once
// The Start Menu prompt: Install shows it instead of installing when no folder is given.
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class Tefolder : public TForm {
public:
  explicit Tefolder(TComponent* owner);
  TBevel* Bevel1;
  TLabel* Label1;
  TButton* Button1;
  void Button1Click(TComponent& sender);
};

namespace velmora {
extern Tefolder* efolder;
}
