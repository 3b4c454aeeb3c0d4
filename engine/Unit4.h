#pragma once
// The clean-up question about a temporary source directory. The program creates it at start-up
// with its other windows; no step of the installer opens it, and neither answer deletes anything.
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class Tdeltemp : public TForm {
public:
  explicit Tdeltemp(TComponent* owner);

  TBevel* Bevel1;
  TLabel* Label1;
  TButton* Button1;  // "Yes"
  TButton* Button2;  // "No"

  void Button1Click(TComponent& sender);
  void Button2Click(TComponent& sender);
};

namespace velmora {
extern Tdeltemp* deltemp;
}
