#include "dde/DdeMgr.h"

#include <algorithm>

#include "dde/DdeClientConv.h"
#include "dde/DdeServer.h"
#include "dde/DdeSrvrConv.h"
#include "ui/Application.h"
#include "platform/FileSystem.h"
#include "ui/Form.h"
#include "platform/Messages.h"
#include "platform/Text.h"

TDdeMgr* DdeManager = nullptr;

#if !defined(_WIN64)
static_assert(sizeof(CONVINFO) == 96, "CONVINFO is 96 bytes in the 32-bit program");
static_assert(sizeof(CONVCONTEXT) == 36, "CONVCONTEXT is 36 bytes in the 32-bit program");
#endif

void InitDdeManager() {
  if (!DdeManager) DdeManager = new TDdeMgr(Application);
}

TDdeMgr::TDdeMgr(TComponent* owner) : TComponent(owner) {
  // Registered for the peers that exchange links in this format; nothing here reads links.
  RegisterClipboardFormatA("Link");
  instanceId_ = 0;
  if (DdeInitializeA(&instanceId_, DdeCallback, 0, 0) != DMLERR_NO_ERROR) RaiseDdeError();
  // The callback reaches the manager through the global from its first call on.
  DdeManager = this;
  SetServiceName(ProgramFilePath().substr(0, kMaxDdeNameLength));
}

TDdeMgr::~TDdeMgr() {
  BeginDestroy();
  // Conversations still open are closed while DDEML is there; afterwards they know it is gone.
  std::vector<TDdeClientConv*> clients = clientConvs_;
  for (TDdeClientConv* c : clients) c->ManagerGone();
  clientConvs_.clear();
  while (!serverConversations_.empty()) {
    TDdeSrvrConv* r = serverConversations_.back();
    serverConversations_.pop_back();
    delete r;
  }
  serverConvComponents_.clear();
  ReleaseServiceName();
  DestroyComponents();
  if (instanceId_) DdeUninitialize(instanceId_);
  instanceId_ = 0;
  if (DdeManager == this) DdeManager = nullptr;
}

void TDdeMgr::SetServiceName(const std::string& path) {
  ReleaseServiceName();
  serviceHandle_ = DdeString(instanceId_, NameBeforeFirstDot(path).substr(0, kMaxDdeNameLength));
  DdeNameService(instanceId_, serviceHandle_.Get(), nullptr, DNS_REGISTER);  // unchecked: a
  // failed registration only leaves the program unreachable as a server
}

void TDdeMgr::ReleaseServiceName() {
  if (serviceHandle_) {
    DdeNameService(instanceId_, serviceHandle_.Get(), nullptr, DNS_UNREGISTER);
    serviceHandle_.Free();
  }
}

void TDdeMgr::RaiseDdeError() {
  UINT code = DdeGetLastError(instanceId_);
  MsgId id = SDdeErr;
  if (code == DMLERR_LOW_MEMORY || code == DMLERR_MEMORY_ERROR) id = SDdeMemErr;
  else if (code == DMLERR_NO_CONV_ESTABLISHED) id = SDdeConvErr;
  throw EDdeError(FmtLoadStr(id, code));
}

void TDdeMgr::AddServerConvComponent(TDdeServerConv* c) { serverConvComponents_.push_back(c); }

void TDdeMgr::RemoveServerConvComponent(TDdeServerConv* c) {
  serverConvComponents_.erase(std::remove(serverConvComponents_.begin(), serverConvComponents_.end(), c),
                              serverConvComponents_.end());
  for (TDdeSrvrConv* r : serverConversations_)
    if (r->ServerConv() == c) r->SetServerConv(nullptr);
}

void TDdeMgr::AddClientConv(TDdeClientConv* c) { clientConvs_.push_back(c); }

void TDdeMgr::RemoveClientConv(TDdeClientConv* c) {
  clientConvs_.erase(std::remove(clientConvs_.begin(), clientConvs_.end(), c), clientConvs_.end());
}

TDdeServerConv* TDdeMgr::FindServerConvComponent(const std::string& name) const {
  for (TDdeServerConv* c : serverConvComponents_)
    if (SameTextIgnoringCase(c->Name(), name)) return c;
  return nullptr;
}

TForm* TDdeMgr::FindFormByCaption(const std::string& caption) const {
  if (!Screen) return nullptr;
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (SameTextIgnoringCase(Screen->Forms(i)->Caption(), caption)) return Screen->Forms(i);
  return nullptr;
}

void TDdeMgr::PostItemAdvise(const std::string& topic, const std::string& item) {
  // Every conversation on the topic that advises the item is told, not only the first one.
  for (TDdeSrvrConv* r : serverConversations_) {
    if (!SameTextIgnoringCase(r->Topic(), topic)) continue;
    if (TDdeSrvrItem* a = r->FindAdviseByName(item)) {
      DdePostAdvise(instanceId_, r->TopicHandle(), a->ItemHandle());
      return;  // DDEML asks for the data once for every link on that topic and item
    }
  }
}

bool TDdeMgr::IsTopicServed(HSZ service, HSZ topic) {
  if (service && DdeCmpStringHandles(service, serviceHandle_.Get()) != 0) return false;
  const std::string name = QueryString(instanceId_, topic);
  return FindServerConvComponent(name) || FindFormByCaption(name);
}

HDDEDATA TDdeMgr::ListServedTopic(HSZ service, HSZ topic) {
  if (!topic) return nullptr;
  if (!IsTopicServed(service, topic)) return nullptr;
  HSZPAIR pairs[2] = {{serviceHandle_.Get(), topic}, {nullptr, nullptr}};
  return DdeData::Bytes(instanceId_, pairs, sizeof pairs, nullptr, CF_TEXT).HandOn();
}

void TDdeMgr::OpenServerConversation(HCONV conversation, HSZ topic) {
  auto* r = new TDdeSrvrConv(this, conversation, QueryString(instanceId_, topic));
  r->SetServerConv(FindServerConvComponent(r->Topic()));
  if (!r->ServerConv()) r->SetWindow(FindFormByCaption(r->Topic()));
  if (r->Window()) r->FreeNotification(static_cast<TComponent*>(r->Window()));
  DdeSetUserHandle(conversation, QID_SYNC, reinterpret_cast<DWORD_PTR>(r));
  serverConversations_.push_back(r);
  if (r->ServerConv()) r->ServerConv()->Open();
}

void TDdeMgr::EndServerConversation(TDdeSrvrConv* record) {
  if (record->ServerConv()) record->ServerConv()->Close();
  if (record->Conversation()) DdeSetUserHandle(record->Conversation(), QID_SYNC, 0);
  record->ClearConversation();
  serverConversations_.erase(std::remove(serverConversations_.begin(), serverConversations_.end(), record),
                             serverConversations_.end());
  delete record;
}

HDDEDATA CALLBACK TDdeMgr::DdeCallback(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2,
                                       HDDEDATA data, ULONG_PTR, ULONG_PTR) {
  if (!DdeManager) return nullptr;
  // No exception may leave the callback, and no error box may open inside it: DDEML is in the
  // middle of a transaction, and the box's loop would run the whole program in there. The
  // transaction is answered with 0 and the error shown once the message loop has it back.
  try {
    return DdeManager->Dispatch(type, format, conv, hsz1, hsz2, data);
  } catch (...) {
    DdeManager->deferredErrors_.Keep(std::current_exception());
  }
  return nullptr;
}

HDDEDATA TDdeMgr::Dispatch(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2, HDDEDATA data) {
  HDDEDATA result = nullptr;
  switch (type) {
    case XTYP_CONNECT:
      result = reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(IsTopicServed(hsz2, hsz1) ? 1 : 0));
      break;
    case XTYP_WILDCONNECT:
      result = ListServedTopic(hsz2, hsz1);
      break;
    case XTYP_CONNECT_CONFIRM:
      OpenServerConversation(conv, hsz1);
      break;
  }
  if (!conv) return result;
  CONVINFO info = {};
  info.cb = sizeof info;
  if (!DdeQueryConvInfo(conv, QID_SYNC, &info)) return result;
  TComponent* owner = reinterpret_cast<TComponent*>(info.hUser);
  // The user handle is one of our own objects: a client conversation or a server record.
  auto* client = dynamic_cast<TDdeClientConv*>(owner);
  auto* record = dynamic_cast<TDdeSrvrConv*>(owner);
  auto flag = [](DWORD f) { return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(f)); };
  switch (type) {
    case XTYP_ADVSTART:
      return flag(record && record->StartServerAdvise(format, hsz2) ? 1 : 0);
    case XTYP_ADVREQ:
      // Wine asks every link on the item, whatever topic the change was posted on; a link on
      // another topic has nothing new.
      if (record && DdeCmpStringHandles(hsz1, record->TopicHandle()) != 0) return nullptr;
      return record ? record->ServeItemData(format, hsz2) : nullptr;
    case XTYP_REQUEST:
      return record ? record->ServeItemData(format, hsz2) : nullptr;
    case XTYP_ADVDATA:
      if (client) client->DeliverItemData(data, hsz2);
      return nullptr;
    case XTYP_EXECUTE:
      return record ? record->Execute(data) : nullptr;
    case XTYP_POKE:
      return record ? record->PokeItem(format, hsz2, data) : nullptr;
    case XTYP_ADVSTOP:
      if (record) record->StopServerAdvise(hsz2);
      return nullptr;
    case XTYP_XACT_COMPLETE:
      if (client) client->ExecuteCompleted();
      return nullptr;
    case XTYP_DISCONNECT:
      if (client) client->ConversationEnded();
      else if (record) EndServerConversation(record);
      return nullptr;
  }
  return result;
}
