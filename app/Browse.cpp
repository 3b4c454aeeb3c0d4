#include "app/Browse.h"

#include "app/Unit2.h"
#include "filectrl/DirectoryListBox.h"
#include "ui/Form.h"

namespace {
// Hides the main window, shows the dialog modally and shows the main window again, also when the
// showing fails, so that the user is never left without a window. True after Select.
bool ShowSelectPath(TEdit& field, TLabel& mainVar1) {
  TOpen& open = *velmora::Open;
  open.mainVar1 = &mainVar1;
  // Only this showing's button counts: a closing by the system's keyboard command writes no
  // result, and must not pass for the Select of an earlier showing.
  open.var1->SetCaption("");
  TForm* mainForm = field.ParentForm();
  if (mainForm) mainForm->Hide();
  try {
    open.ShowModal();
  } catch (...) {
    if (mainForm) mainForm->Show();
    throw;
  }
  if (mainForm) mainForm->Show();
  return open.var1->Caption() == "s";
}

std::string FirstCharacterOr(const std::string& text, const char* otherwise) {
  return text.empty() ? std::string(otherwise) : text.substr(0, 1);
}
}  // namespace

void BrowseSource(TEdit& s, TLabel& mainVar1) {
  mainVar1.SetCaption(FirstCharacterOr(s.Text(), "c"));
  if (ShowSelectPath(s, mainVar1)) s.SetText(velmora::Open->dir->Directory());
}

void BrowseDestination(TEdit& d, TLabel& mainVar1, TScriptStore& ini) {
  const std::string text = d.Text();
  mainVar1.SetCaption(FirstCharacterOr(text, "c"));
  if (!text.empty()) velmora::Open->dir->SetDirectory("c:\\");
  if (!ShowSelectPath(d, mainVar1)) return;
  std::string chosen = velmora::Open->dir->Directory();
  if (!chosen.empty() && chosen.back() == '\\') chosen.pop_back();
  d.SetText(chosen + ini.Line(0));
}
