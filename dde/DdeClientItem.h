#pragma once
// Linked items of a client conversation: each keeps a warm advise link with the server and
// puts the item's text into the lines of the component that asked for it.
#include <windows.h>
#include <ddeml.h>

#include <string>

#include "dde/DdeHandles.h"
#include "ui/Control.h"
#include "platform/Strings.h"

class TDdeClientConv;
class TDdeLinkedItem;

class TDdeCliItem {
public:
  explicit TDdeCliItem(TDdeClientConv* conversation);
  ~TDdeCliItem();
  TDdeCliItem(const TDdeCliItem&) = delete;
  TDdeCliItem& operator=(const TDdeCliItem&) = delete;

  const std::string& Item() const { return item_; }
  HSZ ItemHandle() const { return itemHandle_.Get(); }
  TDdeLinkedItem* Linked() const { return linked_; }
  void SetLinked(TDdeLinkedItem* linked) { linked_ = linked; }

  bool SetItemName(const std::string& name);
  bool StartAdvise();
  bool StopAdvise();
  void ReleaseItemHandle();
  // The manager is gone with DDEML: the handle is already freed.
  void ForgetItemHandle() { itemHandle_.Drop(); }
  bool RefreshData();
  void StoreData(HDDEDATA data);

private:
  std::string item_;
  DdeString itemHandle_;
  TDdeClientConv* conversation_;  // not owned: it owns this record
  TDdeLinkedItem* linked_ = nullptr;  // not owned: the link is dropped when it goes
};

// A component showing one server item's text, supplied by its ClientConv. It and its
// conversation tell each other when they go: a linked item that goes takes its link with it; a
// conversation that goes leaves the item name and the last text as they were.
class TDdeLinkedItem : public TComponent {
public:
  explicit TDdeLinkedItem(TComponent* owner) : TComponent(owner) {}
  ~TDdeLinkedItem() override;

  TStringList Lines;
  TDdeClientConv* ClientConv() const { return clientConv_; }
  // Linking to a conversation asks it for the present item name.
  void SetClientConv(TDdeClientConv* conv);
  const std::string& ItemName() const { return itemName_; }
  void SetItemName(const std::string& name);
  TNotifyEvent OnChange;
  void NotifyChange();
  void Notification(TComponent* component, TOperation operation) override;

private:
  TDdeClientConv* clientConv_ = nullptr;  // not owned; cleared when it goes
  std::string itemName_;
};
