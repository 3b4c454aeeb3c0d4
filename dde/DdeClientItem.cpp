#include "dde/DdeClientItem.h"

#include <dde.h>

#include "dde/DdeClientConv.h"
#include "dde/DdeMgr.h"

namespace {
const DWORD kItemTimeoutMs = 1000;
// How long the first request's answer waits for an acknowledgement after its data.
const DWORD kFirstAckWaitMs = 250;
DWORD Instance() { return DdeManager ? DdeManager->InstanceId() : 0; }

HWND ConversationWindow(HCONV conv) {
  CONVINFO info = {};
  info.cb = sizeof info;
  return DdeQueryConvInfo(conv, QID_SYNC, &info) ? info.hwnd : nullptr;
}

// Handles what DDEML has queued for the conversation's window.
void HandleQueuedDdeMessages(HCONV conv) {
  HWND hwnd = ConversationWindow(conv);
  if (!hwnd) return;
  MSG msg;
  while (PeekMessageA(&msg, hwnd, WM_DDE_FIRST, WM_DDE_LAST, PM_REMOVE)) DispatchMessageA(&msg);
}

// Waits up to `ms` for an acknowledgement to the conversation's window and handles it.
bool TakeAcknowledgement(HCONV conv, DWORD ms) {
  HWND hwnd = ConversationWindow(conv);
  if (!hwnd) return false;
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    if (PeekMessageA(&msg, hwnd, WM_DDE_ACK, WM_DDE_ACK, PM_REMOVE)) {
      DispatchMessageA(&msg);
      return true;
    }
    const DWORD passed = GetTickCount() - start;
    if (passed >= ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - passed, QS_POSTMESSAGE);
  }
}

// Wine's server follows a request's data with an acknowledgement that names the item's atom
// once more. Left queued, it is taken for the answer of the next transaction on the item, and
// handling it deletes the atom that transaction posted, so the server finds no item in it and
// drops it. It is therefore taken at once: the first answer of a conversation shows whether
// the server sends one, and later answers wait for it only if it does.
void TakeLateAcknowledgement(TDdeClientConv& owner, HCONV conv) {
  switch (owner.DataAcks()) {
    case TDdeClientConv::acksNo:
      return;
    case TDdeClientConv::acksYes:
      TakeAcknowledgement(conv, kItemTimeoutMs);
      return;
    case TDdeClientConv::acksUnknown:
      owner.SetDataAcks(TakeAcknowledgement(conv, kFirstAckWaitMs) ? TDdeClientConv::acksYes
                                                                   : TDdeClientConv::acksNo);
      return;
  }
}

// One synchronous item transaction. Queued messages are handled first, and an answer "not
// processed" is asked for once more (a server that means it says so again): a transaction
// started before a late acknowledgement has been handled takes it for its own answer.
HDDEDATA ItemTransaction(TDdeClientConv& owner, HCONV conv, HSZ item, UINT type) {
  const UINT format = owner.DataFormat();
  HandleQueuedDdeMessages(conv);
  HDDEDATA r = DdeClientTransaction(nullptr, 0, conv, item, format, type, kItemTimeoutMs, nullptr);
  if (!r && type != XTYP_ADVSTOP && DdeGetLastError(Instance()) == DMLERR_NOTPROCESSED) {
    HandleQueuedDdeMessages(conv);
    r = DdeClientTransaction(nullptr, 0, conv, item, format, type, kItemTimeoutMs, nullptr);
  }
  if (r && type == XTYP_REQUEST) TakeLateAcknowledgement(owner, conv);
  return r;
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
  if (ItemTransaction(*conversation_, conv, itemHandle_.Get(), XTYP_ADVSTART | XTYPF_NODATA))
    return true;
  DdeGetLastError(Instance());  // clears the error; its value is not needed
  itemHandle_.Free();
  if (linked_) linked_->Lines.Clear();
  return false;
}

bool TDdeCliItem::StopAdvise() {
  HCONV conv = conversation_->ConversationHandle();
  // The answer changes nothing: the link is given up either way.
  if (conv && itemHandle_) {
    conversation_->HoldItemAtom(item_);
    ItemTransaction(*conversation_, conv, itemHandle_.Get(), XTYP_ADVSTOP);
  }
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
  DdeData data(ItemTransaction(*conversation_, conv, itemHandle_.Get(), XTYP_REQUEST));
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
        if (c > 0 && c < ' ') c = ' ';  // the control characters
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
