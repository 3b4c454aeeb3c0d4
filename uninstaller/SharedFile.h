#pragma once
// The question before a file of the Windows or a system directory goes: other programs may use
// it. No is the default; the two "to All" answers stand for the rest of the run.
#include <string>

#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

enum TSharedAnswer { saYes = 6, saNo = 7, saYesToAll = 10, saNoToAll = 11 };

class Tshared : public TForm {
public:
  explicit Tshared(TComponent* owner);

  TBevel* Bevel1;
  TLabel* Label1;
  TButton* Button1;  // "Yes"
  TButton* Button2;  // "No"
  TButton* Button3;  // "Yes to All"
  TButton* Button4;  // "No to All"

  // Asks about the file; returns one of TSharedAnswer.
  int Ask(const std::string& path);
};

namespace velmora {
extern Tshared* shared;
}
