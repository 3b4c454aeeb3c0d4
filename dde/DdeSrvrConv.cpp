#include "dde/DdeSrvrConv.h"

#include <algorithm>

#include "dde/DdeMgr.h"
#include "dde/DdeServer.h"
#include "ui/Form.h"

namespace {
HDDEDATA LinesData(const TDdeServerItem& item, HSZ itemHandle, UINT format) {
  return DdeData::Text(DdeManager->InstanceId(), item.Lines().Text(), itemHandle, format).HandOn();
}
}  // namespace

TDdeSrvrItem::TDdeSrvrItem(TDdeSrvrConv* conversation, TDdeServerItem* serverItem)
    : TComponent(conversation), serverItem_(serverItem) {
  if (serverItem_) serverItem_->FreeNotification(this);
}

void TDdeSrvrItem::SetAdviseName(const std::string& name) {
  itemName_ = name;
  itemHandle_.Free();
  if (!name.empty()) itemHandle_ = DdeString(DdeManager->InstanceId(), name);
}

HDDEDATA TDdeSrvrItem::AdviseText(UINT format) {
  itemName_ = QueryString(DdeManager->InstanceId(), itemHandle_.Get());
  if (format != CF_TEXT || !serverItem_) return nullptr;
  return LinesData(*serverItem_, itemHandle_.Get(), format);
}

void TDdeSrvrItem::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == serverItem_) serverItem_ = nullptr;
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

TDdeServerItem* TDdeSrvrConv::FindServerItem(const std::string& name) const {
  const TComponent* container = window_;
  if (!container && serverConv_) container = dynamic_cast<TForm*>(serverConv_->Owner());
  return container ? FindServerItemIn(container, name) : nullptr;
}

TDdeServerItem* TDdeSrvrConv::FindServerItemIn(const TComponent* container,
                                               const std::string& name) const {
  for (int i = 0; i < container->ComponentCount(); ++i) {
    TComponent* c = container->Components(i);
    auto* item = dynamic_cast<TDdeServerItem*>(c);
    if (item && item->Name() == name && item->ServerConv() == serverConv_) return item;
    if (dynamic_cast<TWinControl*>(c))
      if (TDdeServerItem* found = FindServerItemIn(c, name)) return found;
  }
  return nullptr;
}

bool TDdeSrvrConv::StartServerAdvise(UINT format, HSZ item) {
  if (format != CF_TEXT) return false;
  const std::string name = QueryString(DdeManager->InstanceId(), item);
  TDdeServerItem* served = FindServerItem(name);
  if (!served) return false;
  // A client that asks twice for the same link keeps one: one stop ends it, as in DDEML.
  if (FindAdviseByHandle(item)) return true;
  auto* advise = new TDdeSrvrItem(this, served);
  advise->SetAdviseName(name);
  advises_.push_back(advise);
  if (!topicHandle_) topicHandle_ = DdeString(DdeManager->InstanceId(), topic_);
  return true;
}

HDDEDATA TDdeSrvrConv::ServeItemData(UINT format, HSZ item) {
  if (TDdeSrvrItem* advise = FindAdviseByHandle(item)) return advise->AdviseText(format);
  TDdeServerItem* served = FindServerItem(QueryString(DdeManager->InstanceId(), item));
  if (served && format == CF_TEXT) return LinesData(*served, item, format);
  return nullptr;
}

void TDdeSrvrConv::StopServerAdvise(HSZ item) {
  if (TDdeSrvrItem* a = FindAdviseByHandle(item)) {
    advises_.erase(std::find(advises_.begin(), advises_.end(), a));
    delete a;
  }
}

HDDEDATA TDdeSrvrConv::PokeItem(UINT format, HSZ item, HDDEDATA data) {
  if (format != CF_TEXT) return nullptr;
  TDdeServerItem* served = FindServerItem(QueryString(DdeManager->InstanceId(), item));
  if (!served) return nullptr;
  return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(served->PokeText(data)));
}

HDDEDATA TDdeSrvrConv::Execute(HDDEDATA data) {
  if (!serverConv_) return nullptr;
  return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(serverConv_->ExecuteText(data)));
}
