#pragma once
// A client conversation with a DDE server named by a service and a topic: opened (starting the
// server program once if the first attempt fails), sent commands as asynchronous executes,
// closed; it keeps linked items supplied with the server's data.
#include <windows.h>
#include <ddeml.h>

#include <memory>
#include <string>
#include <vector>

#include "dde/DdeHandles.h"
#include "ui/Control.h"
#include "ui/Stream.h"
#include "platform/Strings.h"

enum TDataMode { ddeAutomatic, ddeManual };

class TDdeCliItem;

class TDdeClientConv : public TComponent {
public:
  explicit TDdeClientConv(TComponent* owner);
  ~TDdeClientConv() override;

  const std::string& DdeService() const { return ddeService_; }
  const std::string& DdeTopic() const { return ddeTopic_; }
  // Writing the names through the published properties has no effect: only SetServiceTopic,
  // ReplaceLink and the stored "LinkInfo" set them.
  void SetDdeService(const std::string&) {}
  void SetDdeTopic(const std::string&) {}
  std::string ServiceApplication;
  TDataMode ConnectMode() const { return connectMode_; }
  void SetConnectMode(TDataMode mode);
  bool FormatChars() const { return formatChars_; }
  void SetFormatChars(bool value);
  HCONV ConversationHandle() const { return conversation_; }
  UINT DataFormat() const { return dataFormat_; }
  bool ExecutePending() const { return executePending_; }
  const std::vector<std::unique_ptr<TDdeCliItem>>& ItemLinks() const { return itemLinks_; }

  TNotifyEvent OnClose, OnOpen;

  bool SetServiceTopic(const std::string& service, const std::string& topic);
  bool OpenConversation();
  void CloseConversation();
  bool ExecuteMacroText(const char* text, bool wait);
  bool ExecuteMacroList(const TStringList& lines, bool wait);
  // The text as one execute whose answer is awaited, at most timeoutMs: accepted, refused by
  // the server, or not answered (also when it could not be sent).
  enum TExecuteAnswer { eaAccepted, eaRefused, eaNoAnswer };
  TExecuteAnswer ExecuteMacroTextAnswered(const std::string& text, DWORD timeoutMs);

  // Called by the manager's callback.
  void ExecuteCompleted();
  void ConversationEnded();
  void DeliverItemData(HDDEDATA data, HSZ item);
  // The manager is going: close while DDEML is still there, and touch nothing of it afterwards.
  void ManagerGone();

  // Called by linked items.
  bool SetItemLink(TComponent* linked, const std::string& itemName);
  // Holds a reference to the item name's global atom until the conversation closes.
  void HoldItemAtom(const std::string& itemName);
  // Whether the server follows a request's data with an acknowledgement: not yet known, no, yes.
  enum TDataAcks { acksUnknown, acksNo, acksYes };
  TDataAcks DataAcks() const { return dataAcks_; }
  void SetDataAcks(TDataAcks value) { dataAcks_ = value; }

  void DefineProperties(TFiler& filer);
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

protected:
  virtual void NotifyClose();
  virtual void NotifyOpen();

private:
  bool ReplaceLink(const std::string& service, const std::string& topic);
  bool ConnectTo(HSZ service, HSZ topic);
  void StartItemAdvises();
  void ClearItemLinks();
  TDdeCliItem* FindItemLink(TComponent* linked) const;
  bool HoldsItemLink(const TDdeCliItem* link) const;
  void AddItemLink(TComponent* linked);
  void RemoveItemLink(TComponent* linked);
  // Takes the record out of ItemLinks and destroys it.
  void DropItemLink(TDdeCliItem* link);
  void ReadLinkInfo(TReader& reader);
  void WriteLinkInfo(TWriter& writer);
  DWORD Instance() const;
  void ReleaseHeldAtoms();

  std::string ddeService_, ddeTopic_;
  HCONV conversation_ = nullptr;
  CONVINFO info_ = {};
  std::vector<std::unique_ptr<TDdeCliItem>> itemLinks_;
  DdeString linkServiceHandle_, linkTopicHandle_;
  std::vector<ATOM> heldAtoms_;
  UINT dataFormat_ = CF_TEXT;
  TDataMode connectMode_ = ddeAutomatic;
  bool executePending_ = false;
  bool formatChars_ = false;
  TDataAcks dataAcks_ = acksUnknown;
  bool managerGone_ = false;
};
