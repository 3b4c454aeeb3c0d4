#pragma once
// What the program serves: a topic of its own (a TDdeServerConv, whose component name is the
// topic) and items (TDdeServerItem) on such a topic or on the caption topic of their window.
#include <windows.h>
#include <ddeml.h>

#include <functional>
#include <string>

#include "ui/Control.h"
#include "platform/Strings.h"

using TMacroEvent = std::function<void(TComponent& sender, TStringList& msg)>;

class TDdeServerConv : public TComponent {
public:
  explicit TDdeServerConv(TComponent* owner);
  ~TDdeServerConv() override;

  TNotifyEvent OnOpen, OnClose;
  TMacroEvent OnExecuteMacro;

  // The command text of an execute, handed to OnExecuteMacro line by line. DDE_FACK also when
  // nothing handles it; 0 when the data cannot be read.
  DWORD ExecuteText(HDDEDATA data);
  virtual void Open();
  virtual void Close();
};

class TDdeServerItem : public TComponent {
public:
  explicit TDdeServerItem(TComponent* owner) : TComponent(owner) {}

  const TStringList& Lines() const { return lines_; }
  // Takes the lines only when their text differs, case included; then the change is told.
  void SetLines(const TStringList& lines);
  // The first line, or empty.
  std::string Text() const;
  // One line replaces all; the change is told even when the text is the same.
  void SetText(const std::string& value);
  TDdeServerConv* ServerConv() const { return serverConv_; }
  void SetServerConv(TDdeServerConv* conv);

  TNotifyEvent OnChange, OnPokeData;

  // Fires OnChange and tells the clients advising this item.
  void ItemChanged();
  // A client's poke: the data's text becomes the lines. DDE_FACK, or 0 when it cannot be read.
  DWORD PokeText(HDDEDATA data);
  void Notification(TComponent* component, TOperation operation) override;

protected:
  virtual void Change();

private:
  TStringList lines_;
  TDdeServerConv* serverConv_ = nullptr;  // not owned; cleared when it is destroyed
};
