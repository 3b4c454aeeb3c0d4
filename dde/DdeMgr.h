#pragma once
// The process's one DDE instance: its callback, the program's own service name, which
// connections it accepts, and where each transaction goes.
#include <windows.h>
#include <ddeml.h>

#include <string>
#include <vector>

#include "dde/DdeHandles.h"
#include "ui/Component.h"
#include "ui/DeferredErrors.h"
#include "platform/Errors.h"

class TForm;
class TDdeClientConv;
class TDdeServerConv;
class TDdeSrvrConv;

class EDdeError : public Exception {
  using Exception::Exception;
};

class TDdeMgr : public TComponent {
public:
  explicit TDdeMgr(TComponent* owner);
  ~TDdeMgr() override;

  DWORD InstanceId() const { return instanceId_; }
  const std::vector<TDdeSrvrConv*>& ServerConversations() const { return serverConversations_; }

  void SetServiceName(const std::string& path);
  void ReleaseServiceName();
  [[noreturn]] void RaiseDdeError();

  void AddServerConvComponent(TDdeServerConv* c);
  void RemoveServerConvComponent(TDdeServerConv* c);
  TDdeServerConv* FindServerConvComponent(const std::string& name) const;
  TForm* FindFormByCaption(const std::string& caption) const;
  void PostItemAdvise(const std::string& topic, const std::string& item);

  bool IsTopicServed(HSZ service, HSZ topic);
  HDDEDATA ListServedTopic(HSZ service, HSZ topic);
  void OpenServerConversation(HCONV conversation, HSZ topic);
  void EndServerConversation(TDdeSrvrConv* record);

  // Client conversations tell the manager they exist, so that the manager's end closes any
  // still open before DDEML goes, and none touches the manager afterwards.
  void AddClientConv(TDdeClientConv* c);
  void RemoveClientConv(TDdeClientConv* c);

  static HDDEDATA CALLBACK DdeCallback(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2,
                                       HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);

private:
  HDDEDATA Dispatch(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2, HDDEDATA data);

  DdeString serviceHandle_;
  std::vector<TDdeSrvrConv*> serverConversations_;     // owned (as components of the manager)
  std::vector<TDdeServerConv*> serverConvComponents_;  // not owned; each removes itself
  std::vector<TDdeClientConv*> clientConvs_;           // not owned; each removes itself
  DWORD instanceId_ = 0;
  DeferredErrors deferredErrors_;  // errors of the callback, shown after it has returned
};

extern TDdeMgr* DdeManager;

// The program entry's DDE step: the manager, owned by the application object.
void InitDdeManager();