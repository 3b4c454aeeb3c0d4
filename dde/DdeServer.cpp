#include "dde/DdeServer.h"

#include "dde/DdeHandles.h"
#include "dde/DdeMgr.h"

TDdeServerConv::TDdeServerConv(TComponent* owner) : TComponent(owner) {
  if (DdeManager) DdeManager->AddServerConvComponent(this);
}

TDdeServerConv::~TDdeServerConv() {
  if (DdeManager) DdeManager->RemoveServerConvComponent(this);
}

DWORD TDdeServerConv::ExecuteText(HDDEDATA data) {
  std::string text;
  // The text is read within the size of the data, so a peer's missing zero cannot mislead us.
  if (!DataText(data, text)) return 0;
  if (OnExecuteMacro) {
    TStringList lines;
    lines.SetText(text);
    OnExecuteMacro(*this, lines);
  }
  return DDE_FACK;
}

void TDdeServerConv::Open() {
  if (OnOpen) OnOpen(*this);
}

void TDdeServerConv::Close() {
  if (OnClose) OnClose(*this);
}
