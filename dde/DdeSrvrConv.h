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
class TDdeServerItem;
class TDdeSrvrConv;

// One advise link of a client on a served item.
class TDdeSrvrItem : public TComponent {
public:
  // Owned by its conversation record.
  TDdeSrvrItem(TDdeSrvrConv* conversation, TDdeServerItem* serverItem);
  const std::string& ItemName() const { return itemName_; }
  HSZ ItemHandle() const { return itemHandle_.Get(); }
  void SetAdviseName(const std::string& name);
  // The served item's text for this link, in CF_TEXT only; 0 once the item is gone.
  HDDEDATA AdviseText(UINT format);
  void Notification(TComponent* component, TOperation operation) override;

private:
  std::string itemName_;
  DdeString itemHandle_;
  TDdeServerItem* serverItem_;  // not owned; cleared when it is destroyed
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
  // The server item of that name (case included) on this conversation's window, looked for
  // through the window's components and, recursively, those of its windowed controls.
  TDdeServerItem* FindServerItem(const std::string& name) const;

  // Server-side transactions of the conversation.
  bool StartServerAdvise(UINT format, HSZ item);
  HDDEDATA ServeItemData(UINT format, HSZ item);
  void StopServerAdvise(HSZ item);
  HDDEDATA PokeItem(UINT format, HSZ item, HDDEDATA data);
  HDDEDATA Execute(HDDEDATA data);
  void Notification(TComponent* component, TOperation operation) override;

private:
  TDdeServerItem* FindServerItemIn(const TComponent* container, const std::string& name) const;

  std::string topic_;
  DdeString topicHandle_;
  TForm* window_ = nullptr;             // not owned; cleared when that window goes
  TDdeServerConv* serverConv_ = nullptr;  // not owned; cleared when that component goes
  HCONV conversation_;
  std::vector<TDdeSrvrItem*> advises_;  // owned (as components of this record)
};
