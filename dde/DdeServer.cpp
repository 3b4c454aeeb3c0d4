#include "dde/DdeServer.h"

#include "dde/DdeHandles.h"
#include "dde/DdeMgr.h"
#include "ui/Form.h"

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

void TDdeServerItem::SetLines(const TStringList& lines) {
  if (lines == lines_) return;
  lines_.Assign(lines);
  ItemChanged();
}

std::string TDdeServerItem::Text() const {
  return lines_.Count() > 0 ? lines_.Strings(0) : std::string();
}

void TDdeServerItem::SetText(const std::string& value) {
  lines_.Clear();
  lines_.Add(value);
  ItemChanged();
}

void TDdeServerItem::SetServerConv(TDdeServerConv* conv) {
  if (conv == serverConv_) return;
  if (serverConv_) serverConv_->RemoveFreeNotification(this);
  serverConv_ = conv;
  if (conv) conv->FreeNotification(this);
}

void TDdeServerItem::Change() {
  if (OnChange) OnChange(*this);
}

void TDdeServerItem::ItemChanged() {
  Change();
  if (!DdeManager) return;
  if (serverConv_) {
    DdeManager->PostItemAdvise(serverConv_->Name(), Name());
    return;
  }
  // An item may sit on a windowed control of its window, where requests find it too; its
  // changes are told on the caption topic of the window that holds it.
  for (TComponent* o = Owner(); o; o = o->Owner()) {
    if (auto* form = dynamic_cast<TForm*>(o)) {
      DdeManager->PostItemAdvise(form->Caption(), Name());
      return;
    }
  }
}

DWORD TDdeServerItem::PokeText(HDDEDATA data) {
  std::string text;
  if (!DataText(data, text)) return 0;
  lines_.SetText(text);
  ItemChanged();
  if (OnPokeData) OnPokeData(*this);
  return DDE_FACK;
}

void TDdeServerItem::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == serverConv_) serverConv_ = nullptr;
}
