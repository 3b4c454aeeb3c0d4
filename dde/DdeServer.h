#pragma once
// A served topic of the program's own: its component name is the topic.
#include <windows.h>
#include <ddeml.h>

#include <functional>

#include "ui/Control.h"
#include "ui/Strings.h"

using TMacroEvent = std::function<void(TComponent& sender, TStringList& msg)>;

class TDdeServerConv : public TComponent {
public:
  explicit TDdeServerConv(TComponent* owner);
  ~TDdeServerConv() override;

  TNotifyEvent OnOpen, OnClose;
  TMacroEvent OnExecuteMacro;

  // The command text of an execute, handed to OnExecuteMacro line by line.
  DWORD ExecuteText(HDDEDATA data);
  virtual void Open();
  virtual void Close();
};
