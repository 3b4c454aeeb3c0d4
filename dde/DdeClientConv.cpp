#include "dde/DdeClientConv.h"

#include <algorithm>

#include "dde/DdeClientItem.h"
#include "dde/DdeMgr.h"
#include "platform/FileHandle.h"
#include "platform/FileSystem.h"
#include "platform/Messages.h"
#include "platform/SystemLibrary.h"

namespace {
// How long a started server program is given to come up, as the system's own program start
// gives it: until it first waits for input, so that it has registered its service.
const DWORD kServerStartWaitMs = 30000;

std::string CutName(const std::string& s) { return s.substr(0, kMaxDdeNameLength); }

// The program file a server command names, only ever in the system's own directories: a search
// by the usual order would look first in the folder this program was started from (a download
// folder, an installation's destination), where anyone may have left a file of that name. A
// program named with a directory is taken only when the directory is one of those two; a bare
// name is looked for in them, with ".exe" added when it has no extension. Empty: not started.
std::string ServerProgramPath(const std::string& command) {
  std::string name;
  if (!command.empty() && command[0] == '"') {
    const size_t end = command.find('"', 1);
    name = command.substr(1, end == std::string::npos ? std::string::npos : end - 1);
  } else {
    name = command.substr(0, command.find(' '));
  }
  const std::string dirs[] = {
      ReadSystemPath([](DWORD size, char* buf) { return GetSystemWindowsDirectoryA(buf, size); }),
      SystemDirectory()};
  const size_t slash = name.find_last_of("\\/:");
  if (slash != std::string::npos) {
    const std::string dir = name.substr(0, slash);
    for (const std::string& d : dirs)
      if (!d.empty() && name[slash] == '\\' && lstrcmpiA(dir.c_str(), d.c_str()) == 0 &&
          IsExistingFile(name))
        return name;
    return "";
  }
  if (name.empty()) return "";
  if (name.find('.') == std::string::npos) name += ".exe";
  for (const std::string& d : dirs)
    if (!d.empty() && IsExistingFile(d + "\\" + name)) return d + "\\" + name;
  return "";
}

// Starts the server program of `command` minimized without taking the activation, and waits
// until it is ready for input; false when it is not in the system's directories or will not
// start.
bool StartServerProgram(const std::string& command) {
  const std::string program = ServerProgramPath(command);
  if (program.empty()) return false;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINNOACTIVE;
  PROCESS_INFORMATION started = {};
  std::string line = command;
  if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started))
    return false;
  const KernelHandle thread(started.hThread), process(started.hProcess);
  // A program without a message loop (a console one) is not waited for; the one retry follows
  // either way.
  WaitForInputIdle(process.Get(), kServerStartWaitMs);
  return true;
}
}  // namespace

TDdeClientConv::TDdeClientConv(TComponent* owner) : TComponent(owner) {
  if (DdeManager) DdeManager->AddClientConv(this);
  else managerGone_ = true;
}

TDdeClientConv::~TDdeClientConv() {
  BeginDestroy();
  CloseConversation();
  while (!itemLinks_.empty()) DropItemLink(itemLinks_.back().get());
  if (!managerGone_ && DdeManager) DdeManager->RemoveClientConv(this);
}

DWORD TDdeClientConv::Instance() const {
  return (!managerGone_ && DdeManager) ? DdeManager->InstanceId() : 0;
}

void TDdeClientConv::ManagerGone() {
  CloseConversation();
  for (const auto& link : itemLinks_) link->ForgetItemHandle();
  managerGone_ = true;
}

bool TDdeClientConv::SetServiceTopic(const std::string& service, const std::string& topic) {
  const std::string s = service, t = topic;  // taken by value: closing clears the fields
  CloseConversation();
  if (connectMode_ == ddeAutomatic) return ReplaceLink(s, t);
  ddeService_ = s;
  ddeTopic_ = t;
  DeliverItemData(nullptr, nullptr);
  return true;
}

bool TDdeClientConv::ReplaceLink(const std::string& service, const std::string& topic) {
  const std::string s = service, t = topic;
  CloseConversation();
  ddeService_ = s;
  ddeTopic_ = t;
  bool ok = OpenConversation();
  if (!ok) {
    ddeService_.clear();
    ddeTopic_.clear();
  }
  return ok;
}

bool TDdeClientConv::OpenConversation() {
  if (conversation_) return false;
  if (ddeService_.empty() && ddeTopic_.empty()) {
    ClearItemLinks();
    return false;
  }
  if (!Instance()) return false;
  // Opening a conversation makes the manager the first thing the application destroys.
  if (TComponent* appOwner = DdeManager->Owner()) appOwner->MoveComponentToLast(DdeManager);
  if (!linkServiceHandle_) linkServiceHandle_ = DdeString(Instance(), CutName(ddeService_));
  if (!linkTopicHandle_) linkTopicHandle_ = DdeString(Instance(), CutName(ddeTopic_));
  bool ok = ConnectTo(linkServiceHandle_.Get(), linkTopicHandle_.Get());
  if (!ok && (!ddeService_.empty() || !ServiceApplication.empty())) {
    const std::string command =
        CutName(!ServiceApplication.empty() ? ServiceApplication : ddeService_ + " " + ddeTopic_);
    // One retry, straight away, once the server program is up.
    if (StartServerProgram(command))
      ok = ConnectTo(linkServiceHandle_.Get(), linkTopicHandle_.Get());
  }
  if (!ok) {
    ClearItemLinks();
    return false;
  }
  dataFormat_ = info_.wFmt ? info_.wFmt : CF_TEXT;
  StartItemAdvises();
  NotifyOpen();
  DeliverItemData(nullptr, nullptr);
  return true;
}

bool TDdeClientConv::ConnectTo(HSZ service, HSZ topic) {
  CONVCONTEXT context = {};
  context.cb = sizeof context;
  context.iCodePage = CP_WINANSI;
  conversation_ = DdeConnect(Instance(), service, topic, &context);
  dataAcks_ = acksUnknown;
  if (conversation_) {
    info_ = CONVINFO();
    info_.cb = sizeof info_;
    DdeQueryConvInfo(conversation_, QID_SYNC, &info_);  // a failure leaves the format 0: text
    DdeSetUserHandle(conversation_, QID_SYNC,
                     reinterpret_cast<DWORD_PTR>(static_cast<TComponent*>(this)));
  }
  return conversation_ != nullptr;
}

void TDdeClientConv::CloseConversation() {
  if (conversation_) {
    HCONV h = conversation_;
    ConversationEnded();
    if (!managerGone_) {
      DdeSetUserHandle(h, QID_SYNC, 0);
      DdeDisconnect(h);
    }
  }
  // After the disconnection the server has read every message that named a held atom.
  ReleaseHeldAtoms();
  linkServiceHandle_.Free();
  linkTopicHandle_.Free();
  ddeService_.clear();
  ddeTopic_.clear();
}

void TDdeClientConv::ConversationEnded() {
  if (conversation_) NotifyClose();
  conversation_ = nullptr;
  for (const auto& link : itemLinks_) link->ReleaseItemHandle();
}

// Messages name their item by a global atom, which each side adds for the messages it posts
// and deletes for those it receives. Wine's server answers a request with the data and then
// with an acknowledgement naming the same atom, so the client deletes it once too often. When
// that late acknowledgement arrives while a link's stop waits for its answer, it deletes the
// stop's own reference and the server, reading the stop afterwards, finds no item and drops
// it: the link stays. A reference held by the conversation keeps the name alive for it.
void TDdeClientConv::HoldItemAtom(const std::string& itemName) {
  if (!conversation_ || itemName.empty()) return;
  if (ATOM atom = GlobalAddAtomA(CutName(itemName).c_str())) heldAtoms_.push_back(atom);
}

void TDdeClientConv::ReleaseHeldAtoms() {
  for (ATOM atom : heldAtoms_) GlobalDeleteAtom(atom);
  heldAtoms_.clear();
}

bool TDdeClientConv::ExecuteMacroText(const char* text, bool wait) {
  if (!conversation_ || executePending_) return false;
  DdeData data = DdeData::Text(Instance(), text, nullptr, dataFormat_);
  if (!data) return false;
  if (wait) executePending_ = true;
  DWORD id = 0;
  HDDEDATA r = DdeClientTransaction(reinterpret_cast<LPBYTE>(data.HandOn()), kDataHandleLength,
                                    conversation_, nullptr, dataFormat_, XTYP_EXECUTE,
                                    TIMEOUT_ASYNC, &id);
  if (r) return true;
  executePending_ = false;
  return false;
}

bool TDdeClientConv::ExecuteMacroList(const TStringList& lines, bool wait) {
  if (!conversation_ || executePending_) return false;
  const std::string text = lines.Text();
  return ExecuteMacroText(text.c_str(), wait);
}

TDdeClientConv::TExecuteAnswer TDdeClientConv::ExecuteMacroTextAnswered(const std::string& text,
                                                                        DWORD timeoutMs) {
  if (!conversation_ || executePending_) return eaNoAnswer;
  DdeData data = DdeData::Text(Instance(), text.c_str(), nullptr, dataFormat_);
  if (!data) return eaNoAnswer;
  // A synchronous transaction: DDEML waits for the answer, handling only the conversation's
  // own messages meanwhile, so nothing of the program runs inside it.
  DWORD result = 0;
  if (DdeClientTransaction(reinterpret_cast<LPBYTE>(data.HandOn()), kDataHandleLength,
                           conversation_, nullptr, dataFormat_, XTYP_EXECUTE, timeoutMs, &result))
    return eaAccepted;
  return DdeGetLastError(Instance()) == DMLERR_NOTPROCESSED ? eaRefused : eaNoAnswer;
}

void TDdeClientConv::ExecuteCompleted() { executePending_ = false; }

void TDdeClientConv::SetConnectMode(TDataMode mode) {
  if (mode == connectMode_) return;
  if (mode == ddeAutomatic && !ddeService_.empty() && !ddeTopic_.empty() && !OpenConversation())
    throw Exception(LoadStr(SDdeNoConnect));
  // Switching to manual never closes an open conversation.
  connectMode_ = mode;
}

void TDdeClientConv::SetFormatChars(bool value) {
  if (value == formatChars_) return;
  formatChars_ = value;
  if (conversation_) DeliverItemData(nullptr, nullptr);
}

void TDdeClientConv::NotifyClose() {
  if (OnClose) OnClose(*this);
}

void TDdeClientConv::NotifyOpen() {
  if (OnOpen) OnOpen(*this);
}

void TDdeClientConv::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineProperty(
      "ServiceApplication", [this](TReader& r) { ServiceApplication = r.ReadString(); },
      [this](TWriter& w) { w.WriteString(ServiceApplication); }, !ServiceApplication.empty());
  // Stored for reading by people; reading them back has no effect, "LinkInfo" restores them.
  filer.DefineProperty(
      "DdeService", [this](TReader& r) { SetDdeService(r.ReadString()); },
      [this](TWriter& w) { w.WriteString(ddeService_); }, !ddeService_.empty());
  filer.DefineProperty(
      "DdeTopic", [this](TReader& r) { SetDdeTopic(r.ReadString()); },
      [this](TWriter& w) { w.WriteString(ddeTopic_); }, !ddeTopic_.empty());
  filer.DefineProperty(
      "ConnectMode",
      [this](TReader& r) {
        std::string v = r.ReadIdent();
        if (v == "ddeManual") SetConnectMode(ddeManual);
        else if (v == "ddeAutomatic") SetConnectMode(ddeAutomatic);
        else throw EStreamError("Invalid property value: " + v);
      },
      [this](TWriter& w) { w.WriteIdent(connectMode_ == ddeManual ? "ddeManual" : "ddeAutomatic"); },
      connectMode_ != ddeAutomatic);
  filer.DefineProperty(
      "FormatChars", [this](TReader& r) { SetFormatChars(r.ReadBool()); },
      [this](TWriter& w) { w.WriteBool(formatChars_); }, formatChars_);
  filer.DefineProperty(
      "LinkInfo", [this](TReader& r) { ReadLinkInfo(r); }, [this](TWriter& w) { WriteLinkInfo(w); },
      !ddeService_.empty() || !ddeTopic_.empty());
}

void TDdeClientConv::ReadLinkInfo(TReader& reader) {
  reader.ReadListBegin();
  while (!reader.EndOfList()) {
    const std::string s = reader.ReadString();
    size_t blank = s.find(' ');
    const std::string value = blank == std::string::npos ? s : s.substr(blank + 1);
    if (!s.empty() && s[0] == 'S') ddeService_ = value;
    else if (!s.empty() && s[0] == 'T') ddeTopic_ = value;
  }
  reader.ReadListEnd();
}

void TDdeClientConv::WriteLinkInfo(TWriter& writer) {
  writer.WriteListBegin();
  writer.WriteString("Service " + ddeService_);
  writer.WriteString("Topic " + ddeTopic_);
  writer.WriteListEnd();
}

void TDdeClientConv::Loaded() {
  TComponent::Loaded();
  if (!ddeService_.empty() && connectMode_ != ddeManual) ReplaceLink(ddeService_, ddeTopic_);
}

void TDdeClientConv::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  // A linked component that goes takes its link with it; it is past answering calls itself.
  if (TDdeCliItem* link = FindItemLink(component)) {
    link->SetLinked(nullptr);
    DropItemLink(link);
  }
}

void TDdeClientConv::DeliverItemData(HDDEDATA data, HSZ item) {
  // A linked item's change event may drop links, its own or others', while the data goes round:
  // each record is looked for again before it is given the data.
  std::vector<TDdeCliItem*> links;
  for (const auto& link : itemLinks_) links.push_back(link.get());
  for (TDdeCliItem* link : links) {
    if (!HoldsItemLink(link)) continue;
    if (!item || (link->ItemHandle() && DdeCmpStringHandles(link->ItemHandle(), item) == 0))
      link->StoreData(data);
  }
}

void TDdeClientConv::StartItemAdvises() {
  if (!conversation_) return;
  size_t i = 0;
  while (i < itemLinks_.size()) {
    TDdeCliItem* link = itemLinks_[i].get();
    if (link->StartAdvise()) {
      ++i;
    } else if (link->Linked()) {
      link->Linked()->SetItemName(std::string());  // removes the link; the walk stays here
    } else {
      DropItemLink(link);
    }
  }
}

void TDdeClientConv::ClearItemLinks() {
  size_t n = itemLinks_.size();
  for (size_t k = 0; k < n && !itemLinks_.empty(); ++k) {
    TDdeCliItem* link = itemLinks_.front().get();
    if (link->Linked()) link->Linked()->SetItemName(std::string());
    else DropItemLink(link);
  }
}

TDdeCliItem* TDdeClientConv::FindItemLink(TComponent* linked) const {
  for (const auto& link : itemLinks_)
    if (static_cast<TComponent*>(link->Linked()) == linked) return link.get();
  return nullptr;
}

bool TDdeClientConv::HoldsItemLink(const TDdeCliItem* link) const {
  return std::any_of(itemLinks_.begin(), itemLinks_.end(),
                     [link](const std::unique_ptr<TDdeCliItem>& l) { return l.get() == link; });
}

void TDdeClientConv::AddItemLink(TComponent* linked) {
  itemLinks_.push_back(std::make_unique<TDdeCliItem>(this));
  TDdeCliItem* link = itemLinks_.back().get();
  link->SetLinked(dynamic_cast<TDdeLinkedItem*>(linked));
  link->SetItemName(std::string());
}

void TDdeClientConv::RemoveItemLink(TComponent* linked) {
  TDdeCliItem* link = FindItemLink(linked);
  if (!link) return;
  link->SetItemName(std::string());
  DropItemLink(link);
}

void TDdeClientConv::DropItemLink(TDdeCliItem* link) {
  auto it = std::find_if(itemLinks_.begin(), itemLinks_.end(),
                         [link](const std::unique_ptr<TDdeCliItem>& l) { return l.get() == link; });
  if (it == itemLinks_.end()) return;
  // Out of the list first: the record's end stops its link with a DDE transaction, and whatever
  // that lets run must find the list without it.
  std::unique_ptr<TDdeCliItem> owned = std::move(*it);
  itemLinks_.erase(it);
}

bool TDdeClientConv::SetItemLink(TComponent* linked, const std::string& itemName) {
  TDdeCliItem* link = FindItemLink(linked);
  if (!link && !itemName.empty()) {
    AddItemLink(linked);
    link = FindItemLink(linked);
  }
  if (!link) return true;
  if (itemName.empty()) {
    RemoveItemLink(linked);
    return true;
  }
  bool result = link->SetItemName(itemName);
  if (!result && !IsLoading()) RemoveItemLink(linked);
  return result;
}
