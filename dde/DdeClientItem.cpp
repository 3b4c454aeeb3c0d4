#include "dde/DdeClientItem.h"

#include <dde.h>

#include "dde/DdeClientConv.h"
#include "dde/DdeMgr.h"

namespace {
const DWORD kItemTimeoutMs = 1000;
DWORD Instance() { return DdeManager ? DdeManager->InstanceId() : 0; }

// Handles what DDEML has queued for the conversation's window.
void HandleQueuedDdeMessages(HCONV conv) {
  CONVINFO info = {};
  info.cb = sizeof info;
  if (!DdeQueryConvInfo(conv, QID_SYNC, &info) || !info.hwnd) return;
  MSG msg;
  while (PeekMessageA(&msg, info.hwnd, WM_DDE_FIRST, WM_DDE_LAST, PM_REMOVE)) DispatchMessageA(&msg);
}

// One synchronous item transaction. Under Wine a server answers a request with its data and
// then with a late acknowledgement; a transaction started before that has been handled takes
// it for its own answer and reports the item as not processed. So queued messages are handled
// first, and an answer "not processed" is asked for once more (a server that means it says so
// again).
HDDEDATA ItemTransaction(HCONV conv, HSZ item, UINT format, UINT type) {
  HandleQueuedDdeMessages(conv);
  HDDEDATA r = DdeClientTransaction(nullptr, 0, conv, item, format, type, kItemTimeoutMs, nullptr);
  if (r || type == XTYP_ADVSTOP || DdeGetLastError(Instance()) != DMLERR_NOTPROCESSED) return r;
  HandleQueuedDdeMessages(conv);
  return DdeClientTransaction(nullptr, 0, conv, item, format, type, kItemTimeoutMs, nullptr);
}
}  // namespace

TDdeCliItem::TDdeCliItem(TDdeClientConv* conversation) : conversation_(conversation) {}

TDdeCliItem::~TDdeCliItem() { StopAdvise(); }

bool TDdeCliItem::SetItemName(const std::string& name) {
  if (itemHandle_) StopAdvise();
  item_ = name;
  if (linked_) linked_->Lines.Clear();
  bool result = false;
  if (!item_.empty()) {
    if (conversation_->ConversationHandle()) {
      result = StartAdvise();
      if (!result) item_.clear();
    } else {
      // A manual conversation accepts items before it is opened.
      result = conversation_->ConnectMode() == ddeManual;
    }
  }
  RefreshData();
  return result;
}

bool TDdeCliItem::StartAdvise() {
  HCONV conv = conversation_->ConversationHandle();
  if (!conv || item_.empty() || !Instance()) return false;
  if (!itemHandle_) itemHandle_ = DdeString(Instance(), item_);
  // A warm link: the server only says the item changed, and the data is then requested.
  if (ItemTransaction(conv, itemHandle_.Get(), conversation_->DataFormat(),
                      XTYP_ADVSTART | XTYPF_NODATA))
    return true;
  DdeGetLastError(Instance());  // clears the error; its value is not needed
  itemHandle_.Free();
  if (linked_) linked_->Lines.Clear();
  return false;
}

bool TDdeCliItem::StopAdvise() {
  HCONV conv = conversation_->ConversationHandle();
  // The answer changes nothing: the link is given up either way.
  if (conv && itemHandle_) ItemTransaction(conv, itemHandle_.Get(), conversation_->DataFormat(), XTYP_ADVSTOP);
  ReleaseItemHandle();
  return true;
}

void TDdeCliItem::ReleaseItemHandle() { itemHandle_.Free(); }

bool TDdeCliItem::RefreshData() {
  HCONV conv = conversation_->ConversationHandle();
  if (!conv || !itemHandle_) {
    if (linked_) linked_->NotifyChange();
    return false;
  }
  if (conversation_->ExecutePending()) return false;
  DdeData data(ItemTransaction(conv, itemHandle_.Get(), conversation_->DataFormat(), XTYP_REQUEST));
  if (!data) return false;
  StoreData(data.Get());
  return true;
}

void TDdeCliItem::StoreData(HDDEDATA data) {
  if (!data) {
    RefreshData();
    return;
  }
  std::string text;
  // Read within the data's own size: a server's text without its zero ends at the last byte.
  if (DataText(data, text) && !text.empty() && linked_) {
    if (conversation_->FormatChars()) {
      linked_->Lines.SetText(text);
    } else {
      for (char& c : text)
        if (c >= 1 && c <= 31) c = ' ';
      linked_->Lines.Clear();
      linked_->Lines.Add(text);
    }
  }
  if (linked_) linked_->NotifyChange();
}

TDdeLinkedItem::~TDdeLinkedItem() {
  if (clientConv_) clientConv_->SetItemLink(this, std::string());
}

void TDdeLinkedItem::SetClientConv(TDdeClientConv* conv) {
  if (conv == clientConv_) return;
  if (clientConv_) {
    clientConv_->SetItemLink(this, std::string());
    clientConv_->RemoveFreeNotification(this);
  }
  clientConv_ = conv;
  if (conv) {
    conv->FreeNotification(this);
    if (!itemName_.empty()) SetItemName(itemName_);
  }
}

void TDdeLinkedItem::SetItemName(const std::string& name) {
  const std::string value = name;
  if (clientConv_) {
    itemName_ = value;
    if (clientConv_->SetItemLink(this, value)) return;
    bool keep = IsLoading() && !clientConv_->ConversationHandle() &&
                clientConv_->ConnectMode() == ddeManual;
    if (!keep) itemName_.clear();
    return;
  }
  itemName_ = IsLoading() ? value : std::string();
}

void TDdeLinkedItem::NotifyChange() {
  if (OnChange) OnChange(*this);
}

void TDdeLinkedItem::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == clientConv_) clientConv_ = nullptr;
}
