#pragma once
// The first window: whether to remove the product at all. No is the default, so that Enter or
// Escape on an unread question removes nothing.
#include <string>

#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class Tconfirm : public TForm {
public:
  explicit Tconfirm(TComponent* owner);

  TBevel* Bevel1;
  TLabel* Label1;
  TButton* Button1;  // "Yes"
  TButton* Button2;  // "No"

  // Asks about the product of that title.
  void SetProduct(const std::string& title);

  void Button1Click(TComponent& sender);
  void Button2Click(TComponent& sender);
};

namespace velmora {
extern Tconfirm* confirm;
}
