#include "dde/DdeSrvrConv.h"

#include "dde/DdeMgr.h"
#include "dde/DdeServer.h"
#include "ui/Form.h"

#include <algorithm>

TDdeSrvrItem::TDdeSrvrItem(TDdeSrvrConv* conversation)
    : TComponent(conversation), conversation_(conversation) {}

void TDdeSrvrItem::SetAdviseName(const std::string& name) {
  itemName_ = name;
  itemHandle_.Free();
  if (!name.empty()) itemHandle_ = DdeString(DdeManager->InstanceId(), name);
}

TDdeSrvrConv::TDdeSrvrConv(TComponent* owner, HCONV conversation, const std::string& topic)
    : TComponent(owner), topic_(topic), conversation_(conversation) {}

TDdeSrvrConv::~TDdeSrvrConv() {
  BeginDestroy();
  advises_.clear();
  DestroyComponents();
  if (conversation_) DdeDisconnect(conversation_);
  conversation_ = nullptr;
}

void TDdeSrvrConv::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (window_ && component == static_cast<TComponent*>(window_)) window_ = nullptr;
  if (component == serverConv_) serverConv_ = nullptr;
}

TDdeSrvrItem* TDdeSrvrConv::FindAdviseByName(const std::string& name) const {
  for (TDdeSrvrItem* a : advises_)
    if (a->ItemName() == name) return a;
  return nullptr;
}

TDdeSrvrItem* TDdeSrvrConv::FindAdviseByHandle(HSZ item) const {
  for (TDdeSrvrItem* a : advises_)
    if (a->ItemHandle() && DdeCmpStringHandles(a->ItemHandle(), item) == 0) return a;
  return nullptr;
}

// Server items are answered once server components exist; until then nothing is served.
bool TDdeSrvrConv::StartServerAdvise(UINT, HSZ) { return false; }
HDDEDATA TDdeSrvrConv::ServeItemData(UINT, HSZ) { return nullptr; }
void TDdeSrvrConv::StopServerAdvise(HSZ item) {
  if (TDdeSrvrItem* a = FindAdviseByHandle(item)) {
    advises_.erase(std::find(advises_.begin(), advises_.end(), a));
    delete a;
  }
}
HDDEDATA TDdeSrvrConv::PokeItem(UINT, HSZ, HDDEDATA) { return nullptr; }

HDDEDATA TDdeSrvrConv::Execute(HDDEDATA data) {
  if (!serverConv_) return nullptr;
  return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(serverConv_->ExecuteText(data)));
}
