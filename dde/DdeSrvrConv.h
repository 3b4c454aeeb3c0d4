#pragma once
// The record the manager keeps for each conversation a client holds with this program.
#include <windows.h>
#include <ddeml.h>

#include <string>
#include <vector>

#include "dde/DdeHandles.h"
#include "ui/Component.h"

class TForm;
class TDdeServerConv;
class TDdeSrvrConv;

// One advise link of a client on a served item.
class TDdeSrvrItem : public TComponent {
public:
  explicit TDdeSrvrItem(TDdeSrvrConv* conversation);
  TDdeSrvrConv* Conversation() const { return conversation_; }
  const std::string& ItemName() const { return itemName_; }
  HSZ ItemHandle() const { return itemHandle_.Get(); }
  void SetAdviseName(const std::string& name);

private:
  TDdeSrvrConv* conversation_;  // not owned: the owner
  std::string itemName_;
  DdeString itemHandle_;
};

class TDdeSrvrConv : public TComponent {
public:
  TDdeSrvrConv(TComponent* owner, HCONV conversation, const std::string& topic);
  ~TDdeSrvrConv() override;

  const std::string& Topic() const { return topic_; }
  HSZ TopicHandle() const { return topicHandle_.Get(); }
  HCONV Conversation() const { return conversation_; }
  void ClearConversation() { conversation_ = nullptr; }
  TForm* Window() const { return window_; }
  void SetWindow(TForm* f) { window_ = f; }
  TDdeServerConv* ServerConv() const { return serverConv_; }
  void SetServerConv(TDdeServerConv* c) { serverConv_ = c; }
  const std::vector<TDdeSrvrItem*>& Advises() const { return advises_; }
  TDdeSrvrItem* FindAdviseByName(const std::string& name) const;
  TDdeSrvrItem* FindAdviseByHandle(HSZ item) const;

  // Server-side transactions of the conversation.
  bool StartServerAdvise(UINT format, HSZ item);
  HDDEDATA ServeItemData(UINT format, HSZ item);
  void StopServerAdvise(HSZ item);
  HDDEDATA PokeItem(UINT format, HSZ item, HDDEDATA data);
  HDDEDATA Execute(HDDEDATA data);
  void Notification(TComponent* component, TOperation operation) override;

private:
  std::string topic_;
  DdeString topicHandle_;
  TForm* window_ = nullptr;             // not owned; cleared when that window goes
  TDdeServerConv* serverConv_ = nullptr;  // not owned; cleared when that component goes
  HCONV conversation_;
  std::vector<TDdeSrvrItem*> advises_;  // owned (as components of this record)
};
